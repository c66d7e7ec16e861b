#include "search/page_extraction.h"

#include "fake_engine/fake_search_engine.h"
#include "support/text_printing.h"
#include "text/codepage.h"

#include <gtest/gtest.h>

namespace shareseek {
namespace {

using fake::PageContent;
using fake::renderResultsPage;
using testing::L;
using testing::T;

// One result link in the engine's layout, as UTF-8.
std::string link(const std::string& address, const std::string& title,
                 const std::string& href = "href", const std::string& target = "target") {
    return " " + href + "=\"" + address + "\"\n\t\t\n\t\t            " + target +
           "=\"_blank\"\n        \t\t\n\t\t>" + title + "</a></h3><div>\n";
}

TEST(PageExtraction, PatternIsSeventyEightBytes) {
    EXPECT_EQ(extractionPattern().size(), 78u);
}

TEST(PageExtraction, FindsHitsInPageOrder) {
    const std::string page = link("http://a/1", "<em>网盘</em>搜索") +
                             link("http://a/2", "second") + link("http://a/3", "<EM>third</EM>") +
                             link("http://a/4", "caps", "HREF", "TARGET");
    RegexMatcher matcher;
    ASSERT_EQ(extractHits(matcher, decodePage(page)), 4);
    EXPECT_EQ(hitTitle(matcher, 1), L(u8"网盘搜索"));
    EXPECT_EQ(hitAddress(matcher, 1), T("http://a/1"));
    EXPECT_EQ(hitTitle(matcher, 2), T("second"));
    EXPECT_EQ(hitAddress(matcher, 3), T("http://a/3"));
    EXPECT_EQ(hitTitle(matcher, 3), T("<EM>third</EM>")); // capitals are not emphasis tags
    EXPECT_EQ(hitAddress(matcher, 4), T("http://a/4"));
}

TEST(PageExtraction, PagesThatYieldNoHits) {
    struct Case {
        const char* name;
        std::string body;
    };
    std::string crlf = link("http://a/1", "t");
    for (std::size_t at = 0; (at = crlf.find('\n', at)) != std::string::npos; at += 2)
        crlf.replace(at, 1, "\r\n");
    const Case cases[] = {
        {"empty body", ""},
        {"carriage-return line ends", crlf},
        {"a hit after a zero byte", std::string("x\0", 2) + link("http://a/1", "t")},
        {"only href=\" repeated", std::string(200000, 'x') +
                                      [] {
                                          std::string s;
                                          for (int i = 0; i < 20000; ++i)
                                              s += "href=\"";
                                          return s;
                                      }()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RegexMatcher matcher;
        EXPECT_EQ(extractHits(matcher, decodePage(c.body)), 0);
    }
}

TEST(PageExtraction, TheNextPageMarkerIsExact) {
    EXPECT_TRUE(hasNextPage(decodePage("<a class=\"n\">\xE4\xB8\x8B\xE4\xB8\x80\xE9\xA1\xB5</a>")));
    EXPECT_FALSE(
        hasNextPage(decodePage("<a CLASS=\"N\">\xE4\xB8\x8B\xE4\xB8\x80\xE9\xA1\xB5</a>")));
    EXPECT_FALSE(hasNextPage(decodePage("")));
}

TEST(PageExtraction, ReadsTheFakeEnginesPages) {
    const std::string page = renderResultsPage(PageContent{.shareHost = "yunpan.cn",
                                                           .keyword = "电影",
                                                           .pageOffset = 50,
                                                           .hits = 50,
                                                           .nextPage = true,
                                                           .paddingBytes = 400000});
    const Text text = decodePage(page);
    RegexMatcher matcher;
    ASSERT_EQ(extractHits(matcher, text), 50);
    EXPECT_EQ(hitTitle(matcher, 1), L(u8"电影 资源 51 - yunpan.cn"));
    EXPECT_EQ(hitAddress(matcher, 50), T(fake::fakeHitAddress("yunpan.cn", 99)));
    EXPECT_TRUE(hasNextPage(text));
}

TEST(PageExtraction, LargePagesFinishWithoutACrash) {
    struct Case {
        const char* name;
        std::string body;
        int expectedHits;
    };
    std::string manyHits;
    for (int i = 0; i < 100000; ++i)
        manyHits += link("u", "t");
    const Case cases[] = {
        {"10 MB on one line", std::string(10 * 1024 * 1024, 'a') + link("u", "t"), 1},
        {"a 50 KB title line", link("u", std::string(50 * 1024, 't')), 1},
        {"100,000 hits", manyHits, 100000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RegexMatcher matcher;
        EXPECT_EQ(extractHits(matcher, decodePage(c.body)), c.expectedHits);
    }
}

} // namespace
} // namespace shareseek
