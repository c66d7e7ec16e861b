#include "web/response_headers.h"

#include "text/markers.h"
#include "text/text_ops.h"
#include "web/request_headers.h"

namespace shareseek {

Text rawHeaderText(const std::vector<std::string>& lines) {
    std::string raw;
    for (const std::string& line : lines)
        raw += line + "\r\n";
    raw += "\r\n";
    // The text and its ending zero must fit the buffer the headers are queried into; a zero
    // byte inside them ends the text there.
    if (raw.size() >= static_cast<std::size_t>(rawHeaderCapacity))
        return spaceRun(rawHeaderCapacity);
    return Text(std::move(raw));
}

ResponseHeaderFacts readResponseHeaders(const Text& rawHeaders) {
    ResponseHeaderFacts facts;
    for (const Text& line : separate(rawHeaders, Text("\r\n"))) {
        if (searchForward(line, Text("Location:")) > 0)
            facts.location = headerValue(line);
        if (searchForward(line, Text("Set-Cookie")) > 0)
            facts.receivedCookies +=
                stripSpaces(extractBetween(line, Text("Set-Cookie:"), Text(";"))) + Text("; ");
    }
    facts.receivedCookies =
        leadingBytes(facts.receivedCookies, byteCount(facts.receivedCookies) - 2);
    return facts;
}

} // namespace shareseek
