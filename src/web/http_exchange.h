#pragma once

#include "text/text.h"
#include "web/http_limits.h"

#include <optional>
#include <string>

// One HTTP request and its whole response, browser-like: default user agent and headers,
// direct or through a proxy, redirects followed unless asked not to, cookies kept either in
// the process-wide store or in the caller's own cookie text.
namespace shareseek {

// How a transfer that did not complete failed.
enum class ExchangeFailure {
    none,
    noAddress,        // the address names no host a connection could be opened to
    hostNotFound,     // the host name did not resolve
    refused,          // no connection could be made
    timedOut,         // the connection, a stall or the whole exchange took too long
    cutShort,         // the response ended before its body did
    tooManyRedirects, // more redirects than the limit
    bodyTooLarge,     // the body passed the cap
    other,
};

// Why an exchange gave what it gave, kept beside its result for callers that tell the user.
struct ExchangeStatus {
    // Of the final response; 0 when none arrived.
    int httpStatus = 0;
    // libcurl's reason when the transfer did not complete (refused, timed out, cut short,
    // too many redirects, the body cap), empty when it did.
    std::string error;
    ExchangeFailure failure = ExchangeFailure::none;
    // The address of the final hop, after every redirect followed.
    Text finalAddress;
    int redirects = 0;

    // A complete response that is no server error.
    bool succeeded() const { return error.empty() && httpStatus >= 200 && httpStatus < 400; }
};

// The parameters of one exchange; the in/out ones hold the results on return.
struct HttpExchange {
    Text address;
    // 1 sends "POST", any other value "GET"; a body is sent whenever it is not 0.
    int method = 0;
    // The body, used when the method is not 0 and `bodyBytes` is empty.
    Text formText;
    // Supplied (even empty): sent as a Cookie line, the shared store is left alone, and the
    // cookies the response set are merged into it.
    std::optional<Text> cookieText;
    // Out: the cookies the response set, "name=value" items joined by "; ".
    Text receivedCookies;
    // In: the caller's header lines separated by "\r\n"; out: the whole header text sent.
    Text extraHeaders;
    // Out: the value of the response's Location line; without one, the raw header text
    // when it was empty on entry.
    Text redirectTarget;
    bool noRedirect = false;
    // In/out: the request body; receives the form text's bytes when that is what was sent.
    Bytes bodyBytes;
    // Supplied: plain-http addresses are fetched through this proxy (host:port).
    std::optional<Text> proxyAddress;
    // Out: the status line and header lines of the final response, each ended by "\r\n",
    // then an empty line.
    Text rawHeaders;
    // Out: how the exchange went.
    ExchangeStatus status;
};

// Performs the exchange and returns the response body as received; the empty buffer when
// the exchange failed. Never throws.
Bytes performExchange(HttpExchange& exchange, const HttpLimits& limits = HttpLimits{});

// A GET of `address` with every other parameter omitted, as the search workers make it.
Bytes fetch(const Text& address, const HttpLimits& limits = HttpLimits{});

struct FetchResult {
    Bytes body; // empty when the exchange failed
    ExchangeStatus status;
};
// The same GET, with how it went; through `proxyAddress` when one is given.
FetchResult fetchWithStatus(const Text& address, const HttpLimits& limits = HttpLimits{},
                            const std::optional<Text>& proxyAddress = std::nullopt);

} // namespace shareseek
