#include "text/codepage.h"

#include "support/text_printing.h"

#include <gtest/gtest.h>

namespace shareseek {
namespace {

using testing::L;
using testing::T;

TEST(CodePage, ConvertsBetweenCp936AndUtf8) {
    struct Case {
        const char* name;
        Text cp936;
        std::string utf8;
    };
    const Case cases[] = {
        {"ASCII", T("abc 123"), "abc 123"},
        {"Chinese", T("\xCD\xF8\xC5\xCC"), "\xE7\xBD\x91\xE7\x9B\x98"}, // 网盘
        {"full-width space", T("\xA1\xA1"), "\xE3\x80\x80"},
        {"euro sign of code page 936", T("\x80"), "\xE2\x82\xAC"},
        {"empty", T(""), ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(textToUtf8(c.cp936), c.utf8);
        EXPECT_EQ(utf8ToText(c.utf8), c.cp936);
    }
}

TEST(CodePage, NeverFailsAndNeverCutsShort) {
    struct Case {
        const char* name;
        std::string utf8;
        Text cp936;
    };
    const Case cases[] = {
        {"a character code page 936 lacks",
         "a\xF0\x9F\x98\x80"
         "b",
         T("a?b")},
        {"Hangul", "\xEA\xB0\x80x", T("?x")},
        {"a stray continuation byte",
         "a\x80"
         "b",
         T("a?b")},
        {"an overlong form",
         "\xC0\xAF"
         "z",
         T("??z")},
        {"a truncated character at the end", "ab\xE7\xBD", T("ab??")},
        {"a truncated character in the middle",
         "\xE7\xBD"
         "c\xE7\xBD\x91",
         T("??c\xCD\xF8")},
        {"an encoded surrogate", "\xED\xA0\x80!",
         T("??"
           "?!")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(utf8ToText(c.utf8), c.cp936);
    }
}

TEST(CodePage, InvalidCp936BytesBecomeReplacementCharacters) {
    // A lead byte with a trail that cannot follow it, and a lead byte at the very end.
    EXPECT_EQ(textToUtf8(T("\x81\x30"
                           "a\xB0")),
              "\xEF\xBF\xBD"
              "0a\xEF\xBF\xBD");
}

TEST(CodePage, RoundTripsThroughUtf16) {
    const Text text = L(u8"百度网盘 abc");
    EXPECT_EQ(textToUtf16(text), u"百度网盘 abc");
    EXPECT_EQ(utf16ToText(u"百度网盘 abc"), text);
    EXPECT_EQ(utf16ToText(u"x\U0001F600y"), T("x?y"));
    const char16_t loneSurrogate[] = {u'a', 0xD800, u'b'};
    EXPECT_EQ(utf16ToText(std::u16string_view(loneSurrogate, 3)), T("a?b"));
}

TEST(CodePage, ConvertsLargeInputsWhole) {
    std::string utf8;
    for (int i = 0; i < 20000; ++i)
        utf8 += "\xE7\xBD\x91x";
    const Text text = utf8ToText(utf8);
    EXPECT_EQ(text.size(), 20000u * 3);
    EXPECT_EQ(textToUtf8(text), utf8);
}

TEST(Literal, TurnsSourceLiteralsIntoCp936) {
    EXPECT_EQ(literal(u8"请输入关键字！"),
              T("\xC7\xEB\xCA\xE4\xC8\xEB\xB9\xD8\xBC\xFC\xD7\xD6\xA3\xA1"));
    EXPECT_EQ(literal(u8""), T(""));
}

} // namespace
} // namespace shareseek

namespace shareseek {
namespace {

std::u16string viaIconv(const std::string& cp936) {
    const std::string bytes = convertCodePage(cp936, CodePage::Cp936, CodePage::Utf16Le);
    std::u16string units;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        units += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                       static_cast<unsigned char>(bytes[i + 1]) << 8);
    return units;
}

// The fast conversion for the regex engine must give exactly what iconv gives.
TEST(CodePage, FastConversionToUtf16AgreesWithIconvOnEveryCharacter) {
    std::string everyPair;
    for (int lead = 0x80; lead <= 0xFF; ++lead)
        for (int trail = 0x01; trail <= 0xFF; ++trail)
            everyPair += {static_cast<char>(lead), static_cast<char>(trail)};
    EXPECT_EQ(textToUtf16(Text(everyPair)), viaIconv(everyPair));

    std::uint32_t seed = 12345;
    for (int run = 0; run < 2000; ++run) {
        std::string bytes;
        for (int i = 0; i < 32; ++i) {
            seed = seed * 1664525u + 1013904223u;
            const auto byte = static_cast<char>((seed >> 24) % 3 == 0 ? 0x21 + (seed >> 8) % 0x5E
                                                                      : 0x80 + (seed >> 8) % 0x80);
            if (byte != '\0')
                bytes += byte;
        }
        SCOPED_TRACE(bytes);
        ASSERT_EQ(textToUtf16(Text(bytes)), viaIconv(bytes));
    }
}

} // namespace
} // namespace shareseek

namespace shareseek {
namespace {

// The table-driven decoding of pages must give exactly what iconv gives.
TEST(CodePage, FastDecodingAgreesWithIconvOnEveryCharacter) {
    std::string everyCharacter; // every character of code page 936, as UTF-8
    for (int lead = 0x80; lead <= 0xFF; ++lead)
        for (int trail = 0x40; trail <= 0xFE; ++trail)
            everyCharacter +=
                textToUtf8(Text(std::string{static_cast<char>(lead), static_cast<char>(trail)}));
    EXPECT_EQ(utf8ToText(everyCharacter),
              Text(convertCodePage(everyCharacter, CodePage::Utf8, CodePage::Cp936)));

    std::uint32_t seed = 99;
    for (int run = 0; run < 2000; ++run) {
        std::string bytes;
        for (int i = 0; i < 24; ++i) {
            seed = seed * 1664525u + 1013904223u;
            const unsigned pick = (seed >> 8) % 5;
            const char byte = static_cast<char>(pick == 0   ? 0x41 + (seed >> 16) % 26
                                                : pick == 1 ? 0x80 + (seed >> 16) % 0x40
                                                            : 0xC2 + (seed >> 16) % 0x33);
            bytes += byte;
        }
        SCOPED_TRACE(bytes);
        ASSERT_EQ(utf8ToText(bytes), Text(convertCodePage(bytes, CodePage::Utf8, CodePage::Cp936)));
    }
}

} // namespace
} // namespace shareseek
