// The conversions of pages and of the regex engine's subjects, table-driven: the tables
// are read off iconv once, so that the results are always iconv's own.
#include "text/codepage.h"

#include "text/utf8.h"

#include <cstdint>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#include <vector>

namespace shareseek {

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

namespace {

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

} // namespace

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
        const std::size_t length = utf8::charLength(utf8.substr(i));
        const char32_t code = length >= 2 ? utf8::decode(utf8.substr(i), length) : 0;
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

} // namespace shareseek
