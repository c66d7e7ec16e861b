#include "search/outcome_text.h"
#include "search/page_extraction.h"
#include "search/todays_layout.h"
#include "search/verification_page.h"

#include "fake_engine/fake_search_engine.h"
#include "support/text_printing.h"
#include "text/codepage.h"

#include <gtest/gtest.h>

namespace shareseek {
namespace {

using namespace std::chrono_literals;
using testing::L;
using testing::T;

std::vector<std::pair<Text, Text>> titlesAndAddresses(const std::vector<Hit>& hits) {
    std::vector<std::pair<Text, Text>> out;
    for (const Hit& hit : hits)
        out.emplace_back(hit.title, hit.address);
    return out;
}

TEST(TodaysLayout, EachHeadingsFirstLinkIsAHit) {
    struct Case {
        const char* name;
        std::string html; // UTF-8
        std::vector<std::pair<Text, Text>> hits;
    };
    const Case cases[] = {
        {"attributes in another order, white space inside",
         "<h3 class=\"t\">\n <a target=\"_blank\"\n   href=\"http://l/1\" data-x='>'>  "
         "<em>电影</em>\n\t "
         "资源  </a></h3>",
         {{L(u8"电影 资源"), T("http://l/1")}}},
        {"single quotes and capitals",
         "<H3><A HREF='http://l/2'>b</A></H3>",
         {{T("b"), T("http://l/2")}}},
        {"a bare value",
         "<h3><a class=x href=http://l/3 target=_blank>c</a></h3>",
         {{T("c"), T("http://l/3")}}},
        {"references decoded, the address as written",
         "<h3><a href=\"http://l/4?a=1&amp;b=2\">x &amp; y &lt;z&gt; &#20013;&#x6587; "
         "&quot;q&quot;</a></h3>",
         {{L(u8"x & y <z> 中文 \"q\""), T("http://l/4?a=1&amp;b=2")}}},
        {"references that are white space are folded too",
         "<h3><a href=\"u\">&#10; a&#9;&#13;&#10;b&nbsp; </a></h3>",
         {{T("a b"), T("u")}}},
        {"only the first link of a heading",
         "<h3><a href=\"http://l/5\">first</a><a href=\"http://l/6\">second</a></h3>",
         {{T("first"), T("http://l/5")}}},
        {"no link, no href, no heading",
         "<h3>plain</h3><h3><a name=\"n\">x</a></h3><h30><a href=\"u\">y</a></h30>"
         "<header><a href=\"v\">z</a></header>",
         {}},
        {"headings in page order",
         "<div><h3><a href=\"1\">a</a></h3><p><a href=\"no\">n</a></p><h3 id=\"2\"><a "
         "href=\"2\">b</a></h3></div>",
         {{T("a"), T("1")}, {T("b"), T("2")}}},
        {"a heading cut off at the end of the page",
         "<h3><a href=\"http://l/7\">cut",
         {{T("cut"), T("http://l/7")}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(titlesAndAddresses(readTodaysLayout(utf8ToText(c.html))), c.hits);
    }
}

TEST(TodaysLayout, CharacterReferences) {
    struct Case {
        const char* html;
        const char* text;
    };
    const Case cases[] = {
        {"&amp;&lt;&gt;&quot;&apos;&nbsp;", "&<>\"' "},
        {"&#20013;&#x4e2d;&#X4E2D;", "中中中"},
        {"&bogus; &amp &#; &#0; &#xD800; &#x110000; & alone",
         "&bogus; &amp &#; &#0; &#xD800; &#x110000; & alone"},
        {"&#x1F600; has no form here", "&#x1F600; has no form here"},
        {"&#63;", "?"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.html);
        EXPECT_EQ(decodeCharacterReferences(utf8ToText(c.html)), utf8ToText(c.text));
    }
}

TEST(TodaysLayout, ThePageTheFixedPatternReadsIsReadByItAlone) {
    // The fixed layout's links stand in headings too; they must not be read twice.
    const std::string page = fake::renderResultsPage(
        {.shareHost = "yunpan.cn", .keyword = "电影", .hits = 3, .paddingBytes = 1000});
    RegexMatcher matcher;
    const std::vector<Hit> hits = readHits(matcher, decodePage(page));
    ASSERT_EQ(hits.size(), 3u);
    EXPECT_EQ(hits[0].title, L(u8"电影 资源 1 - yunpan.cn"));
}

TEST(TodaysLayout, ReadsTheFakeEnginesPageWithItsManyOtherLinks) {
    const std::string page = fake::renderTodaysPage({.shareHost = "yunpan.cn",
                                                     .keyword = "电影",
                                                     .pageOffset = 50,
                                                     .hits = 50,
                                                     .nextPage = true});
    const Text text = decodePage(page);
    RegexMatcher matcher;
    EXPECT_EQ(extractHits(matcher, text), 0);
    const std::vector<Hit> hits = readHits(matcher, text);
    ASSERT_EQ(hits.size(), 50u);
    for (int i = 0; i < 50; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(hits[static_cast<std::size_t>(i)].title,
                  utf8ToText(fake::fakeTodaysTitle("yunpan.cn", "电影", 50 + i)));
        EXPECT_EQ(hits[static_cast<std::size_t>(i)].address,
                  T(fake::fakeHitAddress("yunpan.cn", 50 + i)));
    }
    EXPECT_TRUE(hasNextPage(text));
    EXPECT_GT(std::count(page.begin(), page.end(), '<'), 1000);
}

TEST(VerificationPage, IsKnownByItsAddressTitleOrText) {
    const Text verification = decodePage(fake::renderVerificationPage());
    const Text results = decodePage(fake::renderResultsPage({.hits = 0}));
    const Text engine = T("http://www.baidu.com/s?wd=x");
    struct Case {
        const char* name;
        Text page;
        Text finalAddress;
        std::optional<Text> title;
    };
    const Case cases[] = {
        {"the verification page", verification, engine, L(u8"百度安全验证")},
        {"moved to the verification host", T(""),
         T("https://wappass.baidu.com/static/captcha/tuxing.html?x=1"), L(u8"安全验证")},
        {"moved to a captcha path", T("<html></html>"),
         T("http://www.baidu.com/static/captcha/a.html"), L(u8"安全验证")},
        {"a results page that found nothing", results, engine, std::nullopt},
        {"an empty answer", T(""), engine, std::nullopt},
        {"a title that merely speaks of it", utf8ToText("<title>安全验证_百度搜索</title>"), engine,
         std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(verificationTitle(c.page, c.finalAddress), c.title);
    }
}

TEST(OutcomeText, SaysEachEndInTheUsersWords) {
    const auto outcome = [](SiteEnd end, int rows, const char8_t* reason = u8"") {
        return SiteOutcome{
            .pages = 3, .rows = rows, .elapsed = 940ms, .end = end, .reason = literal(reason)};
    };
    struct Case {
        SiteOutcome outcome;
        const char8_t* text;
    };
    const Case cases[] = {
        {outcome(SiteEnd::noNextPage, 120), u8"3 页，120 条，0.9 秒：没有下一页"},
        {outcome(SiteEnd::pageCap, 200), u8"3 页，200 条，0.9 秒：已到页数上限"},
        {outcome(SiteEnd::verification, 0, u8"百度安全验证"),
         u8"3 页，0 条，0.9 秒：搜索引擎要求安全验证（百度安全验证），未取得结果"},
        {outcome(SiteEnd::verification, 5, u8"百度安全验证"),
         u8"3 页，5 条，0.9 秒：搜索引擎要求安全验证（百度安全验证）"},
        {outcome(SiteEnd::networkFailure, 0, u8"无法连接到服务器"),
         u8"3 页，0 条，0.9 秒：网络错误：无法连接到服务器"},
        {outcome(SiteEnd::unreadablePage, 0), u8"3 页，0 条，0.9 秒：页面无法识别"},
        {outcome(SiteEnd::running, 7), u8"3 页，7 条，0.9 秒：正在搜索"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(outcomeText(c.outcome), literal(c.text));
    EXPECT_EQ(elapsedText(0ms), L(u8"0.0 秒"));
    EXPECT_EQ(elapsedText(12'345ms), L(u8"12.3 秒"));
}

TEST(OutcomeText, SumsUpASearch) {
    std::vector<SiteOutcome> outcomes(18, SiteOutcome{.end = SiteEnd::noNextPage});
    outcomes.resize(22, SiteOutcome{.end = SiteEnd::verification});
    EXPECT_EQ(outcomeSummary(outcomes), L(u8"22 个网盘：18 个完成，4 个要求安全验证"));
    EXPECT_EQ(emptySearchExplanation(outcomes),
              L(u8"没有找到结果：4 个网盘要求安全验证（详见“搜索状态”）"));
    outcomes[0].end = SiteEnd::networkFailure;
    EXPECT_EQ(emptySearchExplanation(outcomes),
              L(u8"没有找到结果：4 个网盘要求安全验证，1 个网盘网络错误（详见“搜索状态”）"));
    outcomes[1].rows = 1; // a row was found: nothing to explain
    EXPECT_EQ(emptySearchExplanation(outcomes), T(""));
    outcomes[1].rows = 0;
    outcomes[2].end = SiteEnd::running; // not ended yet
    EXPECT_EQ(emptySearchExplanation(outcomes), T(""));
    EXPECT_EQ(emptySearchExplanation(
                  std::vector<SiteOutcome>(3, SiteOutcome{.end = SiteEnd::noNextPage})),
              T(""));
    EXPECT_EQ(outcomeSummary({}), L(u8"0 个网盘"));
}

} // namespace
} // namespace shareseek
