#pragma once

#include "text/text.h"

// Splits a free-form address into what a connection needs. Input is loose: without a scheme
// an address is plain http, scheme and host are not case-sensitive, a missing path is "/".
namespace shareseek {

// The host, lower case. With `lastTwoLabelsOnly`, only its last two dot-separated labels;
// with `keepPort`, any ":port" after it stays.
Text hostOf(const Text& address, bool lastTwoLabelsOnly = false, bool keepPort = false);

// The port after the host's last ":", else 443 for an address beginning "https" in any case,
// else 80.
int portOf(const Text& address);

// The path and query as the caller wrote them, always beginning with "/".
Text objectPathOf(const Text& address);

// True when the address begins with "https" in any letter case.
bool isSecureAddress(const Text& address);

// True for an absolute web address: "http://" or "https://" (scheme in any letter case), a
// host, and no control character anywhere. Addresses from pages are untrusted: only these
// are handed to the browser.
bool isWebAddress(const Text& address);

} // namespace shareseek
