#include "ui/skins.h"

#include "text/text_ops.h"

#include <cmath>
#include <map>

struct EmbeddedSkin {
    const unsigned char* bytes;
    std::size_t size;
};
extern const EmbeddedSkin shareseekSkins[33];

namespace shareseek {
namespace {

std::optional<Rgb> parseColour(const Text& value) {
    if (value.size() != 7 || value.byteAt(0) != '#')
        return std::nullopt;
    unsigned channels[3];
    for (int i = 0; i < 3; ++i) {
        const std::string pair(value.view().substr(1 + 2 * static_cast<std::size_t>(i), 2));
        if (pair.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
            return std::nullopt;
        channels[i] = static_cast<unsigned>(std::stoul(pair, nullptr, 16));
    }
    return Rgb{static_cast<std::uint8_t>(channels[0]), static_cast<std::uint8_t>(channels[1]),
               static_cast<std::uint8_t>(channels[2])};
}

double linear(std::uint8_t channel) {
    const double c = channel / 255.0;
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double luminance(Rgb c) {
    return 0.2126 * linear(c.red) + 0.7152 * linear(c.green) + 0.0722 * linear(c.blue);
}

} // namespace

Bytes skinBytes(int number) {
    if (number < 1 || number > skinCount)
        return Bytes();
    const EmbeddedSkin& skin = shareseekSkins[number - 1];
    return Bytes(reinterpret_cast<const char*>(skin.bytes), skin.size);
}

std::optional<SkinColours> parseSkin(const Bytes& bytes) {
    if (!bytes.starts_with(".SHE\n"))
        return std::nullopt;
    std::map<std::string, Rgb> colours;
    for (const Text& line : separate(toText(bytes.substr(5)), Text("\n"))) {
        const int equals = searchForward(line, Text("="));
        if (equals < 1)
            continue;
        if (const auto colour = parseColour(innerBytes(line, equals + 1, byteCount(line))))
            colours[leadingBytes(line, equals - 1).bytes()] = *colour;
    }
    SkinColours skin;
    const std::pair<const char*, Rgb*> roles[] = {
        {"window", &skin.window},
        {"windowText", &skin.windowText},
        {"base", &skin.base},
        {"alternateBase", &skin.alternateBase},
        {"text", &skin.text},
        {"button", &skin.button},
        {"buttonText", &skin.buttonText},
        {"highlight", &skin.highlight},
        {"highlightedText", &skin.highlightedText},
    };
    for (const auto& [role, colour] : roles) {
        const auto found = colours.find(role);
        if (found == colours.end())
            return std::nullopt;
        *colour = found->second;
    }
    return skin;
}

double contrastRatio(Rgb a, Rgb b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

} // namespace shareseek
