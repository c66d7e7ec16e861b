#include "text/codepage.h"

#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <iconv.h>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#include <memory>
#include <vector>

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

namespace {

std::u16string unitsOf(const std::string& utf16le) {
    std::u16string units(utf16le.size() / 2, u'\0');
    for (std::size_t i = 0; i < units.size(); ++i)
        units[i] = static_cast<char16_t>(static_cast<unsigned char>(utf16le[2 * i]) |
                                         static_cast<unsigned char>(utf16le[2 * i + 1]) << 8);
    return units;
}

constexpr unsigned firstLead = 0x81, lastLead = 0xFE, firstTrail = 0x40, lastTrail = 0xFE;
constexpr std::size_t trailsPerLead = lastTrail - firstTrail + 1;

bool isPairForm(unsigned lead, unsigned trail) {
    return lead >= firstLead && lead <= lastLead && trail >= firstTrail && trail <= lastTrail &&
           trail != 0x7F;
}

// The UTF-16 unit of every code page 936 pair that iconv maps to one unit (0 for the others),
// read from iconv itself once, so that the two can never disagree.
const std::vector<char16_t>& pairTable() {
    static const std::vector<char16_t> table = [] {
        std::vector<char16_t> units((lastLead - firstLead + 1) * trailsPerLead, u'\0');
        for (unsigned lead = firstLead; lead <= lastLead; ++lead) {
            std::string pairs; // each pair followed by a space, which every pair is not
            for (unsigned trail = firstTrail; trail <= lastTrail; ++trail)
                if (trail != 0x7F)
                    pairs += {static_cast<char>(lead), static_cast<char>(trail), ' '};
            const std::u16string converted =
                unitsOf(convertCodePage(pairs, CodePage::Cp936, CodePage::Utf16Le));
            std::size_t at = 0;
            for (unsigned trail = firstTrail; trail <= lastTrail; ++trail) {
                if (trail == 0x7F)
                    continue;
                const std::size_t space = converted.find(u' ', at);
                if (space == at + 1 && converted[at] != u'\xFFFD')
                    units[(lead - firstLead) * trailsPerLead + (trail - firstTrail)] =
                        converted[at];
                at = space + 1;
            }
        }
        return units;
    }();
    return table;
}

} // namespace

// Widens the ASCII bytes at the start of `s`, sixteen at a time; returns how many it took
// (0 when fewer than sixteen lead the text).
std::size_t widenAscii(std::string_view s, char16_t* dst) {
    std::size_t done = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    while (done + 16 <= s.size()) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s.data() + done));
        if (_mm_movemask_epi8(bytes) != 0)
            break;
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + done), _mm_unpacklo_epi8(bytes, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + done + 8),
                         _mm_unpackhi_epi8(bytes, zero));
        done += 16;
    }
#else
    for (std::uint64_t word; done + 8 <= s.size(); done += 8) {
        std::memcpy(&word, s.data() + done, 8);
        if (word & 0x8080808080808080ULL)
            break;
        for (int k = 0; k < 8; ++k)
            dst[done + k] = static_cast<char16_t>(s[done + k]);
    }
#endif
    return done;
}

std::u16string textToUtf16(const Text& text) {
    const std::vector<char16_t>& table = pairTable();
    const std::string_view s = text.view();
    // Never more units than bytes: a pair gives one unit, a byte at most one.
    std::u16string out(s.size(), u'\0');
    char16_t* dst = out.data();
    for (std::size_t i = 0; i < s.size();) {
        if (const std::size_t widened = widenAscii(s.substr(i), dst); widened != 0) {
            dst += widened;
            i += widened;
            continue;
        }
        const auto byte = static_cast<unsigned char>(s[i]);
        if (byte < 0x80) {
            *dst++ = static_cast<char16_t>(byte);
            ++i;
            continue;
        }
        const unsigned trail = i + 1 < s.size() ? static_cast<unsigned char>(s[i + 1]) : 0;
        if (isPairForm(byte, trail)) {
            if (const char16_t unit =
                    table[(byte - firstLead) * trailsPerLead + (trail - firstTrail)]) {
                *dst++ = unit;
                i += 2;
                continue;
            }
        }
        // Anything else goes to iconv one character at a time: 0x80 and 0xFF stand alone, a
        // lead byte takes the byte after it.
        const std::size_t length =
            byte >= firstLead && byte <= lastLead && i + 1 < s.size() ? 2 : 1;
        for (const char16_t unit :
             unitsOf(convertCodePage(s.substr(i, length), CodePage::Cp936, CodePage::Utf16Le)))
            *dst++ = unit;
        i += length;
    }
    out.resize(static_cast<std::size_t>(dst - out.data()));
    return out;
}

