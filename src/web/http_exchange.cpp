#include "web/http_exchange.h"

#include "text/percent_encoding.h"
#include "text/text_ops.h"
#include "web/address.h"
#include "web/cookies.h"
#include "web/curl_session.h"
#include "web/redirects.h"
#include "web/request_headers.h"
#include "web/response_headers.h"

#include <chrono>
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

// The route to `address`, or nothing when its host and port make no address that a
// connection could be opened to.
std::optional<Route> routeFor(const Text& address, const std::optional<Text>& proxyAddress) {
    const bool secure = isSecureAddress(address);
    const std::string host = hostOf(address).bytes();
    const int defaultPort = secure ? 443 : 80;
    // Port 0 stands for the scheme's default port.
    const int givenPort = portOf(address);
    const int port = givenPort == 0 ? defaultPort : givenPort;
    std::string authority = host;
    if (port != defaultPort) {
        authority += ':';
        authority += std::to_string(port);
    }
    const std::string origin = (secure ? "https://" : "http://") + authority;

    Route route;
    route.url = origin + "/";
    // The proxy list names a proxy for plain http only; secure addresses go direct.
    route.viaProxy = proxyAddress.has_value() && !secure;
    const std::string path = percentEncodeForRequest(objectPathOf(address).view());
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

// What one hop collects: the body (up to the cap) and the header lines of the last response
// received.
struct Transfer {
    Bytes body;
    std::vector<std::string> headerLines;
    bool headersComplete = false;
    bool bodyCapReached = false;
    std::size_t maxBodyBytes = 0;
};

std::size_t onBody(char* data, std::size_t size, std::size_t count, void* user) {
    auto& transfer = *static_cast<Transfer*>(user);
    const std::size_t bytes = size * count;
    const std::size_t room = transfer.maxBodyBytes - transfer.body.size();
    transfer.body.append(data, std::min(bytes, room));
    transfer.bodyCapReached = bytes > room;
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

using Clock = std::chrono::steady_clock;

// Every hop shares the exchange's limits: the total time is counted from the first hop.
void setLimits(CURL* curl, const HttpLimits& limits, Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS,
                     static_cast<long>(limits.connectTimeout.count()));
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME,
                     std::max(1L, static_cast<long>(limits.stallTimeout.count())));
    curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, std::max(1L, static_cast<long>(left.count())));
}

void setRoute(CURL* curl, const Route& route, const std::optional<Text>& proxyAddress) {
    curl_easy_setopt(curl, CURLOPT_URL, route.url.c_str());
    curl_easy_setopt(curl, CURLOPT_REQUEST_TARGET, route.requestTarget.c_str());
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    const std::string proxy = route.viaProxy ? proxyAddress->bytes() : std::string();
    // An empty proxy also keeps libcurl from taking one from the environment.
    curl_easy_setopt(curl, CURLOPT_PROXY, proxy.c_str());
    curl_easy_setopt(curl, CURLOPT_HTTP_VERSION, CURL_HTTP_VERSION_1_1);
    curl_easy_setopt(curl, CURLOPT_FRESH_CONNECT, 1L);
    curl_easy_setopt(curl, CURLOPT_FORBID_REUSE, 1L);
    // Redirects are followed here, hop by hop, never by libcurl.
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 0L);
}

void setMethodAndBody(CURL* curl, int method, const Bytes& body) {
    if (method == 0)
        return;
    curl_easy_setopt(curl, CURLOPT_POST, 1L);
    curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
    curl_easy_setopt(curl, CURLOPT_POSTFIELDS, body.data());
    if (method != 1)
        curl_easy_setopt(curl, CURLOPT_CUSTOMREQUEST, "GET");
}

void setCookieHandling(CURL* curl, const HttpExchange& exchange) {
    if (exchange.cookieText.has_value())
        return; // the caller keeps the cookies: the shared store is neither read nor written
    curl_easy_setopt(curl, CURLOPT_SHARE, sharedCookieStore());
    curl_easy_setopt(curl, CURLOPT_COOKIEFILE, ""); // switches the cookie engine on
}

// What a hop is asked with: the same header text and agent on every hop; the method and
// body may change on the way (see redirectDropsBody).
struct HopRequest {
    const Route* route;
    int method;
    const curl_slist* headers;
    const Text* agent;
};

ExchangeFailure failureOf(CURLcode code) {
    switch (code) {
    case CURLE_OK:
        return ExchangeFailure::none;
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
        return ExchangeFailure::hostNotFound;
    case CURLE_COULDNT_CONNECT:
        return ExchangeFailure::refused;
    case CURLE_OPERATION_TIMEDOUT:
        return ExchangeFailure::timedOut;
    case CURLE_PARTIAL_FILE:
    case CURLE_RECV_ERROR:
    case CURLE_GOT_NOTHING:
        return ExchangeFailure::cutShort;
    case CURLE_TOO_MANY_REDIRECTS:
        return ExchangeFailure::tooManyRedirects;
    default:
        return ExchangeFailure::other;
    }
}

