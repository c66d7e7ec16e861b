#pragma once

#include "text/text.h"

// Keeps a caller's cookie text up to date with the cookies a response set: a received cookie
// replaces one of the same name, one the server deleted (value "deleted") goes, the rest
// stays, and no item occurs twice. Items are "name=value" or a bare name.
namespace shareseek {

// The text before the item's first "=" (the whole item without one), spaces stripped.
Text cookieName(const Text& item);

bool namePresent(const TextList& items, const Text& name);

// 1-based position of the first item equal to `text` byte for byte, -1 when none is.
int itemPosition(const TextList& items, const Text& text);

// The text with repeated items (whole items, cut at `separator`) left out.
Text removeDuplicates(const Text& text, const Text& separator);

// Merges `receivedCookies` into `cookieText` and returns the merged text, which is also
// stored in `cookieText`; `receivedCookies` is left without spaces.
Text mergeCookies(Text& cookieText, Text& receivedCookies);

} // namespace shareseek
