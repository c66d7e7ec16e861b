#include "web/http_exchange.h"

#include "text/text_ops.h"
#include "web/address.h"
#include "web/cookies.h"
#include "web/curl_session.h"
#include "web/request_headers.h"
#include "web/response_headers.h"

#include <string>
#include <vector>

namespace shareseek {
namespace {

// Where the request goes: the connection's URL (scheme, host and port only) and the target
// written into the request line.
struct Route {
    std::string url;
    std::string requestTarget;
    bool viaProxy = false;
};

// A request line cannot carry spaces, control characters or bytes above ASCII (a host typed
// over several lines would otherwise inject header lines); they go percent-encoded, as a
// browser sends them. Everything else of the path stays as the caller wrote it.
std::string escapeRequestTarget(std::string_view path) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(path.size());
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte > 0x20 && byte < 0x7F) {
            out += c;
        } else {
            out += '%';
            out += digits[byte >> 4];
            out += digits[byte & 15];
        }
    }
    return out;
}

// The route of the exchange, or nothing when the host and port make no address that a
// connection could be opened to.
std::optional<Route> routeFor(const HttpExchange& exchange) {
    const bool secure = isSecureAddress(exchange.address);
    const std::string host = hostOf(exchange.address).bytes();
    const int defaultPort = secure ? 443 : 80;
    // Port 0 stands for the scheme's default port.
    const int givenPort = portOf(exchange.address);
    const int port = givenPort == 0 ? defaultPort : givenPort;
    const std::string authority = host + (port == defaultPort ? "" : ":" + std::to_string(port));
    const std::string origin = (secure ? "https://" : "http://") + authority;

    Route route;
    route.url = origin + "/";
    // The proxy list names a proxy for plain http only; secure addresses go direct.
    route.viaProxy = exchange.proxyAddress.has_value() && !secure;
    const std::string path = escapeRequestTarget(objectPathOf(exchange.address).view());
    route.requestTarget = route.viaProxy ? origin + path : path;

    const CurlUrl check(curl_url());
    if (host.empty() || port < 1 || port > 65535 || !check ||
        curl_url_set(check.get(), CURLUPART_URL, route.url.c_str(), 0) != CURLUE_OK)
        return std::nullopt;
    return route;
}

// The header text as libcurl's list. libcurl cannot send an empty line inside the header
// block (it would end the block), so such lines are left out; a line with an empty value is
// written "Name;", libcurl's form for it. Empty "Accept:", "Content-Type:" and "Expect:"
// entries keep libcurl from adding lines of its own that the header text did not ask for.
CurlList headerList(const Text& headers) {
    curl_slist* list = nullptr;
    const auto append = [&](const std::string& line) {
        if (curl_slist* grown = curl_slist_append(list, line.c_str()))
            list = grown;
    };
    for (const Text& line : separate(headers, Text("\r\n"))) {
        if (line.empty())
            continue;
        const int colon = searchForward(line, Text(":"));
        if (colon > 0 && stripSpaces(innerBytes(line, colon + 1, byteCount(line))).empty())
            append(leadingBytes(line, colon - 1).bytes() + ";");
        else
            append(line.bytes());
    }
    for (const char* suppressed : {"Accept:", "Content-Type:", "Expect:"})
        append(suppressed);
    return CurlList(list);
}

// What a transfer collects: the body (up to the cap) and the header lines of the last
// response received.
struct Transfer {
    Bytes body;
    std::vector<std::string> headerLines;
    bool headersComplete = false;
    std::size_t maxBodyBytes = 0;
};

std::size_t onBody(char* data, std::size_t size, std::size_t count, void* user) {
    auto& transfer = *static_cast<Transfer*>(user);
    const std::size_t bytes = size * count;
    const std::size_t room = transfer.maxBodyBytes - transfer.body.size();
    transfer.body.append(data, std::min(bytes, room));
    return bytes <= room ? bytes : 0; // 0 ends the transfer once the cap is reached
}

std::size_t onHeader(char* data, std::size_t size, std::size_t count, void* user) {
    auto& transfer = *static_cast<Transfer*>(user);
    const std::size_t bytes = size * count;
    std::string_view line(data, bytes);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.remove_suffix(1);
    if (line.starts_with("HTTP/")) { // a new response begins: only the last one counts
        transfer.headerLines.clear();
        transfer.headersComplete = false;
    }
    if (line.empty())
        transfer.headersComplete = !transfer.headerLines.empty();
    else
        transfer.headerLines.emplace_back(line);
    return bytes;
}

