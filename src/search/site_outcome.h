#pragma once

#include "text/text.h"

#include <chrono>
#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

// What one site's search came to, filled by its worker as it goes, so that the window and
// the command line can say why a site found nothing. Read without the result lock.
namespace shareseek {

enum class SiteEnd {
    running,
    noNextPage,     // the last page offered no further one
    pageCap,        // the worker stopped at the page cap
    verification,   // the engine asked for verification instead of results
    unreadablePage, // a page that is no results page we can read
    networkFailure, // the exchange failed (the reason beside it)
    aborted,        // the worker could not go on (it could not start, or met an error)
};

struct SiteOutcome {
    int siteIndex = 0;
    Text caption; // the check box's caption, or the host of an extra site
    Text host;
    int pages = 0; // pages fetched
    int rows = 0;  // rows added
    std::chrono::milliseconds elapsed{0};
    SiteEnd end = SiteEnd::running;
    // The verification page's title, or the network failure said in words.
    Text reason;
};

// The outcomes of one search, one entry a site in the order its workers started. Workers
// write their own entry; anyone may read a copy.
class OutcomeTable {
public:
    // A new entry; returns its number.
    std::size_t add(SiteOutcome outcome);
    void update(std::size_t entry, const SiteOutcome& outcome);
    // A copy of one entry; the empty outcome for a number that is none.
    SiteOutcome at(std::size_t entry) const;
    std::vector<SiteOutcome> snapshot() const;

private:
    mutable std::mutex mutex_;
    std::vector<SiteOutcome> outcomes_;
};

// Where a worker writes what it came to.
struct OutcomeSlot {
    std::shared_ptr<OutcomeTable> table;
    std::size_t entry = 0;
    void write(const SiteOutcome& outcome) const {
        if (table)
            table->update(entry, outcome);
    }
};

// True for the ends that say a site failed rather than found what there was.
inline bool siteFailed(SiteEnd end) {
    return end == SiteEnd::verification || end == SiteEnd::networkFailure;
}

} // namespace shareseek
