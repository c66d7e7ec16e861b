#include "text/text_ops.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string.h>

namespace shareseek {
namespace {

constexpr unsigned char fullWidthSpaceByte = 0xA1;

unsigned char foldAscii(unsigned char byte) {
    return byte >= 'A' && byte <= 'Z' ? static_cast<unsigned char>(byte + ('a' - 'A')) : byte;
}

// True when `sought` stands at byte `index` of `subject`, which is the start of a character.
// Ignoring case folds single-byte characters only; double-byte ones must match exactly.
bool matchesAt(std::string_view subject, std::size_t index, std::string_view sought,
               bool ignoreCase) {
    if (sought.size() > subject.size() - index)
        return false;
    if (!ignoreCase)
        return subject.compare(index, sought.size(), sought) == 0;
    for (std::size_t k = 0; k < sought.size();) {
        const std::size_t length = charLengthAt(subject, index + k);
        if (length == 2) {
            if (k + 1 >= sought.size() || subject[index + k] != sought[k] ||
                subject[index + k + 1] != sought[k + 1])
                return false;
        } else if (foldAscii(static_cast<unsigned char>(subject[index + k])) !=
                   foldAscii(static_cast<unsigned char>(sought[k]))) {
            return false;
        }
        k += length;
    }
    return true;
}

bool isFullWidthSpaceAt(std::string_view bytes, std::size_t index) {
    return index + 1 < bytes.size() &&
           static_cast<unsigned char>(bytes[index]) == fullWidthSpaceByte &&
           static_cast<unsigned char>(bytes[index + 1]) == fullWidthSpaceByte;
}

// Length of the space character at `index`, 0 when none stands there.
std::size_t spaceLengthAt(std::string_view bytes, std::size_t index) {
    if (bytes[index] == ' ')
        return 1;
    return isFullWidthSpaceAt(bytes, index) ? 2 : 0;
}

// From `boundary`, where a character begins, to the first character start at or after
// `target`. Runs of ASCII bytes are skipped eight at a time: each of them is a character.
std::size_t advanceToBoundary(std::string_view s, std::size_t boundary, std::size_t target) {
    while (boundary < target) {
        if (boundary + 8 <= target) {
            std::uint64_t word;
            std::memcpy(&word, s.data() + boundary, 8);
            if ((word & 0x8080808080808080ULL) == 0) {
                boundary += 8;
                continue;
            }
        }
        boundary += charLengthAt(s, boundary);
    }
    return boundary;
}

// Byte position of `needle` in `haystack` at or after `from`; glibc's memmem is much faster
// than a first-byte scan on markup, where the first byte of a marker is common.
std::size_t findBytes(std::string_view haystack, std::string_view needle, std::size_t from) {
    if (from > haystack.size())
        return std::string_view::npos;
    const void* found =
        ::memmem(haystack.data() + from, haystack.size() - from, needle.data(), needle.size());
    return found ? static_cast<std::size_t>(static_cast<const char*>(found) - haystack.data())
                 : std::string_view::npos;
}

} // namespace

int searchForward(const Text& subject, const Text& sought, int start, bool ignoreCase) {
    const std::string_view s = subject.view();
    const std::size_t from = static_cast<std::size_t>(std::max(start, 1) - 1);
    if (from >= s.size())
        return -1;
    if (ignoreCase) {
        for (std::size_t i = advanceToBoundary(s, 0, from); i < s.size(); i += charLengthAt(s, i))
            if (matchesAt(s, i, sought.view(), true))
                return static_cast<int>(i) + 1;
        return -1;
    }
    // Find each candidate by bytes, then keep it only where a character begins.
    std::size_t boundary = 0;
    for (std::size_t candidate = findBytes(s, sought.view(), from); candidate < s.size();
         candidate = findBytes(s, sought.view(), boundary)) {
        boundary = advanceToBoundary(s, boundary, candidate);
        if (boundary == candidate)
            return static_cast<int>(candidate) + 1;
    }
    return -1;
}

int searchBackward(const Text& subject, const Text& sought, int start, bool ignoreCase) {
    const std::string_view s = subject.view();
    if (s.empty())
        return -1;
    if (sought.empty())
        return 1;
    // An occurrence counts when its last byte lies before `start`.
    const std::size_t limit =
        start >= 1 ? std::min(static_cast<std::size_t>(start - 1), s.size()) : s.size();
    int found = -1;
    for (std::size_t i = 0; i + sought.size() <= limit; i += charLengthAt(s, i)) {
        if (matchesAt(s, i, sought.view(), ignoreCase))
            found = static_cast<int>(i) + 1;
    }
    return found;
}

Text leadingBytes(const Text& text, int count) {
    if (count <= 0)
        return Text();
    return Text(text.view().substr(0, static_cast<std::size_t>(count)));
}

Text trailingBytes(const Text& text, int count) {
    if (count <= 0)
        return Text();
    const std::size_t n = std::min(static_cast<std::size_t>(count), text.size());
    return Text(text.view().substr(text.size() - n));
}

Text innerBytes(const Text& text, int position, int count) {
    if (position < 1 || count <= 0 || static_cast<std::size_t>(position) > text.size())
        return Text();
    return Text(text.view().substr(static_cast<std::size_t>(position - 1),
                                   static_cast<std::size_t>(count)));
}

Text substitute(const Text& subject, const Text& oldText, const Text& newText,
                SubstituteOptions options) {
    const std::string_view s = subject.view();
    const std::size_t from = static_cast<std::size_t>(std::max(options.start, 1) - 1);
    int remaining = options.count.value_or(-1);
    if (s.empty() || oldText.empty() || from >= s.size() || remaining == 0)
        return subject;

    std::string out;
    out.reserve(s.size());
    std::size_t i = 0;
    while (i < s.size()) {
        if (i >= from && remaining != 0 && matchesAt(s, i, oldText.view(), !options.matchCase)) {
            out += newText.view();
            i += oldText.size();
            if (remaining > 0)
                --remaining;
            continue;
        }
        const std::size_t length = charLengthAt(s, i);
        out.append(s, i, length);
        i += length;
    }
    return Text(std::move(out));
}

TextList separate(const Text& subject, const Text& separator) {
    const std::string_view s = subject.view();
    if (s.empty())
        return {};
    if (separator.empty())
        return {subject};

    TextList pieces;
    std::size_t pieceStart = 0;
    for (std::size_t i = 0; i < s.size();) {
        if (matchesAt(s, i, separator.view(), false)) {
            pieces.emplace_back(s.substr(pieceStart, i - pieceStart));
            i += separator.size();
            pieceStart = i;
        } else {
            i += charLengthAt(s, i);
        }
    }
    if (pieceStart < s.size())
        pieces.emplace_back(s.substr(pieceStart));
    return pieces;
}

Text stripSpaces(const Text& text) {
    const std::string_view s = text.view();
    std::size_t begin = 0;
    while (begin < s.size()) {
        const std::size_t length = spaceLengthAt(s, begin);
        if (length == 0)
            break;
        begin += length;
    }
    // Walk forward so that a full-width space is only taken where a character begins.
    std::size_t end = begin;
    for (std::size_t i = begin; i < s.size();) {
        const std::size_t space = spaceLengthAt(s, i);
        const std::size_t length = space != 0 ? space : charLengthAt(s, i);
        i += length;
        if (space == 0)
            end = i;
    }
    return Text(s.substr(begin, end - begin));
}

Text dropSpaces(const Text& text) {
    const std::string_view s = text.view();
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size();) {
        if (const std::size_t space = spaceLengthAt(s, i); space != 0) {
            i += space;
            continue;
        }
        const std::size_t length = charLengthAt(s, i);
        out.append(s, i, length);
        i += length;
    }
    return Text(std::move(out));
}

Text asciiLower(const Text& text) {
    std::string out = text.bytes();
    for (std::size_t i = 0; i < out.size();) {
        const std::size_t length = charLengthAt(out, i);
        if (length == 1)
            out[i] = static_cast<char>(foldAscii(static_cast<unsigned char>(out[i])));
        i += length;
    }
    return Text(std::move(out));
}

Text byteCharacter(int code) {
    const char byte = static_cast<char>(code & 0xFF);
    return byte == '\0' ? Text() : Text(std::string_view(&byte, 1));
}

Text spaceRun(int count) {
    return count < 1 ? Text() : Text(std::string(static_cast<std::size_t>(count), ' '));
}

} // namespace shareseek
