#include "text/markers.h"

#include "support/text_printing.h"

#include <gtest/gtest.h>

namespace shareseek {
namespace {

using testing::L;
using testing::T;

TEST(ExtractBetween, TakesThePieceBetweenTheMarkers) {
    struct Case {
        const char* name;
        Text subject, startMarker, endMarker;
        int start;
        bool caseSensitive;
        Text expected;
    };
    const Case cases[] = {
        {"quote escape", T("name=\"abc\" id=5"), L(u8"name=#引号"), L(u8"#引号"), 0, false,
         T("abc")},
        {"case ignored, blank kept", T("user-agent: Foo/1.0\r\n"), T("User-Agent:"), T("\r\n"), 0,
         false, T(" Foo/1.0")},
        {"first occurrences", T("<b>x</b><b>y</b>"), T("<b>"), T("</b>"), 0, false, T("x")},
        {"from a start position", T("<b>x</b><b>y</b>"), T("<b>"), T("</b>"), 2, false, T("y")},
        {"Chinese markers", L(u8"最新版本→2←完毕！"), L(u8"最新版本→"), L(u8"←完毕！"), 0, false,
         T("2")},
        {"end marker only before the start marker", T("a=1; b=2"), T("b="), T(";"), 0, false,
         T("")},
        {"adjacent markers", T("[]"), T("["), T("]"), 0, false, T("")},
        {"start marker absent, case-sensitive", T("xAy"), T("a"), T("y"), 0, true, T("")},
        {"start marker absent", T("abc"), T("x"), T("c"), 0, false, T("")},
        {"end marker absent", T("abc"), T("a"), T("x"), 0, false, T("")},
        {"start marker at the very end", T("abc"), T("c"), T("c"), 0, false, T("")},
        {"end marker never overlaps the start marker", T("aXa"), T("aX"), T("Xa"), 0, false, T("")},
        {"escape alone is a double quote", T("say \"hi\""), L(u8"#引号"), L(u8"#引号"), 0, false,
         T("hi")},
        {"upper-case subject matches", T("USER-AGENT:x\r\n"), T("User-Agent:"), T("\r\n"), 0, false,
         T("x")},
        {"upper-case subject, case-sensitive", T("USER-AGENT:x\r\n"), T("User-Agent:"), T("\r\n"),
         0, true, T("")},
        // 癆 is B0 41: its second byte is no "A".
        {"trail byte is not a marker", T("\xB0\x41xA1]"), T("A"), T("]"), 0, false, T("1")},
        {"start past the end", T("ab"), T("a"), T("b"), 9, false, T("")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(extractBetween(c.subject, c.startMarker, c.endMarker, c.start, c.caseSensitive),
                  c.expected);
    }
}

} // namespace
} // namespace shareseek
