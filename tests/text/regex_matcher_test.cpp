#include "text/regex_matcher.h"

#include "support/text_printing.h"

#include <gtest/gtest.h>

namespace shareseek {
namespace {

using testing::L;
using testing::T;

TEST(RegexMatcher, NumbersMatchesAndGroupsFromOne) {
    RegexMatcher m;
    EXPECT_TRUE(m.create(T("<b>(.*?)</b>"), T("<b>x</b><b>y</b>")));
    ASSERT_EQ(m.matchCount(), 2);
    EXPECT_EQ(m.submatchText(1, 1), T("x"));
    EXPECT_EQ(m.submatchText(2, 1), T("y"));
    EXPECT_EQ(m.matchText(2), T("<b>y</b>"));
    EXPECT_EQ(m.submatchCount(), 1);
    struct OutOfRange {
        int match, group;
    };
    for (const OutOfRange c : {OutOfRange{0, 1}, {3, 1}, {1, 2}, {-1, 0}}) {
        SCOPED_TRACE(std::to_string(c.match) + "," + std::to_string(c.group));
        EXPECT_EQ(m.submatchText(c.match, c.group), T(""));
    }
    EXPECT_EQ(m.matchText(0), T(""));
}

TEST(RegexMatcher, Options) {
    struct Case {
        const char* name;
        Text pattern, subject;
        bool caseSensitive, multiLine, global, quoteEscape;
        int expectedCount;
    };
    const Case cases[] = {
        {"case ignored by default", T("abc"), T("ABC"), false, true, true, false, 1},
        {"case-sensitive", T("abc"), T("ABC"), true, true, true, false, 0},
        {"a dot never matches a line feed", T("a.b"), T("a\nb"), false, true, true, false, 0},
        {"a dot matches a tab", T("a.b"), T("a\tb"), false, true, true, false, 1},
        {"global finds all", T("a"), T("aaa"), false, true, true, false, 3},
        {"not global finds the first", T("a"), T("aaa"), false, true, false, false, 1},
        {"multi-line anchors", T("^x$"), T("x\nx"), false, true, true, false, 2},
        {"single-line anchors", T("^x$"), T("x\nx"), false, false, true, false, 0},
        {"quote escape", L(u8"href=#引号(.*?)#引号"), T("href=\"u\""), false, true, true, true, 1},
        {"no quote escape looks for the escape itself", L(u8"href=#引号(.*?)#引号"),
         T("href=\"u\""), false, true, true, false, 0},
        {"a Chinese character is one character", L(u8"^.{2}$"), L(u8"网盘"), false, true, true,
         false, 1},
        {"a pattern that matches nothing", T("zzz"), T("abc"), false, true, true, false, 0},
        {"empty matches advance", T("x*"), T("ab"), false, true, true, false, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RegexMatcher m;
        EXPECT_TRUE(
            m.create(c.pattern, c.subject, c.caseSensitive, c.multiLine, c.global, c.quoteEscape));
        EXPECT_EQ(m.matchCount(), c.expectedCount);
    }
}

TEST(RegexMatcher, AnInvalidPatternFailsQuietly) {
    RegexMatcher m;
    EXPECT_FALSE(m.create(T("(unclosed"), T("unclosed")));
    EXPECT_EQ(m.matchCount(), 0);
    EXPECT_EQ(m.matchText(1), T(""));
    EXPECT_EQ(m.submatchCount(), 0);
    EXPECT_EQ(m.replace(T("x")), T(""));
}

TEST(RegexMatcher, ASecondCreateStartsAfresh) {
    RegexMatcher m;
    m.create(T("a"), T("aa"));
    EXPECT_EQ(m.matchCount(), 2);
    EXPECT_TRUE(m.create(T("zzz"), T("aa")));
    EXPECT_EQ(m.matchCount(), 0);
    EXPECT_EQ(m.patternText(), T("zzz"));
}

TEST(RegexMatcher, ReadingBeforeCreateFindsNothing) {
    const RegexMatcher m;
    EXPECT_EQ(m.matchCount(), 0);
    EXPECT_EQ(m.submatchText(1, 1), T(""));
    EXPECT_EQ(m.patternText(), T(""));
}

TEST(RegexMatcher, PositionsAreByteOffsets) {
    RegexMatcher m;
    m.create(T("(b+)c"), L(u8"网盘abbc"));
    int position = 0;
    EXPECT_EQ(m.matchText(1, &position), T("bbc"));
    EXPECT_EQ(position, 5); // the engine's index is 3: two Chinese characters count one each
    EXPECT_EQ(m.submatchText(1, 1, &position), T("bb"));
    EXPECT_EQ(position, 5);
    EXPECT_EQ(m.matchText(2, &position), T(""));
    EXPECT_EQ(position, -2);
}

TEST(RegexMatcher, GroupsAndMatchesComeBackInCp936) {
    RegexMatcher m;
    m.create(L(u8"《(.+?)》"), L(u8"电影《流浪地球》高清"));
    EXPECT_EQ(m.submatchText(1, 1), L(u8"流浪地球"));
}

TEST(RegexMatcher, ReplaceCopyAndDestroy) {
    RegexMatcher m;
    m.create(T("(\\d+)"), T("a1b22"));
    EXPECT_EQ(m.replace(T("<$1>")), T("a<1>b<22>"));
    const RegexMatcher copy = m.copy();
    m.destroy();
    EXPECT_EQ(m.matchCount(), 0);
    EXPECT_EQ(copy.matchCount(), 2);
    EXPECT_EQ(copy.submatchText(2, 1), T("22"));
}

TEST(RegexMatcher, ARunawayPatternEndsQuietly) {
    RegexMatcher m;
    // Catastrophic backtracking: the match bound stops it.
    EXPECT_TRUE(m.create(T("(a+)+$"), T(std::string(40, 'a') + "b")));
    EXPECT_EQ(m.matchCount(), 0);
}

} // namespace
} // namespace shareseek
