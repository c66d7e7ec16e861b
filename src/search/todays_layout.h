#pragma once

#include "text/text.h"

#include <vector>

// Today's results pages: each hit is a block whose heading (`<h3 ...>`) holds the hit's link,
// with attributes in any order and any white space. Read only when the fixed pattern finds
// nothing on a page.
namespace shareseek {

struct Hit {
    Text title;
    Text address;
};

// The first link of every `<h3` heading: its href as written (the address), and its text
// with every tag removed, character references decoded and white-space runs made one space
// (the title). Headings without a link, or whose link has no href, give no hit.
std::vector<Hit> readTodaysLayout(const Text& page);

// `html` with character references (&amp; &lt; &#160; &#x4E2D; ...) decoded into code page
// 936; one that names no character, or one code page 936 lacks, stays as written.
Text decodeCharacterReferences(const Text& html);

} // namespace shareseek