void setLimits(CURL* curl, const HttpLimits& limits) {
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS,
                     static_cast<long>(limits.connectTimeout.count()));
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME,
                     std::max(1L, static_cast<long>(limits.stallTimeout.count())));
    curl_easy_setopt(curl, CURLOPT_TIMEOUT, static_cast<long>(limits.totalTimeout.count()));
    curl_easy_setopt(curl, CURLOPT_MAXREDIRS, limits.maxRedirects);
}

void setRoute(CURL* curl, const Route& route, const HttpExchange& exchange) {
    curl_easy_setopt(curl, CURLOPT_URL, route.url.c_str());
    curl_easy_setopt(curl, CURLOPT_REQUEST_TARGET, route.requestTarget.c_str());
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    const std::string proxy = route.viaProxy ? exchange.proxyAddress->bytes() : std::string();
    // An empty proxy also keeps libcurl from taking one from the environment.
    curl_easy_setopt(curl, CURLOPT_PROXY, proxy.c_str());
    curl_easy_setopt(curl, CURLOPT_HTTP_VERSION, CURL_HTTP_VERSION_1_1);
    curl_easy_setopt(curl, CURLOPT_FRESH_CONNECT, 1L);
    curl_easy_setopt(curl, CURLOPT_FORBID_REUSE, 1L);
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, exchange.noRedirect ? 0L : 1L);
}

void setMethodAndBody(CURL* curl, const HttpExchange& exchange) {
    if (exchange.method == 0)
        return;
    curl_easy_setopt(curl, CURLOPT_POST, 1L);
    curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE,
                     static_cast<curl_off_t>(exchange.bodyBytes.size()));
    curl_easy_setopt(curl, CURLOPT_POSTFIELDS, exchange.bodyBytes.data());
    if (exchange.method != 1)
        curl_easy_setopt(curl, CURLOPT_CUSTOMREQUEST, "GET");
}

void setCookieHandling(CURL* curl, const HttpExchange& exchange) {
    if (exchange.cookieText.has_value())
        return; // the caller keeps the cookies: the shared store is neither read nor written
    curl_easy_setopt(curl, CURLOPT_SHARE, sharedCookieStore());
    curl_easy_setopt(curl, CURLOPT_COOKIEFILE, ""); // switches the cookie engine on
}

// Reads what the final response's headers say into the exchange's out parameters.
void takeResponseHeaders(HttpExchange& exchange, const Transfer& transfer) {
    exchange.rawHeaders = transfer.headersComplete ? rawHeaderText(transfer.headerLines)
                                                   : spaceRun(rawHeaderCapacity);
    ResponseHeaderFacts facts = readResponseHeaders(exchange.rawHeaders);
    if (facts.location)
        exchange.redirectTarget = *facts.location;
    exchange.receivedCookies = facts.receivedCookies;
    if (exchange.cookieText)
        mergeCookies(*exchange.cookieText, exchange.receivedCookies);
    if (exchange.redirectTarget.empty())
        exchange.redirectTarget = exchange.rawHeaders;
}

} // namespace

Bytes performExchange(HttpExchange& exchange, const HttpLimits& limits) {
    ensureCurlInitialised();
    const std::optional<Route> route = routeFor(exchange);
    const CurlEasy curl(curl_easy_init());
    if (!route || !curl)
        return Bytes(); // no connection could be opened: nothing of the exchange is touched

    const Text agent = chooseUserAgent(exchange.extraHeaders);
    exchange.extraHeaders = completeHeaders(exchange.extraHeaders, exchange.address,
                                            exchange.cookieText.value_or(Text()));
    if (exchange.method != 0 && exchange.bodyBytes.empty())
        exchange.bodyBytes = toBytes(exchange.formText);

    const CurlList headers = headerList(exchange.extraHeaders);
    Transfer transfer;
    transfer.maxBodyBytes = limits.maxBodyBytes;
    CURL* c = curl.get();
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L); // many threads exchange at once
    setRoute(c, *route, exchange);
    setLimits(c, limits);
    setMethodAndBody(c, exchange);
    setCookieHandling(c, exchange);
    curl_easy_setopt(c, CURLOPT_USERAGENT, agent.c_str());
    curl_easy_setopt(c, CURLOPT_HTTPHEADER, headers.get());
    curl_easy_setopt(c, CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L);
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, onBody);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &transfer);
    curl_easy_setopt(c, CURLOPT_HEADERFUNCTION, onHeader);
    curl_easy_setopt(c, CURLOPT_HEADERDATA, &transfer);

    // A failed send or read is not an error of its own: the body is whatever arrived.
    curl_easy_perform(c);

    takeResponseHeaders(exchange, transfer);
    return std::move(transfer.body);
}

Bytes fetch(const Text& address, const HttpLimits& limits) {
    HttpExchange exchange;
    exchange.address = address;
    return performExchange(exchange, limits);
}

} // namespace shareseek
