#pragma once

#include "text/text.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Following a redirect ourselves, one hop at a time, so that each hop is asked for its own
// address (libcurl would re-send the request target of the first).
namespace shareseek {

// True for the statuses that move a request elsewhere: 301, 302, 303, 307 and 308.
bool isRedirectStatus(int status);

// The value of the final response's "Location" header line (name in any letter case; a
// Content-Location line is no redirect), nothing without one.
std::optional<std::string> locationHeader(const std::vector<std::string>& headerLines);

// `location` read relative to `base`, as an absolute http or https address; nothing when it
// makes none (another scheme, no host, bytes no address can hold).
std::optional<Text> resolveRedirect(const Text& base, std::string_view location);

// Whether the next hop is asked with GET and no body: after 303, and after 301 or 302 of a
// POST, as browsers do.
bool redirectDropsBody(int status, int method);

} // namespace shareseek
