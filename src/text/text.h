#pragma once

#include <compare>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace shareseek {

// A text in code page 936: ASCII characters take one byte, every other character two, the
// first of them with its high bit set. A text never holds a zero byte (it stands for the end
// of a text), so building one from bytes keeps only what comes before the first zero.
// A missing text and the empty text are the same value.
class Text {
public:
    Text() = default;
    explicit Text(std::string_view bytes) : bytes_(bytes.substr(0, bytes.find('\0'))) {}
    explicit Text(const char* bytes) : Text(std::string_view(bytes ? bytes : "")) {}
    explicit Text(std::string&& bytes);

    const std::string& bytes() const { return bytes_; }
    std::string_view view() const { return bytes_; }
    const char* c_str() const { return bytes_.c_str(); }
    std::size_t size() const { return bytes_.size(); }
    bool empty() const { return bytes_.empty(); }
    unsigned char byteAt(std::size_t index) const {
        return static_cast<unsigned char>(bytes_[index]);
    }

    Text& operator+=(const Text& other) {
        bytes_ += other.bytes_;
        return *this;
    }
    friend Text operator+(Text left, const Text& right) { return left += right; }

    // Byte by byte on unsigned values, shorter first on a common prefix; case is significant.
    friend bool operator==(const Text&, const Text&) = default;
    friend std::strong_ordering operator<=>(const Text&, const Text&) = default;

private:
    std::string bytes_;
};

// Lists of texts, as separate returns them. The system numbers elements from 1; callers
// that follow that numbering index with [n - 1] and check 1 <= n <= size() first.
using TextList = std::vector<Text>;

// A counted block of bytes that may hold zero bytes.
using Bytes = std::string;

inline Bytes toBytes(const Text& text) {
    return text.bytes();
}
inline Text toText(const Bytes& bytes) {
    return Text(std::string_view(bytes));
}

// Length in bytes of the character that starts at `index`: 2 for a byte with the high bit
// set that has a byte after it, else 1.
inline std::size_t charLengthAt(std::string_view bytes, std::size_t index) {
    return (static_cast<unsigned char>(bytes[index]) & 0x80) != 0 && index + 1 < bytes.size() ? 2
                                                                                              : 1;
}

} // namespace shareseek
