#include "web/address.h"

#include "text/markers.h"
#include "text/numbers.h"
#include "text/text_ops.h"

namespace shareseek {

bool isSecureAddress(const Text& address) {
    return asciiLower(leadingBytes(address, 5)) == Text("https");
}

bool isWebAddress(const Text& address) {
    const std::string_view s = address.view();
    for (const char c : s)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            return false;
    const Text lower = asciiLower(leadingBytes(address, 8));
    const std::size_t schemeLength = lower.view().starts_with("http://")    ? 7
                                     : lower.view().starts_with("https://") ? 8
                                                                            : 0;
    if (schemeLength == 0)
        return false;
    // The authority runs to the path, query or fragment; without its user part and port it
    // must still name a host.
    std::string_view authority = s.substr(schemeLength);
    authority = authority.substr(0, authority.find_first_of("/?#\\"));
    if (const auto at = authority.rfind('@'); at != std::string_view::npos)
        authority.remove_prefix(at + 1);
    const std::string_view host = authority.starts_with('[')
                                      ? authority.substr(0, authority.find(']') + 1)
                                      : authority.substr(0, authority.rfind(':'));
    return !host.empty() && host.find(' ') == std::string_view::npos;
}

Text hostOf(const Text& address, bool lastTwoLabelsOnly, bool keepPort) {
    Text w = asciiLower(address);
    if (trailingBytes(w, 1) != Text("/"))
        w += Text("/");
    Text scheme("http://");
    if (leadingBytes(w, 8) == Text("https://"))
        scheme = Text("https://");
    else if (searchForward(w, scheme) < 0)
        w = scheme + w;

    Text host = extractBetween(w, scheme, Text("/"));
    if (lastTwoLabelsOnly) {
        const TextList labels = separate(host, Text("."));
        if (labels.size() >= 2)
            host = labels[labels.size() - 2] + Text(".") + labels.back();
    }
    if (!keepPort) {
        if (const int colon = searchForward(host, Text(":")); colon > 0)
            host = leadingBytes(host, colon - 1);
    }
    return host;
}

int portOf(const Text& address) {
    const Text host = hostOf(address, false, true);
    if (const int colon = searchBackward(host, Text(":")); colon > 0)
        return integerValue(innerBytes(host, colon + 1, byteCount(host)));
    return isSecureAddress(address) ? 443 : 80;
}

Text objectPathOf(const Text& address) {
    const Text host = hostOf(address);
    const int hostAt = searchForward(address, host, 1, true);
    const int slash = searchForward(address, Text("/"), hostAt);
    if (slash < 0)
        return Text("/");
    return innerBytes(address, slash, byteCount(address));
}

} // namespace shareseek
