#include "search/todays_layout.h"

#include "text/codepage.h"

#include <array>
#include <charconv>
#include <optional>
#include <string_view>

// Markup is ASCII and a code page 936 trail byte is never below 0x40, so the page is read a
// byte at a time: no '<', '>', '&', quote or space byte can stand inside a Chinese character.
namespace shareseek {
namespace {

using std::string_view;

char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

// Where `needle` (lower-case ASCII) next occurs in `hay` from `from`, ASCII case ignored.
std::size_t findIgnoringCase(string_view hay, string_view needle, std::size_t from) {
    for (std::size_t i = from; i + needle.size() <= hay.size(); ++i) {
        std::size_t k = 0;
        while (k < needle.size() && lower(hay[i + k]) == needle[k])
            ++k;
        if (k == needle.size())
            return i;
    }
    return string_view::npos;
}

// The tag that opens at `at` ('<'), up to its '>' outside quotes; npos when it never closes.
std::size_t tagEnd(string_view page, std::size_t at) {
    char quote = 0;
    for (std::size_t i = at + 1; i < page.size(); ++i) {
        const char c = page[i];
        if (quote != 0) {
            if (c == quote)
                quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '>') {
            return i;
        }
    }
    return string_view::npos;
}

// The value of attribute `name` (lower case) inside one tag's text, quoted or bare.
std::optional<string_view> attribute(string_view tag, string_view name) {
    std::size_t i = 0;
    // Skip the tag's own name.
    while (i < tag.size() && !isSpace(tag[i]) && tag[i] != '>')
        ++i;
    while (i < tag.size()) {
        while (i < tag.size() && (isSpace(tag[i]) || tag[i] == '/'))
            ++i;
        const std::size_t nameBegin = i;
        while (i < tag.size() && !isSpace(tag[i]) && tag[i] != '=' && tag[i] != '>')
            ++i;
        const string_view attributeName = tag.substr(nameBegin, i - nameBegin);
        while (i < tag.size() && isSpace(tag[i]))
            ++i;
        string_view value;
        if (i < tag.size() && tag[i] == '=') {
            ++i;
            while (i < tag.size() && isSpace(tag[i]))
                ++i;
            if (i < tag.size() && (tag[i] == '"' || tag[i] == '\'')) {
                const char quote = tag[i++];
                const std::size_t end = tag.find(quote, i);
                value = tag.substr(i, end == string_view::npos ? string_view::npos : end - i);
                i = end == string_view::npos ? tag.size() : end + 1;
            } else {
                const std::size_t begin = i;
                while (i < tag.size() && !isSpace(tag[i]) && tag[i] != '>')
                    ++i;
                value = tag.substr(begin, i - begin);
            }
        }
        if (attributeName.size() == name.size() && findIgnoringCase(attributeName, name, 0) == 0)
            return value;
        if (attributeName.empty())
            ++i;
    }
    return std::nullopt;
}

// The text of `html` without its tags.
std::string withoutTags(string_view html) {
    std::string out;
    for (std::size_t i = 0; i < html.size(); ++i) {
        if (html[i] == '<') {
            const std::size_t end = tagEnd(html, i);
            if (end == string_view::npos)
                break;
            i = end;
            continue;
        }
        out += html[i];
    }
    return out;
}

// White-space runs made one space, none at either end.
std::string foldedWhiteSpace(string_view text) {
    std::string out;
    bool space = false;
    for (const char c : text) {
        if (isSpace(c)) {
            space = !out.empty();
            continue;
        }
        if (space)
            out += ' ';
        space = false;
        out += c;
    }
    return out;
}

struct NamedReference {
    string_view name;
    char32_t character;
};
constexpr std::array<NamedReference, 8> namedReferences{{{"amp", U'&'},
                                                         {"lt", U'<'},
                                                         {"gt", U'>'},
                                                         {"quot", U'"'},
                                                         {"apos", U'\''},
                                                         {"nbsp", U' '},
                                                         {"middot", U'\u00B7'},
                                                         {"hellip", U'\u2026'}}};

std::string utf8Of(char32_t c) {
    std::string out;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
    return out;
}

// The character a reference's body (between '&' and ';') names.
std::optional<char32_t> referencedCharacter(string_view body) {
    if (body.size() >= 2 && body[0] == '#') {
        const bool hex = body[1] == 'x' || body[1] == 'X';
        const string_view digits = body.substr(hex ? 2 : 1);
        std::uint32_t value = 0;
        const auto [end, error] =
            std::from_chars(digits.data(), digits.data() + digits.size(), value, hex ? 16 : 10);
        if (error != std::errc() || end != digits.data() + digits.size() || value == 0 ||
            value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
            return std::nullopt;
        return static_cast<char32_t>(value);
    }
    for (const NamedReference& named : namedReferences)
        if (body == named.name)
            return named.character;
    return std::nullopt;
}

} // namespace

Text decodeCharacterReferences(const Text& html) {
    const string_view s = html.view();
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        const std::size_t semicolon = s[i] == '&' ? s.find(';', i + 1) : string_view::npos;
        const std::optional<char32_t> named =
            semicolon != string_view::npos && semicolon - i <= 10
                ? referencedCharacter(s.substr(i + 1, semicolon - i - 1))
                : std::nullopt;
        const Text decoded = named ? utf8ToText(utf8Of(*named)) : Text();
        // A character code page 936 lacks comes back as "?": keep the reference instead.
        if (!named || (decoded == Text("?") && *named != U'?')) {
            out += s[i];
            continue;
        }
        out += decoded.bytes();
        i = semicolon;
    }
    return Text(std::move(out));
}

std::vector<Hit> readTodaysLayout(const Text& page) {
    const string_view s = page.view();
    std::vector<Hit> hits;
    for (std::size_t at = findIgnoringCase(s, "<h3", 0); at != string_view::npos;
         at = findIgnoringCase(s, "<h3", at + 3)) {
        if (at + 3 < s.size() && !isSpace(s[at + 3]) && s[at + 3] != '>')
            continue; // another tag that begins so
        const std::size_t headingEnd = findIgnoringCase(s, "</h3", at);
        const string_view heading =
            s.substr(at, headingEnd == string_view::npos ? string_view::npos : headingEnd - at);
        std::size_t link = findIgnoringCase(heading, "<a", 0);
        while (link != string_view::npos && link + 2 < heading.size() &&
               !isSpace(heading[link + 2]))
            link = findIgnoringCase(heading, "<a", link + 2);
        if (link == string_view::npos)
            continue;
        const std::size_t openEnd = tagEnd(heading, link);
        if (openEnd == string_view::npos)
            continue;
        const std::optional<string_view> href =
            attribute(heading.substr(link + 1, openEnd - link - 1), "href");
        if (!href)
            continue;
        const std::size_t close = findIgnoringCase(heading, "</a", openEnd);
        const string_view text = heading.substr(
            openEnd + 1, close == string_view::npos ? string_view::npos : close - openEnd - 1);
        // References are decoded before white space is folded: "&#10;" is white space too.
        const Text decoded = decodeCharacterReferences(Text(withoutTags(text)));
        hits.push_back({Text(foldedWhiteSpace(decoded.view())), Text(*href)});
    }
    return hits;
}

} // namespace shareseek
