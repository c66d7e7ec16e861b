// Today's results pages, verification pages and character references, read from arbitrary
// bodies: what a hostile engine could send when the fixed pattern finds nothing. Every title
// must stay a well-formed text, and every hit's address must be a piece of the page.
#include "search/page_extraction.h"
#include "search/todays_layout.h"
#include "search/verification_page.h"

#include <cstdlib>

using namespace shareseek;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const Bytes body(reinterpret_cast<const char*>(data), size);
    const Text page = decodePage(body);
    for (const Hit& hit : readTodaysLayout(page)) {
        if (page.view().find(hit.address.view()) == std::string_view::npos)
            std::abort(); // an address that is not in the page
        for (const char c : hit.title.view())
            if (c == '\n' || c == '\t')
                std::abort(); // white space runs are one space
    }
    decodeCharacterReferences(page);
    pageTitle(page);
    verificationTitle(page, Text("http://www.baidu.com/s?wd=x"));
    looksLikeResultsPage(page);
    return 0;
}
