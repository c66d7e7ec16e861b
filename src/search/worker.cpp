#include "search/worker.h"

#include "search/results_page.h"
#include "search/row_count.h"
#include "search/site_catalogue.h"
#include "text/codepage.h"
#include "text/numbers.h"

#include <exception>

namespace shareseek {
namespace {

using namespace control;
using Clock = std::chrono::steady_clock;

// The keyword is read from the box anew for every page.
ResultsPage fetchPage(SearchSession& session, RegexMatcher& matcher, const WorkerSite& site,
                      int pageOffset) {
    return fetchResultsPage({.searchHost = session.environment.searchHost,
                             .shareHost = site.shareHost,
                             .keyword = session.controls->text(编辑框1),
                             .pageOffset = pageOffset,
                             .limits = session.environment.limits},
                            matcher);
}

void appendHits(SearchSession& session, const std::vector<Hit>& hits) {
    Controls& controls = *session.controls;
    for (const Hit& hit : hits) {
        const std::int32_t number = session.rowCounter.fetch_add(1) + 1;
        const int row = controls.appendRow(超级列表框1);
        controls.setCell(超级列表框1, row, 0, decimalText(number));
        controls.setCell(超级列表框1, row, 1, hit.title);
        controls.setCell(超级列表框1, row, 2, hit.address);
        controls.repaintNow(超级列表框1);
        showRowCount(controls);
    }
}

// The first page without the lock; then, holding it, its rows, every further page and the
// end steps.
void searchSite(SearchSession& session, const Text& parameter, const OutcomeSlot& slot,
                SiteOutcome& outcome) {
    RegexMatcher matcher;
    const WorkerSite site = parseWorkerParameter(parameter);
    const Clock::time_point start = Clock::now();
    const auto counted = [&](const ResultsPage& page) {
        ++outcome.pages;
        outcome.rows += static_cast<int>(page.hits.size());
        outcome.elapsed =
            std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
        slot.write(outcome);
    };

    int pageOffset = 0;
    ResultsPage page = fetchPage(session, matcher, site, pageOffset);

    const std::lock_guard lock(session.resultLock);
    appendHits(session, page.hits);
    counted(page);
    while (page.offersNextPage() && outcome.pages < maxPagesPerSite) {
        pageOffset += hitsPerPage;
        page = fetchPage(session, matcher, site, pageOffset);
        appendHits(session, page.hits);
        counted(page);
    }
    judgeLastPage(page, outcome);
    slot.write(outcome);

    Controls& controls = *session.controls;
    showRowCount(controls);
    controls.setEnabled(编辑框2, true);
    controls.setVisible(超级按钮1, true);
}

// The end steps of a worker that met an error, so that the filter is usable again.
void endAfterError(SearchSession& session) noexcept {
    try {
        const std::lock_guard lock(session.resultLock);
        showRowCount(*session.controls);
        session.controls->setEnabled(编辑框2, true);
        session.controls->setVisible(超级按钮1, true);
    } catch (...) {
        // Nothing more can be done for this site; the others go on.
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

// A worker thread owns no windows and has no window messages of its own, so it has nothing
// to yield to between rows.
void runSearchWorker(std::shared_ptr<SearchSession> session, Text parameter, OutcomeSlot slot) {
    const RunningWorker running(*session);
    SiteOutcome outcome = slot.table ? slot.table->at(slot.entry) : SiteOutcome{};
    try {
        searchSite(*session, parameter, slot, outcome);
    } catch (const std::exception& error) {
        outcome.end = SiteEnd::aborted;
        outcome.reason = utf8ToText(error.what());
        slot.write(outcome);
        endAfterError(*session);
    } catch (...) {
        outcome.end = SiteEnd::aborted;
        outcome.reason = literal(u8"未知错误");
        slot.write(outcome);
        endAfterError(*session);
    }
}

} // namespace shareseek
