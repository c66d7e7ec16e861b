#pragma once

#include "text/text.h"

#include <string>
#include <string_view>

// Conversion between code page 936, UTF-8 and UTF-16 through glibc iconv. A conversion never
// fails and never cuts a text short: an input byte that does not form a character becomes the
// target's replacement character, and a character that code page 936 lacks becomes "?".
namespace shareseek {

enum class CodePage { Cp936, Utf8, Utf16Le };

std::string convertCodePage(std::string_view input, CodePage from, CodePage to);

Text utf8ToText(std::string_view utf8);
std::string textToUtf8(const Text& text);
std::u16string textToUtf16(const Text& text);
Text utf16ToText(std::u16string_view utf16);

// A text from a UTF-8 literal of our sources, such as u8"请输入关键字！".
Text literal(std::u8string_view utf8);

} // namespace shareseek
