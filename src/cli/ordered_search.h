#pragma once

#include "search/site_outcome.h"
#include "text/text.h"
#include "web/http_limits.h"

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// The window's search without the window, and faster where it may be: every site's first
// page is fetched at once; the sites then give their rows one after another, in the order
// their first pages arrived, each site's rows in page order, numbered across sites, as in
// the window. While one site gives its rows, the further pages of the sites waiting may be
// fetched ahead, at most `parallel` at a time, and held until their site's turn: the rows
// are the same, only sooner. With `parallel` 1 only the site whose turn it is fetches, as
// the window does.
namespace shareseek::cli {

struct SearchSite {
    int siteIndex = 0;
    Text caption; // the check box's caption, or the extra host
    Text shareHost;
};

struct SearchPlan {
    std::string searchHost;
    Text keyword;
    std::vector<SearchSite> sites;
    int maxPages = 0;    // per site, at most the page cap
    int parallel = 1;    // further pages in flight at once
    bool dedupe = false; // leave out a row whose address was already given
    HttpLimits limits;
    std::optional<Text> proxyAddress;
};

struct Row {
    int number = 0;
    Text site; // the site's caption
    Text title;
    Text address;
};

struct Progress {
    int sitesDone = 0;
    int sitesRunning = 0;
    int rows = 0;
    int pages = 0;
    std::chrono::milliseconds elapsed{0};
};

struct SearchCallbacks {
    // Each row as soon as it is known, in order. Returning false stops giving rows (the
    // reader has gone); the search still ends cleanly.
    std::function<bool(const Row&)> row;
    // Now and then, and whenever a page has been given.
    std::function<void(const Progress&)> progress;
};

// Runs the whole search and returns every site's outcome, in the order of `plan.sites`.
std::vector<SiteOutcome> runOrderedSearch(const SearchPlan& plan, const SearchCallbacks& callbacks);

} // namespace shareseek::cli
