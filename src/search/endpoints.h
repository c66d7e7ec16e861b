#pragma once

#include <string_view>

// The hosts the program talks to. Code that builds addresses takes them as parameters, so
// that tests and the offline demo can point it at servers on loopback.
namespace shareseek::endpoints {

// The web search engine that serves results pages at "/s".
inline constexpr std::string_view searchHost = "www.baidu.com";

// The publisher's forum: the update page, the download page, and the window caption.
inline constexpr std::string_view forumHost = "bbs.shareseek.net";
inline constexpr std::string_view updatePagePath = "/thread-27065-1-1.html";
inline constexpr std::string_view downloadPagePath = "/thread-27068-1-1.html";

} // namespace shareseek::endpoints
