// Marker extraction on arbitrary subjects and markers.
#include "text/markers.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>

using namespace shareseek;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    const Text startMarker(in.ConsumeRandomLengthString(12));
    const Text endMarker(in.ConsumeRandomLengthString(12));
    const int start = in.ConsumeIntegralInRange(-2, 40);
    const bool caseSensitive = in.ConsumeBool();
    const Text subject(in.ConsumeRemainingBytesAsString());
    if (extractBetween(subject, startMarker, endMarker, start, caseSensitive).size() >
        subject.size())
        std::abort();
    return 0;
}
