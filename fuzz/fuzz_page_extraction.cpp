// Page decoding and hit extraction on arbitrary bodies.
#include "search/page_extraction.h"

using namespace shareseek;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const Bytes body(reinterpret_cast<const char*>(data), size);
    const Text page = decodePage(body);
    RegexMatcher matcher;
    const int hits = extractHits(matcher, page);
    for (int hit = 1; hit <= hits; ++hit) {
        hitTitle(matcher, hit);
        hitAddress(matcher, hit);
    }
    hasNextPage(page);
    return 0;
}
