#pragma once

#include "text/text.h"

#include <cstdint>

// Conversions between texts and numbers. Full-width ASCII forms (0xA3 0xA1 to 0xA3 0xFE) and
// the full-width space become their one-byte forms before a text is read as a number.
namespace shareseek {

// Leading white space, an optional sign and the decimal digits that follow; 0 without
// digits. Values beyond the 32-bit range are held at its ends.
std::int32_t integerValue(const Text& text);
// Truncation toward zero, held within the 32-bit range; not-a-number gives 0.
std::int32_t integerValue(double value);

// Sign, digits, optional decimal point and fraction, optional exponent, as far as they fit.
double numericValue(const Text& text);

Text decimalText(int value);
Text decimalText(long long value);
Text decimalText(double value); // as "%.13g"

// Upper-case hexadecimal digits without prefix or leading zeros, as "%X".
Text hexText(std::int32_t value);

// The text with full-width ASCII forms and full-width spaces turned into one-byte forms.
Text halfWidthForms(const Text& text);

} // namespace shareseek
