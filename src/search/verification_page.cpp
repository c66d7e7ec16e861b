#include "search/verification_page.h"

#include "search/todays_layout.h"
#include "text/codepage.h"
#include "text/text_ops.h"
#include "web/address.h"

namespace shareseek {

Text pageTitle(const Text& page) {
    const int open = searchForward(page, Text("<title"), 1, true);
    if (open < 0)
        return Text();
    const int openEnd = searchForward(page, Text(">"), open);
    const int close = searchForward(page, Text("</title"), open, true);
    if (openEnd < 0 || close < openEnd)
        return Text();
    const Text inner = innerBytes(page, openEnd + 1, close - openEnd - 1);
    return stripSpaces(decodeCharacterReferences(inner));
}

std::optional<Text> verificationTitle(const Text& page, const Text& finalAddress) {
    const Text title = pageTitle(page);
    const bool byAddress = hostOf(finalAddress) == Text(verificationHost) ||
                           searchForward(objectPathOf(finalAddress), Text(captchaPath)) > 0;
    // A results page's title is the keyword and the engine's name, so a keyword that speaks
    // of verification must not count: the whole title, or the page's text outside a results
    // list.
    const bool byPage = title == literal(u8"百度安全验证") ||
                        (searchForward(page, literal(u8"网络不给力，请稍后重试")) > 0 &&
                         searchForward(page, Text("id=\"content_left\"")) < 0);
    if (!byAddress && !byPage)
        return std::nullopt;
    return title.empty() ? literal(u8"安全验证") : title;
}

} // namespace shareseek
