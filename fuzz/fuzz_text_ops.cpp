// The text operations on arbitrary bytes: no crash, no read out of bounds, and the results
// keep the properties every caller relies on.
#include "text/numbers.h"
#include "text/text_ops.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>

using namespace shareseek;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    const Text sought(in.ConsumeRandomLengthString(16));
    const Text replacement(in.ConsumeRandomLengthString(16));
    const int start = in.ConsumeIntegralInRange(-4, 64);
    const int count = in.ConsumeIntegralInRange(-2, 8);
    const bool flag = in.ConsumeBool();
    const Text subject(in.ConsumeRemainingBytesAsString());

    const int forward = searchForward(subject, sought, start, flag);
    if (forward != -1 && (forward < 1 || static_cast<size_t>(forward) > subject.size()))
        std::abort();
    const int backward = searchBackward(subject, sought, start, flag);
    if (backward != -1 && (backward < 1 || static_cast<size_t>(backward) > subject.size()))
        std::abort();
    substitute(subject, sought, replacement, {.start = start, .count = count, .matchCase = flag});
    for (const Text& piece : separate(subject, sought))
        if (piece.size() > subject.size())
            std::abort();
    if (stripSpaces(subject).size() > subject.size() || dropSpaces(subject).size() > subject.size())
        std::abort();
    if (asciiLower(subject).size() != subject.size())
        std::abort();
    leadingBytes(subject, count * 3);
    trailingBytes(subject, count * 3);
    innerBytes(subject, start, count * 3);
    integerValue(subject);
    integerValue(numericValue(subject));
    decimalText(numericValue(subject));
    hexText(integerValue(subject));
    return 0;
}
