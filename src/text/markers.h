#pragma once

#include "text/text.h"

namespace shareseek {

// The piece of `subject` between the first occurrence of `startMarker` at or after `start`
// and the next occurrence of `endMarker` after it; the empty text when either is missing.
// In the markers, "#引号" stands for a double quote. Case is ignored unless `caseSensitive`.
Text extractBetween(const Text& subject, const Text& startMarker, const Text& endMarker,
                    int start = 0, bool caseSensitive = false);

// The markers' escape for a double quote.
const Text& quoteEscapeText();

} // namespace shareseek
