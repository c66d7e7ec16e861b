#include "text/numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <locale.h>
#include <stdlib.h>

namespace shareseek {
namespace {

constexpr auto int32Min = std::numeric_limits<std::int32_t>::min();
constexpr auto int32Max = std::numeric_limits<std::int32_t>::max();

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isWhiteSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

std::size_t skipWhiteSpace(std::string_view s, std::size_t i) {
    while (i < s.size() && isWhiteSpace(s[i]))
        ++i;
    return i;
}

std::size_t skipDigits(std::string_view s, std::size_t i) {
    while (i < s.size() && isDigit(s[i]))
        ++i;
    return i;
}

// Length of the longest prefix of `s` (from `i`) of the form digits [. digits] [e [sign] digits]
// with at least one digit in the mantissa; 0 when there is none.
std::size_t decimalNumberLength(std::string_view s, std::size_t i) {
    const std::size_t begin = i;
    std::size_t end = skipDigits(s, i);
    bool digits = end > begin;
    if (end < s.size() && s[end] == '.') {
        const std::size_t fractionEnd = skipDigits(s, end + 1);
        digits = digits || fractionEnd > end + 1;
        end = fractionEnd;
    }
    if (!digits)
        return 0;
    if (end < s.size() && (s[end] == 'e' || s[end] == 'E')) {
        std::size_t exponent = end + 1;
        if (exponent < s.size() && (s[exponent] == '+' || s[exponent] == '-'))
            ++exponent;
        const std::size_t exponentEnd = skipDigits(s, exponent);
        if (exponentEnd > exponent)
            end = exponentEnd;
    }
    return end - begin;
}

} // namespace

Text halfWidthForms(const Text& text) {
    const std::string_view s = text.view();
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t length = charLengthAt(s, i);
        const auto lead = static_cast<unsigned char>(s[i]);
        const auto trail = length == 2 ? static_cast<unsigned char>(s[i + 1]) : 0;
        if (length == 2 && lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE)
            out += static_cast<char>(trail - 0x80);
        else if (length == 2 && lead == 0xA1 && trail == 0xA1)
            out += ' ';
        else
            out.append(s, i, length);
        i += length;
    }
    return Text(std::move(out));
}

namespace {

// Where the digits of a number written in `s` begin, after white space and a sign.
struct NumberStart {
    std::size_t at = 0;
    bool negative = false;
};

NumberStart numberStart(std::string_view s) {
    NumberStart start{skipWhiteSpace(s, 0)};
    if (start.at < s.size() && (s[start.at] == '+' || s[start.at] == '-'))
        start.negative = s[start.at++] == '-';
    return start;
}

} // namespace

std::int32_t integerValue(const Text& text) {
    const Text half = halfWidthForms(text);
    const std::string_view s = half.view();
    const auto [from, negative] = numberStart(s);
    std::size_t i = from;
    long long value = 0;
    for (; i < s.size() && isDigit(s[i]); ++i) {
        value = value * 10 + (s[i] - '0');
        if (value > -static_cast<long long>(int32Min))
            break; // already out of range; the clamp below decides
    }
    value = negative ? -value : value;
    return static_cast<std::int32_t>(std::clamp<long long>(value, int32Min, int32Max));
}

std::int32_t integerValue(double value) {
    if (std::isnan(value))
        return 0;
    const double truncated = std::trunc(value);
    if (truncated <= static_cast<double>(int32Min))
        return int32Min;
    if (truncated >= static_cast<double>(int32Max))
        return int32Max;
    return static_cast<std::int32_t>(truncated);
}

double numericValue(const Text& text) {
    const Text half = halfWidthForms(text);
    const std::string_view s = half.view();
    const auto [i, negative] = numberStart(s);
    const std::size_t length = decimalNumberLength(s, i);
    if (length == 0)
        return 0.0;
    // The C locale's decimal point, whatever locale the program runs in; out-of-range values
    // become infinity or zero as strtod makes them.
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t{});
    const std::string number(s.substr(i, length));
    const double value = strtod_l(number.c_str(), nullptr, cLocale);
    return negative ? -value : value;
}

Text decimalText(int value) {
    return decimalText(static_cast<long long>(value));
}

Text decimalText(long long value) {
    return Text(std::to_string(value));
}

// As "%.13g" in the C locale: the decimal point is a point whatever locale the program runs
// in (the window's toolkit takes the user's).
Text decimalText(double value) {
    char buffer[64];
    const auto [end, error] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 13);
    return error == std::errc()
               ? Text(std::string_view(buffer, static_cast<std::size_t>(end - buffer)))
               : Text();
}

Text hexText(std::int32_t value) {
    char buffer[16];
    const int length =
        std::snprintf(buffer, sizeof buffer, "%X", static_cast<std::uint32_t>(value));
    return Text(std::string_view(buffer, static_cast<std::size_t>(length)));
}

} // namespace shareseek
