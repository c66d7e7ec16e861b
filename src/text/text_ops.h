#pragma once

#include "text/text.h"

#include <optional>

// The text operations every part of the core uses. Lengths are byte counts and positions are
// 1-based byte positions; -1 means "not found". Searching, substituting and separating step
// through a text one character at a time and match only where a character begins; the three
// cutting operations count plain bytes. Ignoring case means the ASCII letters only.
namespace shareseek {

inline int byteCount(const Text& text) {
    return static_cast<int>(text.size());
}

// First occurrence of `sought` that begins at or after `start` (below 1 means 1).
int searchForward(const Text& subject, const Text& sought, int start = 1, bool ignoreCase = false);

// Last occurrence of `sought`; with `start` >= 1 only occurrences that end before it count.
int searchBackward(const Text& subject, const Text& sought, int start = 0, bool ignoreCase = false);

Text leadingBytes(const Text& text, int count);
Text trailingBytes(const Text& text, int count);
Text innerBytes(const Text& text, int position, int count);

struct SubstituteOptions {
    int start = 1;            // bytes before it are copied unchanged
    std::optional<int> count; // how many replacements; none means all of them
    bool matchCase = false;   // false: ASCII letters match in either case
};

// Replaces non-overlapping occurrences of `oldText`, left to right.
Text substitute(const Text& subject, const Text& oldText, const Text& newText = Text(),
                SubstituteOptions options = {});

// Cuts `subject` at every exact occurrence of `separator`. An empty subject gives no
// elements, an empty separator the whole subject; a separator at the end adds no element.
TextList separate(const Text& subject, const Text& separator = Text(","));

// A space here is the ASCII space or the full-width space (0xA1 0xA1).
Text stripSpaces(const Text& text);
Text dropSpaces(const Text& text);

Text asciiLower(const Text& text);

// A one-byte text of the low 8 bits of `code`; code 0 gives the empty text.
Text byteCharacter(int code);
Text spaceRun(int count);

} // namespace shareseek
