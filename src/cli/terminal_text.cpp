#include "cli/terminal_text.h"

#include "text/percent_encoding.h"

namespace shareseek::cli {
namespace {

// "^@" to "^_" for C0, "^?" for DEL.
void appendCaret(std::string& out, unsigned char byte) {
    out += '^';
    out += byte == 0x7F ? '?' : static_cast<char>(byte + 0x40);
}

bool isC0OrDel(unsigned char byte) {
    return byte < 0x20 || byte == 0x7F;
}

} // namespace

std::string visibleUtf8(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto byte = static_cast<unsigned char>(utf8[i]);
        if (isC0OrDel(byte)) {
            appendCaret(out, byte);
        } else if (byte == 0xC2 && i + 1 < utf8.size() &&
                   static_cast<unsigned char>(utf8[i + 1]) >= 0x80 &&
                   static_cast<unsigned char>(utf8[i + 1]) <= 0x9F) {
            const auto c1 = static_cast<unsigned char>(utf8[++i]);
            out += "<U+00";
            out += hexDigits[c1 >> 4];
            out += hexDigits[c1 & 15];
            out += '>';
        } else {
            out += utf8[i];
        }
    }
    return out;
}

std::string visibleCp936(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (byte >= 0x80 && i + 1 < bytes.size()) { // a double-byte character, whole
            out += bytes[i];
            out += bytes[++i];
        } else if (isC0OrDel(byte)) {
            appendCaret(out, byte);
        } else {
            out += bytes[i];
        }
    }
    return out;
}

} // namespace shareseek::cli
