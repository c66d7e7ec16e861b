#include "text/numbers.h"

#include "support/text_printing.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>
#include <locale.h>

namespace shareseek {
namespace {

using testing::L;
using testing::T;

TEST(IntegerValue, ReadsSignAndDigitsAfterWhiteSpace) {
    struct Case {
        const char* name;
        Text input;
        int expected;
    };
    const Case cases[] = {
        {"digits", T("42"), 42},
        {"leading white space and sign", T(" \t-17x"), -17},
        {"plus sign", T("+8"), 8},
        {"stops at the first other character", T("12.9"), 12},
        {"no digits", T("abc"), 0},
        {"empty", T(""), 0},
        {"a space then a digit", T(" 3"), 3},
        {"full-width digits", L(u8"１２３"), 123},
        {"full-width space and minus", L(u8"　－５"), -5},
        {"held at the top of the range", T("99999999999"), std::numeric_limits<int>::max()},
        {"held at the bottom of the range", T("-99999999999"), std::numeric_limits<int>::min()},
        {"letters", L(u8"新版"), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(integerValue(c.input), c.expected);
    }
}

TEST(IntegerValue, TruncatesFractionsTowardZero) {
    EXPECT_EQ(integerValue(5.9), 5);
    EXPECT_EQ(integerValue(-5.9), -5);
    EXPECT_EQ(integerValue(1e20), std::numeric_limits<int>::max());
    EXPECT_EQ(integerValue(std::nan("")), 0);
}

TEST(NumericValue, ReadsAsMuchOfADecimalNumberAsFits) {
    struct Case {
        const char* name;
        Text input;
        double expected;
    };
    const Case cases[] = {
        {"integer", T("24"), 24.0},
        {"fraction", T("-1.5abc"), -1.5},
        {"leading point", T(".25"), 0.25},
        {"exponent", T("1e3"), 1000.0},
        {"incomplete exponent", T("2e+"), 2.0},
        {"nothing fits", T("x1"), 0.0},
        {"a point alone", T("."), 0.0},
        {"full-width", L(u8"２．５"), 2.5},
        {"no words for infinity", T("inf"), 0.0},
        {"the site index of a worker parameter", T("24.N.*host"), 24.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_DOUBLE_EQ(numericValue(c.input), c.expected);
    }
    EXPECT_TRUE(std::isinf(numericValue(T("1e999"))));
    EXPECT_EQ(numericValue(T("1e-999")), 0.0);
}

TEST(DecimalText, WritesIntegersAndThirteenSignificantDigits) {
    EXPECT_EQ(decimalText(0), T("0"));
    EXPECT_EQ(decimalText(-120), T("-120"));
    EXPECT_EQ(decimalText(24.0), T("24"));
    EXPECT_EQ(decimalText(0.1), T("0.1"));
    EXPECT_EQ(decimalText(1.0 / 3.0), T("0.3333333333333"));
    EXPECT_EQ(decimalText(1e20), T("1e+20"));
    EXPECT_EQ(decimalText(1234567890123456.0), T("1.234567890123e+15"));
}

// The window's toolkit takes the user's locale; a German one writes "2,5" with printf.
TEST(DecimalText, IsTheSameInEveryLocale) {
    const locale_t german = newlocale(LC_ALL_MASK, "de_DE.UTF-8", locale_t{});
    if (german == locale_t{})
        GTEST_SKIP() << "no de_DE.UTF-8 locale here (scripts/packages.sh makes one)";
    const locale_t before = uselocale(german);
    const Text half = decimalText(2.5);
    const Text small = decimalText(-0.125);
    const double read = numericValue(T("2.5"));
    uselocale(before);
    freelocale(german);
    EXPECT_EQ(half, T("2.5"));
    EXPECT_EQ(small, T("-0.125"));
    EXPECT_EQ(read, 2.5);
}

TEST(HexText, WritesUpperCaseWithoutPrefix) {
    EXPECT_EQ(hexText(0), T("0"));
    EXPECT_EQ(hexText(255), T("FF"));
    EXPECT_EQ(hexText(0x1A2B), T("1A2B"));
    EXPECT_EQ(hexText(-1), T("FFFFFFFF"));
}

} // namespace
} // namespace shareseek
