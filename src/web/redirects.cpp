#include "web/redirects.h"

#include "text/percent_encoding.h"
#include "text/text_ops.h"
#include "web/address.h"
#include "web/curl_session.h"

#include <algorithm>
#include <cctype>

namespace shareseek {
namespace {

bool startsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) ==
                      std::tolower(static_cast<unsigned char>(b));
           });
}

// The base address in the absolute form that libcurl's parser reads.
std::string absoluteForm(const Text& address) {
    return (isSecureAddress(address) ? "https://" : "http://") +
           hostOf(address, false, true).bytes() +
           percentEncodeForRequest(objectPathOf(address).view());
}

std::optional<std::string> urlPart(CURLU* url, CURLUPart part) {
    char* value = nullptr;
    if (curl_url_get(url, part, &value, 0) != CURLUE_OK)
        return std::nullopt;
    std::string out(value);
    curl_free(value);
    return out;
}

} // namespace

bool isRedirectStatus(int status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

std::optional<std::string> locationHeader(const std::vector<std::string>& headerLines) {
    std::optional<std::string> location;
    for (const std::string& line : headerLines) {
        if (!startsWithIgnoringCase(line, "location:"))
            continue;
        const std::string_view value = std::string_view(line).substr(9);
        const auto begin = value.find_first_not_of(" \t");
        const auto end = value.find_last_not_of(" \t");
        location = begin == std::string_view::npos
                       ? std::string()
                       : std::string(value.substr(begin, end - begin + 1));
    }
    return location;
}

std::optional<Text> resolveRedirect(const Text& base, std::string_view location) {
    if (location.empty())
        return std::nullopt;
    const CurlUrl url(curl_url());
    if (!url || curl_url_set(url.get(), CURLUPART_URL, absoluteForm(base).c_str(), 0) != CURLUE_OK)
        return std::nullopt;
    if (curl_url_set(url.get(), CURLUPART_URL, percentEncodeForRequest(location).c_str(), 0) !=
        CURLUE_OK)
        return std::nullopt;
    const std::optional<std::string> scheme = urlPart(url.get(), CURLUPART_SCHEME);
    if (!scheme || (*scheme != "http" && *scheme != "https"))
        return std::nullopt;
    // The fragment is the browser's own and is never sent.
    curl_url_set(url.get(), CURLUPART_FRAGMENT, nullptr, 0);
    const std::optional<std::string> resolved = urlPart(url.get(), CURLUPART_URL);
    if (!resolved)
        return std::nullopt;
    return Text(*resolved);
}

bool redirectDropsBody(int status, int method) {
    return status == 303 || ((status == 301 || status == 302) && method == 1);
}

} // namespace shareseek
