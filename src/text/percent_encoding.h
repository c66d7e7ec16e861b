#pragma once

#include <string>
#include <string_view>

// Percent-encoding, the one encoder of the program: query keywords, request targets and
// header values built from addresses all go through it.
namespace shareseek {

// Upper-case hexadecimal digits, indexed by value.
inline constexpr std::string_view hexDigits = "0123456789ABCDEF";

// `bytes` with every byte for which `keep` is false written as "%XX".
template <class Keep> std::string percentEncode(std::string_view bytes, Keep keep) {
    std::string out;
    out.reserve(bytes.size());
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (keep(byte)) {
            out += c;
        } else {
            out += '%';
            out += hexDigits[byte >> 4];
            out += hexDigits[byte & 15];
        }
    }
    return out;
}

// Spaces, control characters and bytes above ASCII percent-encoded, as a browser sends a
// request target: nothing that could end a request or header line is left.
inline std::string percentEncodeForRequest(std::string_view bytes) {
    return percentEncode(bytes, [](unsigned char byte) { return byte > 0x20 && byte < 0x7F; });
}

// The value 0-15 of a hexadecimal digit of either case, -1 for any other character.
inline int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// "%XX" sequences decoded; a "%" not followed by two hexadecimal digits stays as it is.
std::string percentDecode(std::string_view text);

} // namespace shareseek
