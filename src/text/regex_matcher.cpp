#define PCRE2_CODE_UNIT_WIDTH 16
#include "text/regex_matcher.h"

#include "text/codepage.h"
#include "text/markers.h"
#include "text/text_ops.h"

#include <pcre2.h>

#include <vector>

namespace shareseek {
namespace {

PCRE2_SPTR16 units(const std::u16string& s) {
    return reinterpret_cast<PCRE2_SPTR16>(s.data());
}

struct CodeDeleter {
    void operator()(pcre2_code* code) const { pcre2_code_free(code); }
};
struct MatchDataDeleter {
    void operator()(pcre2_match_data* data) const { pcre2_match_data_free(data); }
};
struct MatchContextDeleter {
    void operator()(pcre2_match_context* context) const { pcre2_match_context_free(context); }
};
struct JitStackDeleter {
    void operator()(pcre2_jit_stack* stack) const { pcre2_jit_stack_free(stack); }
};

// One JIT stack per thread, large enough for long lines; matchers never cross threads.
pcre2_jit_stack* threadJitStack() {
    thread_local std::unique_ptr<pcre2_jit_stack, JitStackDeleter> stack(
        pcre2_jit_stack_create(32 * 1024, 4 * 1024 * 1024, nullptr));
    return stack.get();
}

std::unique_ptr<pcre2_match_context, MatchContextDeleter> boundedMatchContext() {
    std::unique_ptr<pcre2_match_context, MatchContextDeleter> context(
        pcre2_match_context_create(nullptr));
    if (context) {
        pcre2_set_match_limit(context.get(), RegexMatcher::matchLimit);
        pcre2_set_depth_limit(context.get(), RegexMatcher::depthLimit);
        pcre2_jit_stack_assign(context.get(), nullptr, threadJitStack());
    }
    return context;
}

bool isHighSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

} // namespace

struct RegexMatcher::Engine {
    std::unique_ptr<pcre2_code, CodeDeleter> code;
    Text pattern;
    bool ignoreCase = true;
    bool global = true;
};

// Every match as its start and end and those of each group, in UTF-16 units of `subject`.
struct RegexMatcher::Matches {
    std::u16string subject;
    std::size_t stride = 0; // offsets per match: 2 for the whole match, 2 per group
    std::vector<PCRE2_SIZE> offsets;

