// Address decomposition on arbitrary addresses.
#include "web/address.h"

#include <cstdlib>

using namespace shareseek;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const Text address(std::string_view(reinterpret_cast<const char*>(data), size));
    hostOf(address, true, true);
    hostOf(address, true, false);
    portOf(address);
    const Text path = objectPathOf(address);
    if (path.empty() || path.byteAt(0) != '/')
        std::abort();
    return 0;
}
