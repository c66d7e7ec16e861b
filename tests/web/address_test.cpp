#include "web/address.h"

#include "support/text_printing.h"

#include <gtest/gtest.h>

namespace shareseek {
namespace {

using testing::T;

TEST(Address, SplitsIntoHostPortAndObjectPath) {
    struct Case {
        const char* address;
        const char* host;
        int port;
        const char* path;
    };
    const Case cases[] = {
        {"http://A.B/P?Q=1", "a.b", 80, "/P?Q=1"},
        {"HTTPS://A.B.C:444/P", "a.b.c", 444, "/P"},
        {"https://A.B", "a.b", 443, "/"},
        {"A.B/P", "a.b", 80, "/P"},
        {"A.B:81", "a.b", 81, "/"},
        {"http://A.B?Q=1/2", "a.b?q=1", 80, "/2"},
        {"http://A.B:/P", "a.b", 0, "/P"},
        {"", "", 80, "/"},
        // a host found inside the scheme text first: defined so on purpose, and kept
        {"http://t/x", "t", 80, "//t/x"},
        // an inner "http://" keeps the scheme from being added; the path follows that host
        {"x.com/go?u=http://y.org/z", "y.org", 80, "/z"},
        // user information is not treated specially
        {"http://user:pw@h.com/p", "user", 0, "/p"},
        // "https" at the start without "://" is secure but parsed as plain http
        {"httpsite.com/a", "httpsite.com", 443, "/a"},
        {"http://127.0.0.1:8080/s?wd=x", "127.0.0.1", 8080, "/s?wd=x"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.address);
        EXPECT_EQ(hostOf(T(c.address)), T(c.host));
        EXPECT_EQ(portOf(T(c.address)), c.port);
        EXPECT_EQ(objectPathOf(T(c.address)), T(c.path));
    }
}

TEST(Address, SwitchesOfHostExtraction) {
    EXPECT_EQ(hostOf(T("http://A.B.C/x"), true), T("b.c"));
    EXPECT_EQ(hostOf(T("http://A.B/x"), true), T("a.b"));
    EXPECT_EQ(hostOf(T("http://localhost/x"), true), T("localhost"));
    EXPECT_EQ(hostOf(T("A.B.C:81"), true), T("b.c"));
    EXPECT_EQ(hostOf(T("A.B.C:81"), true, true), T("b.c:81"));
    EXPECT_EQ(hostOf(T("HTTP://A.B:81/x"), false, true), T("a.b:81"));
}

TEST(Address, SecureMeansTheFirstFiveLettersAreHttps) {
    EXPECT_TRUE(isSecureAddress(T("HTTPS://x")));
    EXPECT_TRUE(isSecureAddress(T("httpsx")));
    EXPECT_FALSE(isSecureAddress(T("http://x")));
    EXPECT_FALSE(isSecureAddress(T("")));
}

} // namespace
} // namespace shareseek
