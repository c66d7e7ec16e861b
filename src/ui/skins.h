#pragma once

#include "text/text.h"

#include <cstdint>
#include <optional>

// The program's 33 skins, carried as data: each the header ".SHE" and the colours of a
// palette, one "role=#rrggbb" a line. Skin 0 is no skin.
namespace shareseek {

inline constexpr int skinCount = 33;

// The bytes of skin `number` (1 to 33); empty for any other number.
Bytes skinBytes(int number);

struct Rgb {
    std::uint8_t red = 0, green = 0, blue = 0;
};

struct SkinColours {
    Rgb window, windowText, base, alternateBase, text, button, buttonText, highlight,
        highlightedText;
};

// Nothing when the bytes are no skin of ours or lack a colour.
std::optional<SkinColours> parseSkin(const Bytes& bytes);

// The contrast ratio of two colours, from 1 (none) to 21 (black on white).
double contrastRatio(Rgb a, Rgb b);

// What the program calls to dress its windows.
class SkinLibrary {
public:
    virtual ~SkinLibrary() = default;
    // `skin` null and `length` 0 for no skin; the text is always empty and the numbers 0.
    virtual void attachRes(const unsigned char* skin, int length, const Text& password, int a,
                           int b, int c) = 0;
    virtual void setAero(int enabled) = 0;
};

} // namespace shareseek
