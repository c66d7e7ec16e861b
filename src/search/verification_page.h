#pragma once

#include "text/text.h"

#include <optional>
#include <string_view>

// The engine answers a client it takes for a robot with a verification page instead of
// results: a redirect to its verification host or captcha path, or a page so titled.
namespace shareseek {

inline constexpr std::string_view verificationHost = "wappass.baidu.com";
inline constexpr std::string_view captchaPath = "/static/captcha/";

// The text of the page's <title>, tags and references read as text; empty without one.
Text pageTitle(const Text& page);

// When the page (reached at `finalAddress`) is a verification page: its title, or "安全验证"
// when it has none. Known by the verification host or captcha path in the address, the
// title "百度安全验证", or the text "网络不给力，请稍后重试" on a page with no results list.
// Nothing for any other page.
std::optional<Text> verificationTitle(const Text& page, const Text& finalAddress);

} // namespace shareseek
