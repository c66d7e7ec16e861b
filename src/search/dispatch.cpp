#include "search/dispatch.h"

#include "search/site_catalogue.h"
#include "search/worker.h"
#include "text/codepage.h"
#include "text/text_ops.h"

#include <exception>
#include <thread>

extern "C" const char shareseek_random_keywords[];

namespace shareseek {

using namespace control;

const Text& randomKeywords() {
    static const Text keywords(shareseek_random_keywords);
    return keywords;
}

void SearchDispatch::startWorker(const Text& parameter, SiteOutcome site) {
    const OutcomeSlot slot{outcomes_, outcomes_->add(site)};
    ++session_->runningWorkers;
    try {
        std::thread(runSearchWorker, session_, parameter, slot).detach();
    } catch (const std::exception& error) {
        // A thread that cannot be started is passed over, and said so; the other sites go on.
        --session_->runningWorkers;
        site.end = SiteEnd::aborted;
        site.reason = literal(u8"无法启动搜索线程（") + utf8ToText(error.what()) + literal(u8"）");
        slot.write(site);
    }
}

void SearchDispatch::startSearch() {
    Controls& controls = *session_->controls;
    controls.deleteAllRows(超级列表框1);
    if (controls.text(编辑框1).empty()) {
        desktop_.showMessage(literal(u8"请输入关键字！"));
        return;
    }
    outcomes_ = session_->startOutcomes();
    for (int site = 1; site <= builtInSiteCount; ++site) {
        if (!controls.ticked(session_->checkBoxTable[static_cast<std::size_t>(site - 1)]))
            continue;
        const Text parameter = buildWorkerParameter(site);
        session_->rowCounter = 0;
        controls.setEnabled(编辑框2, false);
        controls.setVisible(超级按钮1, false);
        const Site& entry = siteCatalogue()[static_cast<std::size_t>(site - 1)];
        startWorker(
            parameter,
            {.siteIndex = site, .caption = literal(entry.caption), .host = Text(entry.shareHost)});
    }
    if (!controls.ticked(选择框1))
        return;
    const TextList hosts = separate(session_->extraHosts, Text(";"));
    for (std::size_t j = 0; j < hosts.size(); ++j) {
        const int site = firstExtraSiteIndex + static_cast<int>(j);
        startWorker(buildWorkerParameter(site, hosts[j]),
                    {.siteIndex = site, .caption = hosts[j], .host = hosts[j]});
    }
}

void SearchDispatch::keywordKeyPressed(int keyCode) {
    if (keyCode == 13)
        startSearch();
}

void SearchDispatch::randomSearch() {
    desktop_.seedRandom(desktop_.tickCount());
    const TextList keywords = separate(randomKeywords(), Text(","));
    if (!keywords.empty()) {
        const int drawn = desktop_.randomBetween(1, static_cast<int>(keywords.size()));
        session_->controls->setText(编辑框1, keywords[static_cast<std::size_t>(drawn - 1)]);
    }
    startSearch();
}

} // namespace shareseek
