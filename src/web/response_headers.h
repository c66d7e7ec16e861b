#pragma once

#include "text/text.h"

#include <optional>
#include <string_view>
#include <vector>

// The response side of an exchange: the raw header text and what is read from it.
namespace shareseek {

// Raw headers hold at most this many bytes less one; longer ones read as this many blanks.
constexpr int rawHeaderCapacity = 5000;

// The raw header text of a response: the status line and header lines, each ended by
// "\r\n", then an empty line; `rawHeaderCapacity` blanks when they do not fit.
Text rawHeaderText(const std::vector<std::string>& lines);

struct ResponseHeaderFacts {
    Text receivedCookies;         // "name=value" of each Set-Cookie line, joined by "; "
    std::optional<Text> location; // value of the last line holding "Location:"
};

ResponseHeaderFacts readResponseHeaders(const Text& rawHeaders);

} // namespace shareseek
