#pragma once

#include <chrono>
#include <cstddef>

namespace shareseek {

// Bounds of one HTTP exchange, so that no server can hold a caller forever or fill its
// memory. The defaults are generous for real results pages; tests shorten them.
struct HttpLimits {
    std::chrono::milliseconds connectTimeout{10'000};
    // No byte received for this long ends the exchange (whole seconds; at least one).
    std::chrono::seconds stallTimeout{20};
    // The whole exchange, however slowly the bytes trickle in.
    std::chrono::seconds totalTimeout{120};
    long maxRedirects = 10;
    std::size_t maxBodyBytes = 64 * 1024 * 1024;
};

} // namespace shareseek
