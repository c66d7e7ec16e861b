#pragma once

#include "seams/control_names.h"
#include "seams/controls.h"
#include "search/endpoints.h"
#include "search/site_catalogue.h"
#include "search/site_outcome.h"
#include "text/text.h"
#include "web/http_limits.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

namespace shareseek {

// A worker stops paging here even when every page offers a next one: the real engine serves
// at most 76 pages of 50, and a page that always shows the marker would otherwise hold the
// result lock, and so every other site's rows, forever.
inline constexpr int maxPagesPerSite = 200;

// Where searches go and how long an exchange may take.
struct SearchEnvironment {
    std::string searchHost{endpoints::searchHost};
    HttpLimits limits;
};

// The state all searches share for the whole run. Workers hold it by shared pointer, so it
// (the result lock above all) lives as long as the last of them.
struct SearchSession {
    explicit SearchSession(std::shared_ptr<Controls> window, SearchEnvironment where = {})
        : controls(std::move(window)), environment(std::move(where)) {}

    std::shared_ptr<Controls> controls;
    SearchEnvironment environment;

    // Numbers the rows; reset by the dispatch without the lock, so it is atomic.
    std::atomic<std::int32_t> rowCounter{0};
    // Taken by one worker at a time while it appends its rows; never by the window's thread.
    std::mutex resultLock;
    // The user's own share hosts separated by ";"; read and written on the window's thread.
    Text extraHosts;
    // The site check boxes in site-index order.
    std::array<ControlName, builtInSiteCount> checkBoxTable{};
    // Workers still running, so that the end of the program can tell.
    std::atomic<int> runningWorkers{0};

    // The outcomes of the latest search; each search starts a table of its own.
    std::shared_ptr<OutcomeTable> outcomes() const {
        std::lock_guard lock(outcomesMutex_);
        return outcomes_;
    }
    std::shared_ptr<OutcomeTable> startOutcomes() {
        auto table = std::make_shared<OutcomeTable>();
        std::lock_guard lock(outcomesMutex_);
        outcomes_ = table;
        return table;
    }

private:
    mutable std::mutex outcomesMutex_;
    std::shared_ptr<OutcomeTable> outcomes_ = std::make_shared<OutcomeTable>();
};

// Fills the check-box table with the site check boxes in site-index order.
inline void fillCheckBoxTable(SearchSession& session) {
    for (const Site& site : siteCatalogue())
        session.checkBoxTable[static_cast<std::size_t>(site.index - 1)] = site.checkBox;
}

} // namespace shareseek
