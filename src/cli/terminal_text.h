#pragma once

#include <string>
#include <string_view>

// Titles and addresses come from pages we do not control: on a terminal, a control character
// (an escape sequence above all) would be obeyed, not shown. These make them visible.
namespace shareseek::cli {

// UTF-8 text with C0 controls, DEL and C1 controls (U+0080 to U+009F) shown as caret
// notation ("^[" for the escape character, "^?" for DEL) or "<U+009B>".
std::string visibleUtf8(std::string_view utf8);

// The same for code page 936 bytes, where only C0 controls and DEL can stand alone.
std::string visibleCp936(std::string_view bytes);

} // namespace shareseek::cli
