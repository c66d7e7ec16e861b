#pragma once

#include "seams/control_names.h"
#include "text/codepage.h"
#include "text/text.h"

#include <QString>

// Every crossing between our code page 936 texts and Qt's strings, written out.
namespace shareseek {

inline QString toQString(const Text& text) {
    const std::u16string units = textToUtf16(text);
    return QString(reinterpret_cast<const QChar*>(units.data()),
                   static_cast<qsizetype>(units.size()));
}

inline Text fromQString(const QString& string) {
    return utf16ToText(std::u16string_view(reinterpret_cast<const char16_t*>(string.utf16()),
                                           static_cast<std::size_t>(string.size())));
}

// Our UTF-8 source literals and control names.
inline QString qs(std::u8string_view utf8) {
    return QString::fromUtf8(reinterpret_cast<const char*>(utf8.data()),
                             static_cast<qsizetype>(utf8.size()));
}

} // namespace shareseek
