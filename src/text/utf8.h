#pragma once

#include <cstddef>
#include <string_view>

// UTF-8 as the code-page conversions read it.
namespace shareseek::utf8 {

// Bytes of a well-formed UTF-8 character at the start of `s`, 0 when it is not one.
inline std::size_t charLength(std::string_view s) {
    const auto b = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    const auto continuation = [&](std::size_t i) { return i < s.size() && (b(i) & 0xC0) == 0x80; };
    const unsigned char lead = b(0);
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        return continuation(1) ? 2 : 0;
    if (lead >= 0xE0 && lead <= 0xEF) {
        if (!continuation(1) || !continuation(2))
            return 0;
        const bool overlong = lead == 0xE0 && b(1) < 0xA0;
        const bool surrogate = lead == 0xED && b(1) >= 0xA0;
        return overlong || surrogate ? 0 : 3;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        if (!continuation(1) || !continuation(2) || !continuation(3))
            return 0;
        const bool overlong = lead == 0xF0 && b(1) < 0x90;
        const bool tooLarge = lead == 0xF4 && b(1) >= 0x90;
        return overlong || tooLarge ? 0 : 4;
    }
    return 0;
}

// The code point of the well-formed character of `length` bytes (2 to 4) at the start of `s`.
inline char32_t decode(std::string_view s, std::size_t length) {
    const auto b = [&](std::size_t i) {
        return static_cast<char32_t>(static_cast<unsigned char>(s[i]));
    };
    switch (length) {
    case 2:
        return (b(0) & 0x1F) << 6 | (b(1) & 0x3F);
    case 3:
        return (b(0) & 0x0F) << 12 | (b(1) & 0x3F) << 6 | (b(2) & 0x3F);
    default:
        return (b(0) & 0x07) << 18 | (b(1) & 0x3F) << 12 | (b(2) & 0x3F) << 6 | (b(3) & 0x3F);
    }
}

} // namespace shareseek::utf8
