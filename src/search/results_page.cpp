#include "search/results_page.h"

#include "search/outcome_text.h"
#include "search/page_extraction.h"
#include "search/site_catalogue.h"
#include "search/verification_page.h"

namespace shareseek {

bool ResultsPage::offersNextPage() const {
    // A verification page ends the site's search: asking again would only be refused again.
    return nextPage && !verification;
}

FetchResult fetchResultsBody(const PageRequest& request) {
    return fetchWithStatus(resultsPageAddress(request.searchHost, request.shareHost,
                                              encodeKeyword(request.keyword, true, true),
                                              request.pageOffset),
                           request.limits, request.proxyAddress);
}

ResultsPage readResultsPage(FetchResult fetched, RegexMatcher& matcher) {
    ResultsPage page;
    page.text = decodePage(fetched.body);
    page.hits = readHits(matcher, page.text);
    page.nextPage = hasNextPage(page.text);
    page.status = std::move(fetched.status);
    if (page.hits.empty() && !page.nextPage)
        page.verification = verificationTitle(page.text, page.status.finalAddress);
    return page;
}

ResultsPage fetchResultsPage(const PageRequest& request, RegexMatcher& matcher) {
    return readResultsPage(fetchResultsBody(request), matcher);
}

void judgeLastPage(const ResultsPage& page, SiteOutcome& outcome) {
    if (page.verification) {
        outcome.end = SiteEnd::verification;
        outcome.reason = *page.verification;
    } else if (!page.status.succeeded()) {
        outcome.end = SiteEnd::networkFailure;
        outcome.reason = exchangeFailureText(page.status);
    } else if (page.nextPage) {
        outcome.end = SiteEnd::pageCap;
    } else if (page.hits.empty() && !looksLikeResultsPage(page.text)) {
        outcome.end = SiteEnd::unreadablePage;
    } else {
        outcome.end = SiteEnd::noNextPage;
    }
}

} // namespace shareseek
