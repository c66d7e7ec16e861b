#include "text/codepage.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <iconv.h>
#include <memory>

namespace shareseek {
namespace {

const char* iconvName(CodePage page) {
    switch (page) {
    case CodePage::Cp936:
        return "CP936";
    case CodePage::Utf8:
        return "UTF-8";
    case CodePage::Utf16Le:
        return "UTF-16LE";
    }
    return "UTF-8";
}

std::string_view replacementIn(CodePage page) {
    switch (page) {
    case CodePage::Cp936:
        return "?";
    case CodePage::Utf8:
        return "\xEF\xBF\xBD";
    case CodePage::Utf16Le:
        return std::string_view("\xFD\xFF", 2);
    }
    return "?";
}

// Bytes of a well-formed UTF-8 character at the start of `s`, 0 when it is not one.
std::size_t utf8CharLength(std::string_view s) {
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

// How many input bytes the character iconv stopped at takes, so that conversion can go on
// after it: a whole character that the target lacks, or one byte (unit) that forms none.
std::size_t offendingLength(std::string_view rest, CodePage from) {
    switch (from) {
    case CodePage::Utf8: {
        const std::size_t length = utf8CharLength(rest);
        return length == 0 ? 1 : length;
    }
    case CodePage::Cp936: {
        const auto lead = static_cast<unsigned char>(rest[0]);
        const auto trail = rest.size() > 1 ? static_cast<unsigned char>(rest[1]) : 0;
        const bool pair =
            lead >= 0x81 && lead <= 0xFE && trail >= 0x40 && trail <= 0xFE && trail != 0x7F;
        return pair ? 2 : 1;
    }
    case CodePage::Utf16Le: {
        if (rest.size() < 2)
            return rest.size();
        const unsigned unit =
            static_cast<unsigned char>(rest[0]) | static_cast<unsigned char>(rest[1]) << 8;
        const unsigned next =
            rest.size() >= 4
                ? (static_cast<unsigned char>(rest[2]) | static_cast<unsigned char>(rest[3]) << 8)
                : 0;
        const bool pair = unit >= 0xD800 && unit <= 0xDBFF && next >= 0xDC00 && next <= 0xDFFF;
        return pair ? 4 : 2;
    }
    }
    return 1;
}

// One converter per direction and thread: iconv descriptors are not to be shared between
// threads, and opening one for every call would dominate the conversion of short texts.
class Converter {
public:
    Converter(CodePage from, CodePage to) : cd_(iconv_open(iconvName(to), iconvName(from))) {}
    ~Converter() {
        if (cd_ != invalid())
            iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool valid() const { return cd_ != invalid(); }

    // Converts as much as it can; returns false and leaves `in` at the character it
    // stopped at when that character cannot be converted.
    bool run(std::string_view& in, std::string& out) {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        while (!in.empty()) {
            const std::size_t used = out.size();
            out.resize(used + in.size() * 2 + 16);
            char* src = const_cast<char*>(in.data());
            std::size_t srcLeft = in.size();
            char* dst = out.data() + used;
            std::size_t dstLeft = out.size() - used;
            const std::size_t rc = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
            const int error = errno;
            out.resize(out.size() - dstLeft);
            in.remove_prefix(in.size() - srcLeft);
            if (rc != static_cast<std::size_t>(-1))
                return true;
            if (error != E2BIG)
                return false;
        }
        return true;
    }

private:
    static iconv_t invalid() { return reinterpret_cast<iconv_t>(-1); }
    iconv_t cd_;
};

Converter& converterFor(CodePage from, CodePage to) {
    constexpr std::size_t pages = 3;
    thread_local std::array<std::unique_ptr<Converter>, pages * pages> converters;
    auto& slot = converters[static_cast<std::size_t>(from) * pages + static_cast<std::size_t>(to)];
    if (!slot)
        slot = std::make_unique<Converter>(from, to);
    return *slot;
}

} // namespace

std::string convertCodePage(std::string_view input, CodePage from, CodePage to) {
    std::string out;
    if (input.empty())
        return out;
    Converter& converter = converterFor(from, to);
    if (!converter.valid())
        return out;
    out.reserve(input.size() + input.size() / 2);
    while (!converter.run(input, out)) {
        out += replacementIn(to);
        input.remove_prefix(std::min(input.size(), offendingLength(input, from)));
    }
    return out;
}

Text utf8ToText(std::string_view utf8) {
    return Text(convertCodePage(utf8, CodePage::Utf8, CodePage::Cp936));
}

std::string textToUtf8(const Text& text) {
    return convertCodePage(text.view(), CodePage::Cp936, CodePage::Utf8);
}

std::u16string textToUtf16(const Text& text) {
    const std::string bytes = convertCodePage(text.view(), CodePage::Cp936, CodePage::Utf16Le);
    std::u16string units(bytes.size() / 2, u'\0');
    for (std::size_t i = 0; i < units.size(); ++i)
        units[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                         static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
    return units;
}

Text utf16ToText(std::u16string_view utf16) {
    std::string bytes(utf16.size() * 2, '\0');
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        bytes[2 * i] = static_cast<char>(utf16[i] & 0xFF);
        bytes[2 * i + 1] = static_cast<char>(utf16[i] >> 8);
    }
    return Text(convertCodePage(bytes, CodePage::Utf16Le, CodePage::Cp936));
}

Text literal(std::u8string_view utf8) {
    return utf8ToText(std::string_view(reinterpret_cast<const char*>(utf8.data()), utf8.size()));
}

} // namespace shareseek
