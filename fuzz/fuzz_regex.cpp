// The matcher with an arbitrary pattern and subject: invalid patterns fail quietly, runaway
// ones end at the bounds, and every match and group reads back inside the subject.
#include "text/regex_matcher.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>

using namespace shareseek;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    const Text pattern(in.ConsumeRandomLengthString(64));
    const bool caseSensitive = in.ConsumeBool(), multiLine = in.ConsumeBool(),
               global = in.ConsumeBool(), quoteEscape = in.ConsumeBool();
    const Text subject(in.ConsumeRemainingBytesAsString());
    RegexMatcher matcher;
    const bool ran =
        matcher.create(pattern, subject, caseSensitive, multiLine, global, quoteEscape);
    if (!ran && matcher.matchCount() != 0)
        std::abort();
    const int matches = std::min(matcher.matchCount(), 50);
    const int groups = std::min(matcher.submatchCount(), 8);
    for (int m = 0; m <= matches + 1; ++m) {
        int position = 0;
        matcher.matchText(m, &position);
        if (position != -2 && (position < 0 || static_cast<size_t>(position) > subject.size()))
            std::abort();
        for (int g = 0; g <= groups + 1; ++g)
            matcher.submatchText(m, g, &position);
    }
    matcher.patternText();
    matcher.copy().replace(Text("<$1>"));
    return 0;
}