    int count() const { return stride == 0 ? 0 : static_cast<int>(offsets.size() / stride); }
    int groups() const { return static_cast<int>(stride / 2) - 1; }
    // The text of group `group` (0: the whole match) of the 0-based match `index`.
    Text text(int index, int group) const {
        const PCRE2_SIZE* o = &offsets[static_cast<std::size_t>(index) * stride];
        const PCRE2_SIZE begin = o[2 * group], end = o[2 * group + 1];
        if (begin == PCRE2_UNSET || end < begin)
            return Text();
        return utf16ToText(std::u16string_view(subject).substr(begin, end - begin));
    }
    PCRE2_SIZE firstIndex(int index) const {
        return offsets[static_cast<std::size_t>(index) * stride];
    }
};

RegexMatcher::RegexMatcher() = default;
RegexMatcher::~RegexMatcher() = default;
RegexMatcher::RegexMatcher(RegexMatcher&&) noexcept = default;
RegexMatcher& RegexMatcher::operator=(RegexMatcher&&) noexcept = default;

bool RegexMatcher::create(const Text& pattern, const Text& subject, bool caseSensitive,
                          bool multiLine, bool global, bool quoteEscape) {
    engine_.reset();
    matches_.reset();
    subject_ = subject;

    auto engine = std::make_shared<Engine>();
    engine->pattern = quoteEscape
                          ? substitute(pattern, quoteEscapeText(), Text("\""), {.matchCase = true})
                          : pattern;
    engine->ignoreCase = !caseSensitive;
    engine->global = global;

    // ECMAScript's reading of \u, \x and \U, of $ at the very end, and of unset back
    // references; a dot never matches a line feed.
    const uint32_t options = PCRE2_UTF | PCRE2_ALT_BSUX | PCRE2_DOLLAR_ENDONLY |
                             PCRE2_MATCH_UNSET_BACKREF | (caseSensitive ? 0 : PCRE2_CASELESS) |
                             (multiLine ? PCRE2_MULTILINE : 0);
    std::unique_ptr<pcre2_compile_context, decltype(&pcre2_compile_context_free)> compileContext(
        pcre2_compile_context_create(nullptr), pcre2_compile_context_free);
    if (!compileContext)
        return false;
    pcre2_set_newline(compileContext.get(), PCRE2_NEWLINE_LF);
    const std::u16string pattern16 = textToUtf16(engine->pattern);
    int error = 0;
    PCRE2_SIZE errorOffset = 0;
    engine->code.reset(pcre2_compile(units(pattern16), pattern16.size(), options, &error,
                                     &errorOffset, compileContext.get()));
    engine_ = engine;
    if (!engine->code)
        return false;
    pcre2_jit_compile(engine->code.get(), PCRE2_JIT_COMPLETE); // the interpreter if JIT fails

    auto matches = std::make_shared<Matches>();
    matches->subject = textToUtf16(subject);
    const std::unique_ptr<pcre2_match_data, MatchDataDeleter> data(
        pcre2_match_data_create_from_pattern(engine->code.get(), nullptr));
    const auto context = boundedMatchContext();
    if (!data || !context)
        return false;
    matches->stride = 2 * pcre2_get_ovector_count(data.get());

    const std::u16string& s = matches->subject;
    PCRE2_SIZE start = 0;
    // The subject is valid UTF-16 from the conversion: no need to check it on every match.
    uint32_t matchOptions = 0;
    while (start <= s.size()) {
        const int rc = pcre2_match(engine->code.get(), units(s), s.size(), start, matchOptions,
                                   data.get(), context.get());
        if (rc < 0) // no further match, or a bound reached: keep what was found
            break;
        const PCRE2_SIZE* o = pcre2_get_ovector_pointer(data.get());
        matches->offsets.insert(matches->offsets.end(), o, o + matches->stride);
        if (!global)
            break;
        start = o[1];
        if (o[1] == o[0]) // an empty match: go on after the next character
            start += start < s.size() && isHighSurrogate(s[start]) ? 2 : 1;
        matchOptions = PCRE2_NO_UTF_CHECK;
    }
    matches_ = matches;
    return true;
}

int RegexMatcher::matchCount() const {
    return matches_ ? matches_->count() : 0;
}

Text RegexMatcher::matchText(int match, int* position) const {
    return submatchText(match, 0, position);
}

Text RegexMatcher::submatchText(int match, int group, int* position) const {
    Text found;
    if (matches_ && match >= 1 && match <= matches_->count() && group >= 0 &&
        group <= matches_->groups())
        found = matches_->text(match - 1, group);
    if (position) {
        *position = -2;
        if (matches_ && match >= 1 && match <= matches_->count()) {
            // The engine counts characters, the caller bytes: a character index never lies
            // beyond the byte offset, so search the subject from there.
            const int from = static_cast<int>(matches_->firstIndex(match - 1));
            *position = searchForward(subject_, found, from, engine_->ignoreCase) - 1;
            if (*position < 0)
                *position = -2;
        }
    }
    return found;
}

int RegexMatcher::submatchCount() const {
    return matches_ && matches_->count() > 0 ? matches_->groups() : 0;
}

Text RegexMatcher::patternText() const {
    return engine_ ? engine_->pattern : Text();
}

Text RegexMatcher::replace(const Text& replacement) const {
    if (!engine_ || !engine_->code)
        return Text();
    const std::u16string subject = textToUtf16(subject_);
    const std::u16string with = textToUtf16(replacement);
    const auto context = boundedMatchContext();
    const uint32_t options =
        PCRE2_SUBSTITUTE_OVERFLOW_LENGTH | (engine_->global ? PCRE2_SUBSTITUTE_GLOBAL : 0);
    std::u16string out(subject.size() + with.size() + 64, u'\0');
    for (int attempt = 0; attempt < 2; ++attempt) {
        PCRE2_SIZE length = out.size();
        const int rc = pcre2_substitute(engine_->code.get(), units(subject), subject.size(), 0,
                                        options, nullptr, context.get(), units(with), with.size(),
                                        reinterpret_cast<PCRE2_UCHAR16*>(out.data()), &length);
        if (rc >= 0)
            return utf16ToText(std::u16string_view(out).substr(0, length));
        if (rc != PCRE2_ERROR_NOMEMORY)
            return Text();
        out.assign(length, u'\0');
    }
    return Text();
}

RegexMatcher RegexMatcher::copy() const {
    RegexMatcher other;
    other.engine_ = engine_;
    other.matches_ = matches_;
    other.subject_ = subject_;
    return other;
}

void RegexMatcher::destroy() {
    engine_.reset();
    matches_.reset();
    subject_ = Text();
}

} // namespace shareseek
