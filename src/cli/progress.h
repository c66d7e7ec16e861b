#pragma once

#include "cli/ordered_search.h"

#include <chrono>
#include <vector>

// Progress on standard error while a search runs, for a person at a terminal: one line that
// updates in place, then every site's outcome in a short table.
namespace shareseek::cli {

class ProgressLine {
public:
    // Shows nothing unless `enabled` (standard error is a terminal and -q was not given).
    explicit ProgressLine(bool enabled) : enabled_(enabled) {}

    void show(const Progress& progress);
    void finish(const std::vector<SiteOutcome>& outcomes);

private:
    bool enabled_;
    std::chrono::steady_clock::time_point lastShown_{};
};

} // namespace shareseek::cli
