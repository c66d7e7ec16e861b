#include "search/page_extraction.h"

#include "text/codepage.h"
#include "text/text_ops.h"

namespace shareseek {

Text decodePage(const Bytes& body) {
    const std::string_view bytes(body.data(), std::min(body.find('\0'), body.size()));
    return utf8ToText(bytes);
}

const Text& extractionPattern() {
    static const Text pattern("href=\"(.*?)\""
                              "\n"
                              "\t\t"
                              "\n"
                              "\t\t"
                              "            "
                              "target=\"_blank\""
                              "\n"
                              "        "
                              "\t\t"
                              "\n"
                              "\t\t"
                              ">(.*?)</a></h3><div");
    return pattern;
}

const Text& nextPageMarker() {
    static const Text marker = literal(u8"class=\"n\">下一页");
    return marker;
}

int extractHits(RegexMatcher& matcher, const Text& page) {
    matcher.create(extractionPattern(), page);
    return matcher.matchCount();
}

Text hitTitle(const RegexMatcher& matcher, int hit) {
    const SubstituteOptions exact{.matchCase = true};
    const Text withoutOpening =
        substitute(matcher.submatchText(hit, 2), Text("<em>"), Text(), exact);
    return substitute(withoutOpening, Text("</em>"), Text(), exact);
}

Text hitAddress(const RegexMatcher& matcher, int hit) {
    return matcher.submatchText(hit, 1);
}

bool hasNextPage(const Text& page) {
    return searchForward(page, nextPageMarker()) > 0;
}

std::vector<Hit> readHits(RegexMatcher& matcher, const Text& page) {
    const int count = extractHits(matcher, page);
    if (count == 0)
        return readTodaysLayout(page);
    std::vector<Hit> hits;
    hits.reserve(static_cast<std::size_t>(count));
    for (int hit = 1; hit <= count; ++hit) {
        Text title = hitTitle(matcher, hit);
        hits.push_back({std::move(title), hitAddress(matcher, hit)});
    }
    return hits;
}

bool looksLikeResultsPage(const Text& page) {
    return hasNextPage(page) || searchForward(page, Text("id=\"content_left\"")) > 0 ||
           searchForward(page, literal(u8"没有找到")) > 0;
}

} // namespace shareseek
