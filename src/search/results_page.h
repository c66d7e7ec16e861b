#pragma once

#include "search/site_outcome.h"
#include "search/todays_layout.h"
#include "text/regex_matcher.h"
#include "web/http_exchange.h"

#include <optional>
#include <string>
#include <vector>

// One results page of one site as fetched and read, and what it says of that site's search:
// what the window's workers and the command line both do with every page.
namespace shareseek {

struct ResultsPage {
    Text text;
    std::vector<Hit> hits;
    bool nextPage = false; // the page holds the next-page marker
    ExchangeStatus status;
    std::optional<Text> verification; // the verification page's title

    // Whether the site's search goes on after this page.
    bool offersNextPage() const;
};

// Where and how a page is asked for.
struct PageRequest {
    std::string searchHost;
    Text shareHost;
    Text keyword;
    int pageOffset = 0;
    HttpLimits limits;
    std::optional<Text> proxyAddress;
};

ResultsPage fetchResultsPage(const PageRequest& request, RegexMatcher& matcher);

// The same in two steps: the exchange alone (all the network time), then the reading.
FetchResult fetchResultsBody(const PageRequest& request);
ResultsPage readResultsPage(FetchResult fetched, RegexMatcher& matcher);

// How a site's search ended, by the last page fetched: `outcome.end` and `outcome.reason`.
void judgeLastPage(const ResultsPage& page, SiteOutcome& outcome);

} // namespace shareseek
