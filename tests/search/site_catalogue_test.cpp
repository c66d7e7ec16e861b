#include "search/site_catalogue.h"

#include "support/text_printing.h"

#include <gtest/gtest.h>

#include <set>

namespace shareseek {
namespace {

using testing::L;
using testing::T;

TEST(SiteCatalogue, HasTwentyTwoSitesInIndexOrderWithBareHosts) {
    std::set<std::string_view> hosts;
    for (std::size_t i = 0; i < siteCatalogue().size(); ++i) {
        const Site& site = siteCatalogue()[i];
        SCOPED_TRACE(site.shareHost);
        EXPECT_EQ(site.index, static_cast<int>(i) + 1);
        EXPECT_EQ(site.shareHost.find_first_not_of("abcdefghijklmnopqrstuvwxyz0123456789.-"),
                  std::string_view::npos);
        hosts.insert(site.shareHost);
    }
    EXPECT_EQ(hosts.size(), 22u);
    EXPECT_EQ(siteCatalogue()[12].checkBox, u8"选择框_城通");
    EXPECT_EQ(siteCatalogue()[13].checkBox, u8"选择框_vdisk");
    // The last site's caption is its own host name.
    EXPECT_EQ(std::string_view(reinterpret_cast<const char*>(siteCatalogue()[21].caption.data()),
                               siteCatalogue()[21].caption.size()),
              siteCatalogue()[21].shareHost);
}

TEST(WorkerParameter, BuildsAndParses) {
    struct Case {
        const char* name;
        Text parameter;
        int siteIndex;
        Text shareHost;
    };
    const Case cases[] = {
        {"built-in site", buildWorkerParameter(5), 5, T("yunpan.cn")},
        {"built-in site ignores a host", T("1.N.*x.com"), 1, T("pan.baidu.com")},
        {"first extra host", buildWorkerParameter(24, T("my.host")), 24, T("my.host")},
        {"empty extra host", buildWorkerParameter(25), 25, T("")},
        {"spaces kept", buildWorkerParameter(24, T(" a.b ")), 24, T(" a.b ")},
        {"a host holding the separator is cut there", buildWorkerParameter(26, T("a.N.*b")), 26,
         T("a")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const WorkerSite site = parseWorkerParameter(c.parameter);
        EXPECT_EQ(site.siteIndex, c.siteIndex);
        EXPECT_EQ(site.shareHost, c.shareHost);
    }
    EXPECT_EQ(buildWorkerParameter(5), T("5.N.*"));
    EXPECT_EQ(buildWorkerParameter(24, T("h")), T("24.N.*h"));
}

TEST(KeywordEncoding, EncodesEverythingButLiterals) {
    struct Case {
        Text keyword;
        bool keepLiterals, asUtf8;
        Text expected;
    };
    const Case cases[] = {
        {T("a b/c"), true, true, T("a%20b%2Fc")},
        {T("C++_x~"), true, true, T("C%2B%2B%5Fx%7E")},
        {T("1.5-2"), true, true, T("1.5-2")},
        {L(u8"网盘"), true, true, T("%E7%BD%91%E7%9B%98")},
        {T("\t"), true, true, T("%09")},
        {T(""), true, true, T("")},
        {L(u8"网盘"), true, false, T("%CD%F8%C5%CC")},
        {T("ab"), false, true, T("%61%62")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keyword.bytes());
        EXPECT_EQ(encodeKeyword(c.keyword, c.keepLiterals, c.asUtf8), c.expected);
    }
}

TEST(ResultsPageAddress, CarriesHostKeywordAndPageOffset) {
    EXPECT_EQ(
        resultsPageAddress("www.baidu.com", T("yunpan.cn"), T("a%20b"), 0),
        T("http://www.baidu.com/s?wd=site%3Ayunpan.cn%20a%20b&pn=0&rn=50&ie=utf-8&rsv_page=1"));
    EXPECT_EQ(resultsPageAddress("127.0.0.1:8080", T(""), T("k"), 50),
              T("http://127.0.0.1:8080/s?wd=site%3A%20k&pn=50&rn=50&ie=utf-8&rsv_page=1"));
    EXPECT_EQ(resultsPageAddress("h", T(" x "), T("k"), 100),
              T("http://h/s?wd=site%3A x %20k&pn=100&rn=50&ie=utf-8&rsv_page=1"));
}

} // namespace
} // namespace shareseek
