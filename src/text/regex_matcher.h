#pragma once

#include "text/text.h"

#include <memory>

namespace shareseek {

// Runs one regular expression (ECMAScript-like syntax, on PCRE2) over one text and reads its
// matches and groups by number, counted from 1. The subject is matched as Unicode, so a
// Chinese character is one character. Every failure is quiet: an invalid pattern makes
// `create` return false and leaves no matches; a number out of range gives the empty text.
// A matcher belongs to one thread.
class RegexMatcher {
public:
    RegexMatcher();
    ~RegexMatcher();
    RegexMatcher(RegexMatcher&&) noexcept;
    RegexMatcher& operator=(RegexMatcher&&) noexcept;

    // Compiles `pattern` and finds its matches in `subject`. With `quoteEscape`, "#引号" in
    // the pattern stands for a double quote. True when the pattern ran, matches or not.
    bool create(const Text& pattern, const Text& subject, bool caseSensitive = false,
                bool multiLine = true, bool global = true, bool quoteEscape = false);

    int matchCount() const;
    // With `position`, also the match's 0-based byte offset in the subject (-2 when unknown).
    Text matchText(int match, int* position = nullptr) const;
    Text submatchText(int match, int group, int* position = nullptr) const;
    // The number of groups of the first match; 0 without matches.
    int submatchCount() const;
    Text patternText() const;
    // The subject with the matches replaced (PCRE2's replacement syntax: $1, ${name}).
    Text replace(const Text& replacement) const;
    // A matcher sharing this one's compiled pattern and matches, with its own subject copy.
    RegexMatcher copy() const;
    void destroy();

    // Bounds on the work of one match, so that no pattern or page can run away.
    static constexpr unsigned matchLimit = 10'000'000;
    static constexpr unsigned depthLimit = 10'000;

private:
    struct Engine;
    struct Matches;

    std::shared_ptr<const Engine> engine_;
    std::shared_ptr<const Matches> matches_;
    Text subject_;
};

} // namespace shareseek
