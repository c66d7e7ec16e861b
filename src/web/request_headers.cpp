#include "web/request_headers.h"

#include "text/markers.h"
#include "text/percent_encoding.h"
#include "text/text_ops.h"

namespace shareseek {

const Text& defaultUserAgent() {
    static const Text agent("Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1; QX7ZA; .NET CLR "
                            "2.0.50727; .NET CLR 3.0.04506.648; .NET CLR 3.5.21022)");
    return agent;
}

Text headerValue(const Text& text) {
    const int colon = searchForward(text, Text(":"));
    if (colon < 0)
        return Text();
    return stripSpaces(innerBytes(text, colon + 1, byteCount(text)));
}

Text chooseUserAgent(const Text& extraHeaders) {
    if (searchForward(extraHeaders, Text("User-Agent:"), 1, true) < 0)
        return defaultUserAgent();
    const Text agent = stripSpaces(extractBetween(extraHeaders, Text("User-Agent:"), Text("\r\n")));
    return agent.empty() ? headerValue(extraHeaders) : agent;
}

Text headerSafeAddress(const Text& address) {
    return Text(percentEncode(address.view(),
                              [](unsigned char byte) { return byte >= 0x20 && byte != 0x7F; }));
}

Text completeHeaders(const Text& extraHeaders, const Text& address, const Text& cookieText) {
    Text headers = extraHeaders;
    const auto absent = [&](const char* name) { return searchForward(headers, Text(name)) < 0; };
    if (absent("Referer:"))
        headers +=
            Text(headers.empty() ? "Referer: " : "\r\nReferer: ") + headerSafeAddress(address);
    if (absent("Accept:"))
        headers += Text("\r\nAccept: */*");
    if (absent("Accept-Language:"))
        headers += Text("\r\nAccept-Language: zh-cn");
    if (absent("Content-Type:"))
        headers += Text("\r\nContent-Type: application/x-www-form-urlencoded");
    if (!cookieText.empty())
        headers += Text("\r\nCookie: ") + cookieText;
    return headers;
}

} // namespace shareseek
