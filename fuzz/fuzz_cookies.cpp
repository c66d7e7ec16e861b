// Cookie merging on arbitrary cookie texts: the merged text never holds a space and never
// holds an item twice.
#include "text/text_ops.h"
#include "web/cookies.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>
#include <set>

using namespace shareseek;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    Text cookieText(in.ConsumeRandomLengthString(256));
    Text received(in.ConsumeRemainingBytesAsString());
    const Text merged = mergeCookies(cookieText, received);
    if (merged != cookieText || searchForward(received, Text(" ")) > 0)
        std::abort();
    std::set<Text> items;
    for (const Text& item : separate(merged, Text("; ")))
        if (!items.insert(item).second)
            std::abort();
    return 0;
}