namespace {

// The code page 936 form (one or two bytes, as a number) of every BMP character that has
// one, built from the pair table; characters that more than one form maps to are asked of
// iconv, so that the result is always iconv's own choice.
const std::vector<std::uint16_t>& reverseTable() {
    static const std::vector<std::uint16_t> table = [] {
        std::vector<std::uint16_t> forms(0x10000, 0);
        std::vector<bool> ambiguous(0x10000, false);
        const auto add = [&](char16_t unit, std::uint16_t form) {
            if (forms[unit] != 0 && forms[unit] != form)
                ambiguous[unit] = true;
            forms[unit] = form;
        };
        const std::vector<char16_t>& pairs = pairTable();
        for (unsigned lead = firstLead; lead <= lastLead; ++lead)
            for (unsigned trail = firstTrail; trail <= lastTrail; ++trail)
                if (const char16_t unit =
                        isPairForm(lead, trail)
                            ? pairs[(lead - firstLead) * trailsPerLead + (trail - firstTrail)]
                            : u'\0')
                    add(unit, static_cast<std::uint16_t>(lead << 8 | trail));
        for (const char single : {'\x80', '\xFF'})
            for (const char16_t unit : unitsOf(
                     convertCodePage(std::string(1, single), CodePage::Cp936, CodePage::Utf16Le)))
                if (unit != u'\xFFFD')
                    add(unit, static_cast<unsigned char>(single));
        for (std::size_t unit = 0; unit < forms.size(); ++unit) {
            if (!ambiguous[unit])
                continue;
            const char16_t one[] = {static_cast<char16_t>(unit)};
            const std::string bytes =
                convertCodePage(std::string_view(reinterpret_cast<const char*>(one), 2),
                                CodePage::Utf16Le, CodePage::Cp936);
            forms[unit] =
                bytes.size() == 2
                    ? static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[0]) << 8 |
                                                 static_cast<unsigned char>(bytes[1]))
                : bytes.size() == 1 && bytes != "?" ? static_cast<unsigned char>(bytes[0])
                                                    : 0;
        }
        return forms;
    }();
    return table;
}

char32_t decodeUtf8(std::string_view s, std::size_t length) {
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

} // namespace

Text utf8ToText(std::string_view utf8) {
    const std::vector<std::uint16_t>& forms = reverseTable();
    // Never more bytes than the input: a character of n bytes gives at most n.
    std::string out(utf8.size(), '\0');
    char* dst = out.data();
    for (std::size_t i = 0; i < utf8.size();) {
        std::uint64_t word;
        if (i + 8 <= utf8.size() &&
            (std::memcpy(&word, utf8.data() + i, 8), (word & 0x8080808080808080ULL) == 0)) {
            std::memcpy(dst, utf8.data() + i, 8);
            dst += 8;
            i += 8;
            continue;
        }
        if ((static_cast<unsigned char>(utf8[i]) & 0x80) == 0) {
            *dst++ = utf8[i++];
            continue;
        }
        const std::size_t length = utf8CharLength(utf8.substr(i));
        const char32_t code = length >= 2 ? decodeUtf8(utf8.substr(i), length) : 0;
        const std::uint16_t form = code != 0 && code < 0x10000 ? forms[code] : 0;
        if (form > 0xFF) {
            *dst++ = static_cast<char>(form >> 8);
            *dst++ = static_cast<char>(form & 0xFF);
        } else if (form != 0) {
            *dst++ = static_cast<char>(form);
        } else {
            // No form of its own, or no character at all: iconv decides, one character (or
            // one stray byte) at a time.
            const std::size_t piece = length == 0 ? 1 : length;
            const std::string converted =
                convertCodePage(utf8.substr(i, piece), CodePage::Utf8, CodePage::Cp936);
            std::memcpy(dst, converted.data(), converted.size());
            dst += converted.size();
        }
        i += length == 0 ? 1 : length;
    }
    out.resize(static_cast<std::size_t>(dst - out.data()));
    return Text(std::move(out));
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
