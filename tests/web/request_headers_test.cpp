#include "web/request_headers.h"
#include "web/response_headers.h"

#include "support/text_printing.h"

#include <gtest/gtest.h>

namespace shareseek {
namespace {

using testing::T;

const char* const kDefaults = "\r\nAccept: */*\r\nAccept-Language: zh-cn\r\nContent-Type: "
                              "application/x-www-form-urlencoded";

TEST(RequestHeaders, CompletesTheCallersHeadersWithDefaults) {
    struct Case {
        const char* name;
        const char* extra;
        const char* cookie;
        std::string expected;
    };
    const Case cases[] = {
        {"no extra headers", "", "", std::string("Referer: http://a/") + kDefaults},
        {"a lower-case referer does not count", "referer: x", "",
         std::string("referer: x\r\nReferer: http://a/") + kDefaults},
        {"Accept-Language without Accept", "Accept-Language: en", "",
         "Accept-Language: en\r\nReferer: http://a/\r\nAccept: */*\r\nContent-Type: "
         "application/x-www-form-urlencoded"},
        {"a trailing line break gives an empty line", "X: 1\r\n", "",
         std::string("X: 1\r\n\r\nReferer: http://a/") + kDefaults},
        {"a cookie line even beside the caller's", "Cookie: a=1", "b=2",
         std::string("Cookie: a=1\r\nReferer: http://a/") + kDefaults + "\r\nCookie: b=2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(completeHeaders(T(c.extra), T("http://a/"), T(c.cookie)), T(c.expected));
    }
}

TEST(RequestHeaders, ChoosesTheUserAgent) {
    struct Case {
        const char* name;
        const char* extra;
        Text expected;
    };
    const Case cases[] = {
        {"none named", "Accept: x", defaultUserAgent()},
        {"lower-case line", "user-agent:  Bot/2 \r\nX: 1", T("Bot/2")},
        {"only line, no line break", "User-Agent: Solo/1", T("Solo/1")},
        {"last of several lines, no line break", "X-A: 1\r\nUser-Agent: Last/3",
         T("1\r\nUser-Agent: Last/3")},
        // a blank value falls back to the text after the first colon, line break and all
        {"blank value", "User-Agent:  \r\n", T("\r\n")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(chooseUserAgent(T(c.extra)), c.expected);
    }
}

TEST(ResponseHeaders, ReadsLocationAndCookies) {
    const ResponseHeaderFacts facts = readResponseHeaders(
        T("HTTP/1.1 302 Found\r\nLocation: /first\r\nContent-Location:  /second \r\n"
          "Set-Cookie: a=1; path=/\r\nSet-Cookie: b=2\r\nset-cookie: c=3; x\r\n\r\n"));
    ASSERT_TRUE(facts.location.has_value());
    // Any line holding "Location:" counts, Content-Location too: defined so on purpose.
    EXPECT_EQ(*facts.location, T("/second"));
    // "b=2" has no ";" and gives an empty item; "set-cookie" does not count.
    EXPECT_EQ(facts.receivedCookies, T("a=1; "));
    EXPECT_FALSE(readResponseHeaders(T("HTTP/1.1 200 OK\r\n\r\n")).location.has_value());
}

TEST(ResponseHeaders, RawTextFitsOrBecomesBlanks) {
    EXPECT_EQ(rawHeaderText({"HTTP/1.1 200 OK", "A: 1"}), T("HTTP/1.1 200 OK\r\nA: 1\r\n\r\n"));
    const std::string near(4999 - 4, 'x');
    EXPECT_EQ(rawHeaderText({near}).size(), 4999u);
    EXPECT_EQ(rawHeaderText({near + "x"}), T(std::string(5000, ' ')));
}

} // namespace
} // namespace shareseek
