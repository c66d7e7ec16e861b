#include "text/codepage.h"

#include "text/utf8.h"

#include <array>
#include <cerrno>
#include <cstdint>
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

// How many input bytes the character iconv stopped at takes, so that conversion can go on
// after it: a whole character that the target lacks, or one byte (unit) that forms none.
std::size_t offendingLength(std::string_view rest, CodePage from) {
    switch (from) {
    case CodePage::Utf8: {
        const std::size_t length = utf8::charLength(rest);
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

namespace {

// Converts a run that holds no ASCII character, carrying on past any character that does not
// convert.
void convertRun(std::string_view run, Converter& converter, CodePage from, CodePage to,
                std::string& out) {
    while (!converter.run(run, out)) {
        out += replacementIn(to);
        run.remove_prefix(std::min(run.size(), offendingLength(run, from)));
    }
}

void appendAscii(std::string_view ascii, CodePage to, std::string& out) {
    if (to != CodePage::Utf16Le) {
        out += ascii;
        return;
    }
    const std::size_t used = out.size();
    out.resize(used + 2 * ascii.size());
    char* dst = out.data() + used;
    for (const char c : ascii) {
        *dst++ = c;
        *dst++ = '\0';
    }
}

// Bytes before the first one with the high bit set, eight at a time where it can.
std::size_t asciiPrefixLength(std::string_view s) {
    std::size_t i = 0;
    for (; i + 8 <= s.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, s.data() + i, 8);
        if (word & 0x8080808080808080ULL)
            break;
    }
    while (i < s.size() && (static_cast<unsigned char>(s[i]) & 0x80) == 0)
        ++i;
    return i;
}

// Bytes up to the next ASCII character. In code page 936 a second byte may look like one, so
// the run steps as iconv reads it: a lead byte (0x81 to 0xFE) takes the byte after it, 0x80
// and 0xFF stand alone.
std::size_t nonAsciiRunLength(std::string_view s, CodePage from) {
    std::size_t i = 0;
    while (i < s.size() && (static_cast<unsigned char>(s[i]) & 0x80) != 0) {
        const auto byte = static_cast<unsigned char>(s[i]);
        i += from == CodePage::Cp936 && byte >= 0x81 && byte <= 0xFE ? 2 : 1;
    }
    return std::min(i, s.size());
}

} // namespace

std::string convertCodePage(std::string_view input, CodePage from, CodePage to) {
    std::string out;
    if (input.empty())
        return out;
    Converter& converter = converterFor(from, to);
    if (!converter.valid())
        return out;
    out.reserve(to == CodePage::Utf16Le ? input.size() * 2 : input.size() + input.size() / 2);
    if (from == CodePage::Utf16Le) {
        convertRun(input, converter, from, to, out);
        return out;
    }
    // Pages are mostly ASCII markup, which is the same in every code page here: copy it,
    // and hand only the other runs to iconv.
    while (!input.empty()) {
        const std::size_t ascii = asciiPrefixLength(input);
        appendAscii(input.substr(0, ascii), to, out);
        input.remove_prefix(ascii);
        const std::size_t other = nonAsciiRunLength(input, from);
        convertRun(input.substr(0, other), converter, from, to, out);
        input.remove_prefix(other);
    }
    return out;
}

std::string textToUtf8(const Text& text) {
    return convertCodePage(text.view(), CodePage::Cp936, CodePage::Utf8);
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
