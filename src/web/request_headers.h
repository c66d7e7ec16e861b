#pragma once

#include "text/text.h"

#include <optional>

// The request side of an exchange: the header text that is sent and the user agent.
namespace shareseek {

// Sent when the caller's headers name no user agent of their own.
const Text& defaultUserAgent();

// The text after the first ":" with spaces stripped; empty without a ":".
Text headerValue(const Text& text);

// The user agent named by a "User-Agent:" line of `extraHeaders` (any letter case), else the
// default one.
Text chooseUserAgent(const Text& extraHeaders);

// The address with control characters (CR and LF above all) percent-encoded, so that a
// header line built from it stays one line.
Text headerSafeAddress(const Text& address);

// `extraHeaders` completed with the default Referer (of the header-safe address), Accept,
// Accept-Language and Content-Type lines where the exact name is absent, and a Cookie line
// for a non-empty cookie text.
Text completeHeaders(const Text& extraHeaders, const Text& address, const Text& cookieText);

} // namespace shareseek
