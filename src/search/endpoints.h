#pragma once

#include <string_view>

// The hosts the program talks to. Code that builds addresses takes them as parameters, so
// that tests and the offline demo can point it at servers on loopback.
namespace shareseek::endpoints {

// The web search engine that serves results pages at "/s".
inline constexpr std::string_view searchHost = "www.baidu.com";

} // namespace shareseek::endpoints
