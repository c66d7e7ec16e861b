#include "web/cookies.h"

#include "support/text_printing.h"

#include <gtest/gtest.h>

namespace shareseek {
namespace {

using testing::L;
using testing::T;

TEST(CookieMerging, NewerValuesWinAndDeletedCookiesGo) {
    struct Case {
        const char* cookieText;
        const char* received;
        const char* merged;
        const char* receivedAfter;
    };
    const Case cases[] = {
        {"a=1; b=2; c=3", "b=9; c=deleted; d=4", "b=9; d=4; a=1", "b=9;c=deleted;d=4"},
        {"", "", "", ""},
        {"", "x=1; x=1; y=2", "x=1; y=2", "x=1;x=1;y=2"},
        {"a=1; a=2", "", "a=1", ""},
        {"a=1", "b=1; b=2", "b=1; b=2; a=1", "b=1;b=2"},
        {"a=1;;b=2", "", "a=1; ; b=2", ""},
        {"A=1", "a=2", "a=2; A=1", "a=2"},
        {"a=x y", "", "a=xy", ""},
        {"a=1", "a=DELETED", "a=DELETED", "a=DELETED"},
        {"k=deleted", "", "", ""},
        {"flag", "flag=1", "flag=1", "flag=1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.cookieText) + " | " + c.received);
        Text cookieText = T(c.cookieText);
        Text received = T(c.received);
        EXPECT_EQ(mergeCookies(cookieText, received), T(c.merged));
        EXPECT_EQ(cookieText, T(c.merged));
        EXPECT_EQ(received, T(c.receivedAfter));
    }
}

TEST(CookieMerging, FullWidthSpacesAreDroppedToo) {
    Text cookieText = L(u8"a=1　x");
    Text received;
    EXPECT_EQ(mergeCookies(cookieText, received), T("a=1x"));
}

TEST(CookieMerging, Helpers) {
    EXPECT_EQ(cookieName(T(" sid = 5")), T("sid"));
    EXPECT_EQ(cookieName(T(" flag ")), T("flag"));
    EXPECT_TRUE(namePresent({T("a=1"), T("b=2")}, T("b")));
    EXPECT_FALSE(namePresent({T("a=1")}, T("A")));
    EXPECT_EQ(itemPosition({T("a"), T("b"), T("b")}, T("b")), 2);
    EXPECT_EQ(itemPosition({T("a")}, T("c")), -1);
    EXPECT_EQ(removeDuplicates(T("a=1; b=2; a=1; a=3"), T("; ")), T("a=1; b=2; a=3"));
    EXPECT_EQ(removeDuplicates(T(""), T("; ")), T(""));
}

} // namespace
} // namespace shareseek
