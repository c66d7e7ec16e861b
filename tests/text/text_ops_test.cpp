#include "text/text_ops.h"

#include "support/text_printing.h"

#include <gtest/gtest.h>

namespace shareseek {
namespace {

using testing::L;
using testing::T;

// 癆 is the bytes B0 41 and 昞 the bytes 95 5C: their second bytes are "A" and "\".
const char* const kLeadA = "\xB0\x41";
const char* const kLeadBackslash = "\x95\x5C";

TEST(SearchForward, FindsOnlyWhereACharacterBegins) {
    struct Case {
        const char* name;
        Text subject, sought;
        int start;
        bool ignoreCase;
        int expected;
    };
    const Case cases[] = {
        {"first occurrence", T("abcabc"), T("bc"), 1, false, 2},
        {"from a start position", T("abcabc"), T("bc"), 3, false, 5},
        {"start below 1 means 1", T("abcabc"), T("ab"), -5, false, 1},
        {"start past the end", T("abc"), T("c"), 4, false, -1},
        {"absent", T("abc"), T("x"), 1, false, -1},
        {"case is exact by default", T("ABC"), T("b"), 1, false, -1},
        {"case ignored", T("ABC"), T("b"), 1, true, 2},
        {"empty sought in a text", T("abc"), T(""), 1, false, 1},
        {"empty sought in the empty text", T(""), T(""), 1, false, -1},
        // Found by fuzzing: the start inside the last character once gave a position past
        // the end.
        {"empty sought, start inside the last character", T("a\xB0\xA1"), T(""), 3, false, -1},
        {"positions are bytes", L(u8"网盘abc"), T("abc"), 1, false, 5},
        {"trail byte is not an A", T(std::string(kLeadA) + "A"), T("A"), 1, false, 3},
        {"trail byte is not an a, case ignored", T(std::string(kLeadA) + "a"), T("a"), 1, true, 3},
        {"trail byte only", T(kLeadA), T("A"), 1, false, -1},
        {"double-byte characters are not folded", T("\xB0\x61"), T("\xB0\x41"), 1, true, -1},
        {"Chinese sought text", L(u8"百度网盘搜索"), L(u8"网盘"), 1, false, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(searchForward(c.subject, c.sought, c.start, c.ignoreCase), c.expected);
    }
}

TEST(SearchBackward, FindsTheLastOccurrenceEndingBeforeTheStart) {
    struct Case {
        const char* name;
        Text subject, sought;
        int start;
        int expected;
    };
    const Case cases[] = {
        {"whole subject", T("abcabc"), T("bc"), 0, 5},
        {"only occurrences ending before the start", T("abcabc"), T("bc"), 6, 2},
        {"an occurrence ending right before the start", T("abcabc"), T("bc"), 7, 5},
        {"absent", T("abc"), T("x"), 0, -1},
        {"trail byte is not a backslash", T(std::string(kLeadBackslash) + "x"), T("\\"), 0, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(searchBackward(c.subject, c.sought, c.start), c.expected);
    }
}

TEST(CuttingBytes, CountsPlainBytes) {
    const Text s = L(u8"网盘ab");
    EXPECT_EQ(leadingBytes(s, 3), T("\xCD\xF8\xC5"));
    EXPECT_EQ(leadingBytes(s, 99), s);
    EXPECT_EQ(leadingBytes(s, 0), T(""));
    EXPECT_EQ(leadingBytes(s, -1), T(""));
    EXPECT_EQ(trailingBytes(s, 3), T("\xCC"
                                     "ab"));
    EXPECT_EQ(trailingBytes(s, 99), s);
    EXPECT_EQ(trailingBytes(s, 0), T(""));
    EXPECT_EQ(innerBytes(s, 5, 2), T("ab"));
    EXPECT_EQ(innerBytes(s, 5, 99), T("ab"));
    EXPECT_EQ(innerBytes(s, 2, 2), T("\xF8\xC5"));
    EXPECT_EQ(innerBytes(s, 0, 2), T(""));
    EXPECT_EQ(innerBytes(s, 7, 1), T(""));
    EXPECT_EQ(innerBytes(s, 1, 0), T(""));
}

TEST(Substitute, ReplacesLeftToRightFromTheStart) {
    struct Case {
        const char* name;
        Text subject, oldText, newText;
        SubstituteOptions options;
        Text expected;
    };
    const Case cases[] = {
        {"all by default", T("a-b-c"), T("-"), T("+"), {}, T("a+b+c")},
        {"deletes without a new text", T("<em>x</em>"), T("<em>"), T(""), {}, T("x</em>")},
        {"non-overlapping, resuming after each", T("aaaa"), T("aa"), T("b"), {}, T("bb")},
        {"four backslashes become two", T("a\\\\\\\\b"), T("\\\\"), T("\\"), {}, T("a\\\\b")},
        {"bytes before the start kept", T("xaxa"), T("x"), T("y"), {.start = 2}, T("xaya")},
        {"a count", T("aaa"), T("a"), T("b"), {.count = 2}, T("bba")},
        {"a count of 0", T("aaa"), T("a"), T("b"), {.count = 0}, T("aaa")},
        {"case ignored by default", T("aAa"), T("a"), T("b"), {}, T("bbb")},
        {"case exact when asked", T("aAa"), T("a"), T("b"), {.matchCase = true}, T("bAb")},
        {"start past the end", T("abc"), T("c"), T("x"), {.start = 4}, T("abc")},
        {"empty subject", T(""), T("a"), T("b"), {}, T("")},
        {"empty old text", T("abc"), T(""), T("b"), {}, T("abc")},
        {"trail byte is not a backslash",
         T(std::string(kLeadBackslash) + "\\"),
         T("\\"),
         T("/"),
         {},
         T(std::string(kLeadBackslash) + "/")},
        {"trail byte is not an A",
         T(std::string(kLeadA) + "A"),
         T("A"),
         T("b"),
         {.matchCase = true},
         T(std::string(kLeadA) + "b")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(substitute(c.subject, c.oldText, c.newText, c.options), c.expected);
    }
}

TEST(Separate, CutsAtEveryExactSeparator) {
    struct Case {
        const char* name;
        Text subject, separator;
        TextList expected;
    };
    const Case cases[] = {
        {"plain", T("a,b,c"), T(","), {T("a"), T("b"), T("c")}},
        {"adjacent separators give an empty piece", T("a;;b"), T(";"), {T("a"), T(""), T("b")}},
        {"a separator at the start", T(";a"), T(";"), {T(""), T("a")}},
        {"a separator at the end adds nothing", T("a;b;"), T(";"), {T("a"), T("b")}},
        {"only the last empty piece is dropped", T("a;;"), T(";"), {T("a"), T("")}},
        {"the separator alone", T(";"), T(";"), {T("")}},
        {"empty subject", T(""), T(";"), {}},
        {"empty separator", T("a;b"), T(""), {T("a;b")}},
        {"long separator", T("5.N.*x.N.*"), T(".N.*"), {T("5"), T("x")}},
        {"case exact", T("aXbxc"), T("x"), {T("aXb"), T("c")}},
        {"trail byte is not an A",
         T(std::string(kLeadA) + "A" + kLeadA),
         T("A"),
         {T(kLeadA), T(kLeadA)}},
        {"Chinese pieces", L(u8"电影,音乐"), T(","), {L(u8"电影"), L(u8"音乐")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(separate(c.subject, c.separator), c.expected);
    }
}

TEST(Separate, DefaultsToComma) {
    EXPECT_EQ(separate(T("a,b")), (TextList{T("a"), T("b")}));
}

TEST(Spaces, StripAndDropTakeFullWidthSpaces) {
    const std::string full = "\xA1\xA1";
    struct Case {
        const char* name;
        Text input, stripped, dropped;
    };
    const Case cases[] = {
        {"ASCII spaces", T("  a b  "), T("a b"), T("ab")},
        {"full-width spaces", T(full + "a" + full + "b" + full), T("a" + full + "b"), T("ab")},
        {"tabs and line breaks stay", T("\ta \r\n"), T("\ta \r\n"), T("\ta\r\n")},
        {"only spaces", T(" " + full + " "), T(""), T("")},
        {"A1 A1 inside characters is no space", T("\xB0\xA1\xA1\xB0"), T("\xB0\xA1\xA1\xB0"),
         T("\xB0\xA1\xA1\xB0")},
        {"empty", T(""), T(""), T("")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(stripSpaces(c.input), c.stripped);
        EXPECT_EQ(dropSpaces(c.input), c.dropped);
    }
}

TEST(AsciiLower, ChangesOnlySingleByteLetters) {
    EXPECT_EQ(asciiLower(T("HTTP://A.B/P")), T("http://a.b/p"));
    EXPECT_EQ(asciiLower(T(std::string(kLeadA) + "A")), T(std::string(kLeadA) + "a"));
    EXPECT_EQ(asciiLower(L(u8"网盘ABC")), L(u8"网盘abc"));
}

TEST(SmallTexts, ByteCharacterAndSpaceRun) {
    EXPECT_EQ(byteCharacter(0x141), T("A"));
    EXPECT_EQ(byteCharacter(0), T(""));
    EXPECT_EQ(byteCharacter(256), T(""));
    EXPECT_EQ(spaceRun(6), T("      "));
    EXPECT_EQ(spaceRun(0), T(""));
    EXPECT_EQ(spaceRun(-3), T(""));
}

TEST(TextValue, StopsAtTheFirstZeroByteAndOrdersUnsigned) {
    EXPECT_EQ(Text(std::string("ab\0cd", 5)), T("ab"));
    EXPECT_EQ(toText(Bytes("x\0y", 3)), T("x"));
    EXPECT_EQ(toBytes(T("xy")), Bytes("xy"));
    EXPECT_LT(T("a"), T("\xB0\xA1")); // 0xB0 is above every ASCII byte
    EXPECT_LT(T("ab"), T("abc"));
    EXPECT_NE(T("a"), T("A"));
    EXPECT_EQ(T("a") + T("") + T("b"), T("ab"));
}

} // namespace
} // namespace shareseek
