// The raw response headers as the exchange builds and reads them, from arbitrary header lines.
#include "text/text_ops.h"
#include "web/response_headers.h"

#include <cstdlib>

using namespace shareseek;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> lines;
    for (std::size_t begin = 0; begin <= bytes.size();) {
        const std::size_t end = std::min(bytes.find('\n', begin), bytes.size());
        lines.push_back(bytes.substr(begin, end - begin));
        begin = end + 1;
    }
    const Text raw = rawHeaderText(lines);
    if (raw.size() > static_cast<std::size_t>(rawHeaderCapacity))
        std::abort();
    readResponseHeaders(raw);
    readResponseHeaders(Text(bytes));
    return 0;
}
