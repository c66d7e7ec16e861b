#include "search/outcome_text.h"

#include "text/codepage.h"
#include "text/numbers.h"

namespace shareseek {
namespace {

int countIf(const std::vector<SiteOutcome>& outcomes, bool (*test)(SiteEnd)) {
    int count = 0;
    for (const SiteOutcome& outcome : outcomes)
        count += test(outcome.end) ? 1 : 0;
    return count;
}

bool finished(SiteEnd end) {
    return end == SiteEnd::noNextPage || end == SiteEnd::pageCap;
}
bool running(SiteEnd end) {
    return end == SiteEnd::running;
}
bool verification(SiteEnd end) {
    return end == SiteEnd::verification;
}
bool network(SiteEnd end) {
    return end == SiteEnd::networkFailure;
}
bool unreadable(SiteEnd end) {
    return end == SiteEnd::unreadablePage;
}
bool aborted(SiteEnd end) {
    return end == SiteEnd::aborted;
}

struct Part {
    bool (*test)(SiteEnd);
    const char8_t* words;
};

// The parts of the summary, in the order they are said.
constexpr Part summaryParts[] = {
    {finished, u8" 个完成"},
    {running, u8" 个正在搜索"},
    {verification, u8" 个要求安全验证"},
    {network, u8" 个网络错误"},
    {unreadable, u8" 个页面无法识别"},
    {aborted, u8" 个意外中断"},
};

} // namespace

Text elapsedText(std::chrono::milliseconds elapsed) {
    const long long tenths = (elapsed.count() + 50) / 100;
    return decimalText(tenths / 10) + Text(".") + decimalText(tenths % 10) + literal(u8" 秒");
}

Text endText(const SiteOutcome& outcome) {
    switch (outcome.end) {
    case SiteEnd::running:
        return literal(u8"正在搜索");
    case SiteEnd::noNextPage:
        return literal(u8"没有下一页");
    case SiteEnd::pageCap:
        return literal(u8"已到页数上限");
    case SiteEnd::verification:
        return literal(u8"搜索引擎要求安全验证（") + outcome.reason + literal(u8"）") +
               (outcome.rows == 0 ? literal(u8"，未取得结果") : Text());
    case SiteEnd::unreadablePage:
        return literal(u8"页面无法识别");
    case SiteEnd::networkFailure:
        return literal(u8"网络错误：") + outcome.reason;
    case SiteEnd::aborted:
        return literal(u8"搜索意外中断：") + outcome.reason;
    }
    return Text();
}

Text outcomeText(const SiteOutcome& outcome) {
    return decimalText(outcome.pages) + literal(u8" 页，") + decimalText(outcome.rows) +
           literal(u8" 条，") + elapsedText(outcome.elapsed) + literal(u8"：") + endText(outcome);
}

Text outcomeSummary(const std::vector<SiteOutcome>& outcomes) {
    Text summary = decimalText(static_cast<long long>(outcomes.size())) + literal(u8" 个网盘");
    Text separator = literal(u8"：");
    for (const Part& part : summaryParts) {
        const int count = countIf(outcomes, part.test);
        if (count == 0)
            continue;
        summary += separator + decimalText(count) + literal(part.words);
        separator = literal(u8"，");
    }
    return summary;
}

Text emptySearchExplanation(const std::vector<SiteOutcome>& outcomes) {
    int rows = 0;
    for (const SiteOutcome& outcome : outcomes)
        rows += outcome.rows;
    const int verifications = countIf(outcomes, verification);
    const int failures = countIf(outcomes, network);
    if (rows > 0 || countIf(outcomes, running) > 0 || verifications + failures == 0)
        return Text();
    Text text = literal(u8"没有找到结果：");
    if (verifications > 0)
        text += decimalText(verifications) + literal(u8" 个网盘要求安全验证");
    if (verifications > 0 && failures > 0)
        text += literal(u8"，");
    if (failures > 0)
        text += decimalText(failures) + literal(u8" 个网盘网络错误");
    return text + literal(u8"（详见“搜索状态”）");
}

Text exchangeFailureText(const ExchangeStatus& status) {
    switch (status.failure) {
    case ExchangeFailure::none:
        break;
    case ExchangeFailure::noAddress:
        return literal(u8"地址无效");
    case ExchangeFailure::hostNotFound:
        return literal(u8"找不到服务器");
    case ExchangeFailure::refused:
        return literal(u8"无法连接到服务器");
    case ExchangeFailure::timedOut:
        return literal(u8"连接超时");
    case ExchangeFailure::cutShort:
        return literal(status.httpStatus == 0 ? u8"服务器断开了连接" : u8"页面未接收完整");
    case ExchangeFailure::tooManyRedirects:
        return literal(u8"重定向次数过多");
    case ExchangeFailure::bodyTooLarge:
        return literal(u8"页面过大");
    case ExchangeFailure::other:
        return literal(u8"连接失败（") + utf8ToText(status.error) + literal(u8"）");
    }
    if (status.httpStatus == 0)
        return literal(u8"服务器没有回答");
    if (status.httpStatus >= 400)
        return literal(u8"服务器返回 HTTP ") + decimalText(status.httpStatus);
    return Text();
}

} // namespace shareseek
