#pragma once

#include "text/codepage.h"
#include "text/percent_encoding.h"
#include "text/text.h"

#include <ostream>

namespace shareseek {

// Shows a text in failure messages as its bytes and, beside them, as UTF-8.
inline void PrintTo(const Text& text, std::ostream* os) {
    *os << '"';
    for (const unsigned char c : text.bytes()) {
        if (c >= 0x20 && c < 0x7F && c != '"' && c != '\\') {
            *os << static_cast<char>(c);
        } else {
            *os << "\\x" << hexDigits[c >> 4] << hexDigits[c & 15];
        }
    }
    *os << "\" (" << textToUtf8(text) << ')';
}

} // namespace shareseek

namespace shareseek::testing {

// A text from a UTF-8 literal of the test source.
inline Text L(std::u8string_view utf8) {
    return literal(utf8);
}
// A text from raw code page 936 bytes.
inline Text T(std::string_view bytes) {
    return Text(bytes);
}

} // namespace shareseek::testing
