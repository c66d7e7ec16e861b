#pragma once

#include "search/site_outcome.h"
#include "web/http_exchange.h"

#include <vector>

// The per-site outcomes in the user's words.
namespace shareseek {

// "0.9 秒": tenths of a second, whatever the locale.
Text elapsedText(std::chrono::milliseconds elapsed);

// How the site's search ended, or that it still runs: "没有下一页", "网络错误：…" ...
Text endText(const SiteOutcome& outcome);

// "3 页，120 条，0.9 秒：没有下一页"
Text outcomeText(const SiteOutcome& outcome);

// "22 个网盘：18 个完成，4 个要求安全验证"
Text outcomeSummary(const std::vector<SiteOutcome>& outcomes);

// For a search that has ended with no row at all while some site failed: what failed, to
// be shown on the count label. Empty for any other search.
Text emptySearchExplanation(const std::vector<SiteOutcome>& outcomes);

// A failed exchange said in words: "无法连接到服务器", "服务器返回 HTTP 500" ...; empty for
// one that succeeded.
Text exchangeFailureText(const ExchangeStatus& status);

} // namespace shareseek
