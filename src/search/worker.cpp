#include "search/worker.h"

#include "search/page_extraction.h"
#include "search/row_count.h"
#include "search/site_catalogue.h"
#include "text/codepage.h"
#include "text/numbers.h"
#include "web/http_exchange.h"

namespace shareseek {
namespace {

using namespace control;

// One results page: the keyword is read from the box anew for every page.
Text fetchPage(SearchSession& session, const WorkerSite& site, int pageOffset) {
    const Text keyword = session.controls->text(编辑框1);
    const Text address = resultsPageAddress(session.environment.searchHost, site.shareHost,
                                            encodeKeyword(keyword, true, true), pageOffset);
    return decodePage(fetch(address, session.environment.limits));
}

void appendHits(SearchSession& session, const RegexMatcher& matcher, int hits) {
    Controls& controls = *session.controls;
    for (int hit = 1; hit <= hits; ++hit) {
        const std::int32_t number = session.rowCounter.fetch_add(1) + 1;
        const int row = controls.appendRow(超级列表框1);
        controls.setCell(超级列表框1, row, 0, decimalText(number));
        controls.setCell(超级列表框1, row, 1, hitTitle(matcher, hit));
        controls.setCell(超级列表框1, row, 2, hitAddress(matcher, hit));
        controls.repaintNow(超级列表框1);
        showRowCount(controls);
    }
}

// The one who starts a worker counts it among the running ones; the worker uncounts itself
// when its last step is done.
struct RunningWorker {
    explicit RunningWorker(SearchSession& s) : session(s) {}
    ~RunningWorker() { --session.runningWorkers; }
    SearchSession& session;
};

} // namespace

// The original yielded to pending window messages before each row; a worker thread here owns
// no windows and has no messages of its own, so there is nothing to yield to.
void runSearchWorker(std::shared_ptr<SearchSession> session, Text parameter) {
    const RunningWorker running(*session);
    RegexMatcher matcher;
    const WorkerSite site = parseWorkerParameter(parameter);
    Controls& controls = *session->controls;

    int pageOffset = 0;
    Text page = fetchPage(*session, site, pageOffset);
    int hits = extractHits(matcher, page);

    const std::lock_guard lock(session->resultLock);
    appendHits(*session, matcher, hits);
    for (int pages = 1; hasNextPage(page) && pages < maxPagesPerSite; ++pages) {
        pageOffset += hitsPerPage;
        page = fetchPage(*session, site, pageOffset);
        hits = extractHits(matcher, page);
        appendHits(*session, matcher, hits);
    }

    showRowCount(controls);
    controls.setEnabled(编辑框2, true);
    controls.setVisible(超级按钮1, true);
}

} // namespace shareseek