// One request and its response, on a connection of its own; what went wrong, if anything,
// lands in `status`.
void performHop(const HopRequest& hop, const HttpExchange& exchange, const HttpLimits& limits,
                Clock::time_point deadline, Transfer& transfer, ExchangeStatus& status) {
    const CurlEasy curl(curl_easy_init());
    if (!curl) {
        status.failure = ExchangeFailure::other;
        status.error = "libcurl could not start a transfer";
        return;
    }
    char reason[CURL_ERROR_SIZE] = {};
    CURL* c = curl.get();
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L); // many threads exchange at once
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, reason);
    setRoute(c, *hop.route, exchange.proxyAddress);
    setLimits(c, limits, deadline);
    setMethodAndBody(c, hop.method, exchange.bodyBytes);
    setCookieHandling(c, exchange);
    curl_easy_setopt(c, CURLOPT_USERAGENT, hop.agent->c_str());
    curl_easy_setopt(c, CURLOPT_HTTPHEADER, hop.headers);
    curl_easy_setopt(c, CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L);
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, onBody);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &transfer);
    curl_easy_setopt(c, CURLOPT_HEADERFUNCTION, onHeader);
    curl_easy_setopt(c, CURLOPT_HEADERDATA, &transfer);

    const CURLcode code = curl_easy_perform(c);
    long httpStatus = 0;
    curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &httpStatus);
    status.httpStatus = static_cast<int>(httpStatus);
    status.failure = failureOf(code);
    status.error = code == CURLE_OK    ? std::string()
                   : reason[0] != '\0' ? std::string(reason)
                                       : std::string(curl_easy_strerror(code));
    if (transfer.bodyCapReached) {
        status.failure = ExchangeFailure::bodyTooLarge;
        status.error = "the body is larger than " + std::to_string(limits.maxBodyBytes) + " bytes";
    }
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

// Where the response just received sends the request next, if anywhere.
std::optional<Text> nextHop(const HttpExchange& exchange, const Transfer& transfer, int httpStatus,
                            const Text& address) {
    if (exchange.noRedirect || !isRedirectStatus(httpStatus))
        return std::nullopt;
    const std::optional<std::string> location = locationHeader(transfer.headerLines);
    return location ? resolveRedirect(address, *location) : std::nullopt;
}

} // namespace

Bytes performExchange(HttpExchange& exchange, const HttpLimits& limits) {
    ensureCurlInitialised();
    exchange.status = ExchangeStatus{.finalAddress = exchange.address};
    std::optional<Route> route = routeFor(exchange.address, exchange.proxyAddress);
    if (!route) {
        // No connection could be opened: nothing else of the exchange is touched.
        exchange.status.failure = ExchangeFailure::noAddress;
        exchange.status.error = "the address names no host a connection can be opened to";
        return Bytes();
    }

    const Text agent = chooseUserAgent(exchange.extraHeaders);
    exchange.extraHeaders = completeHeaders(exchange.extraHeaders, exchange.address,
                                            exchange.cookieText.value_or(Text()));
    if (exchange.method != 0 && exchange.bodyBytes.empty())
        exchange.bodyBytes = toBytes(exchange.formText);
    const CurlList headers = headerList(exchange.extraHeaders);

    const Clock::time_point deadline = Clock::now() + limits.totalTimeout;
    Text address = exchange.address;
    int method = exchange.method;
    Transfer transfer;
    for (;;) {
        transfer = Transfer{.maxBodyBytes = limits.maxBodyBytes};
        const HopRequest hop{&*route, method, headers.get(), &agent};
        // A failed send or read is not an error of the exchange: the body is whatever arrived.
        performHop(hop, exchange, limits, deadline, transfer, exchange.status);
        exchange.status.finalAddress = address;
        if (!exchange.status.error.empty())
            break;
        const std::optional<Text> next =
            nextHop(exchange, transfer, exchange.status.httpStatus, address);
        std::optional<Route> nextRoute =
            next ? routeFor(*next, exchange.proxyAddress) : std::nullopt;
        if (!nextRoute)
            break;
        if (exchange.status.redirects == limits.maxRedirects) {
            exchange.status.failure = ExchangeFailure::tooManyRedirects;
            exchange.status.error =
                "more than " + std::to_string(limits.maxRedirects) + " redirects";
            break;
        }
        ++exchange.status.redirects;
        if (redirectDropsBody(exchange.status.httpStatus, method))
            method = 0;
        address = *next;
        route = std::move(nextRoute);
    }

    takeResponseHeaders(exchange, transfer);
    return std::move(transfer.body);
}

Bytes fetch(const Text& address, const HttpLimits& limits) {
    return fetchWithStatus(address, limits).body;
}

FetchResult fetchWithStatus(const Text& address, const HttpLimits& limits,
                            const std::optional<Text>& proxyAddress) {
    HttpExchange exchange;
    exchange.address = address;
    exchange.proxyAddress = proxyAddress;
    FetchResult result;
    result.body = performExchange(exchange, limits);
    result.status = std::move(exchange.status);
    return result;
}

} // namespace shareseek
