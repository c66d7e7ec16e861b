#pragma once

#include "search/todays_layout.h"
#include "text/regex_matcher.h"
#include "text/text.h"

#include <vector>

// Turns a results page of the search engine into hits (title and address of each result)
// and tells whether the engine offers a further page. It relies on the engine's exact
// layout: a fixed pattern picks out each result's link, a fixed marker the next-page link.
namespace shareseek {

// The body up to its first zero byte, converted from UTF-8 to code page 936.
Text decodePage(const Bytes& body);

// The 78-byte pattern of one result link: group 1 the address, group 2 the title.
const Text& extractionPattern();
// `class="n">下一页`
const Text& nextPageMarker();

// Runs `matcher` over the page and returns the number of hits.
int extractHits(RegexMatcher& matcher, const Text& page);
// Hit `hit` (from 1) of the last extraction: the title without "<em>" and "</em>"...
Text hitTitle(const RegexMatcher& matcher, int hit);
// ...and the address, unchanged.
Text hitAddress(const RegexMatcher& matcher, int hit);

bool hasNextPage(const Text& page);

// Every hit of the page: read by the fixed pattern alone when it finds any, else as today's
// layout (see readTodaysLayout).
std::vector<Hit> readHits(RegexMatcher& matcher, const Text& page);

// Whether a page without hits is still a results page (one that found nothing), rather than
// a page of some other kind.
bool looksLikeResultsPage(const Text& page);

} // namespace shareseek
