#include "search/dispatch.h"
#include "search/worker.h"

#include "fake_engine/fake_search_engine.h"
#include "support/fake_controls.h"
#include "support/fake_desktop.h"
#include "support/text_printing.h"
#include "support/waiting.h"
#include "text/codepage.h"
#include "text/text_ops.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <set>
#include <stdexcept>
#include <thread>

namespace shareseek {
namespace {

using namespace control;
using namespace std::chrono_literals;
using fake::EngineFailure;
using fake::FakeSearchEngine;
using fake::HostBehaviour;
using testing::FakeControls;
using testing::FakeDesktop;
using testing::L;
using testing::T;

const std::string site1 = "pan.baidu.com"; // site index 1
const std::string site5 = "yunpan.cn";     // site index 5

// A whole search through the real dispatch and workers, against the fake engine on loopback.
class Search : public ::testing::Test {
protected:
    Search() {
        session->environment.searchHost = engine.host();
        session->environment.limits = {
            .connectTimeout = 2000ms, .stallTimeout = 1s, .totalTimeout = 10s};
        for (const Site& site : siteCatalogue())
            session->checkBoxTable[static_cast<std::size_t>(site.index - 1)] = site.checkBox;
        controls->setText(编辑框1, L(u8"电影"));
    }

    void tick(int siteIndex) {
        controls->setTicked(siteCatalogue()[static_cast<std::size_t>(siteIndex - 1)].checkBox,
                            true);
    }

    // Waits until every worker has ended (the test fails after a generous while).
    void waitForWorkers() {
        ASSERT_TRUE(testing::waitForWorkers(*session)) << "workers did not end";
    }

    void search() {
        dispatch.startSearch();
        waitForWorkers();
    }

    // Column `column` of every row of the result list.
    std::vector<Text> column(int column) {
        std::vector<Text> cells;
        for (const auto& row : controls->rows(超级列表框1))
            cells.push_back(row[static_cast<std::size_t>(column)]);
        return cells;
    }

    std::vector<Text> numbers(int from, int to) {
        std::vector<Text> expected;
        for (int n = from; n <= to; ++n)
            expected.push_back(Text(std::to_string(n)));
        return expected;
    }

    FakeSearchEngine engine;
    std::shared_ptr<FakeControls> controls = std::make_shared<FakeControls>();
    std::shared_ptr<SearchSession> session = std::make_shared<SearchSession>(controls);
    FakeDesktop desktop;
    SearchDispatch dispatch{session, desktop};
};

TEST_F(Search, NothingTickedOnlyEmptiesTheList) {
    controls->appendRow(超级列表框1);
    search();
    EXPECT_TRUE(controls->rows(超级列表框1).empty());
    EXPECT_TRUE(engine.requests().empty());
    EXPECT_TRUE(desktop.messages().empty());
}

TEST_F(Search, AnEmptyKeywordIsRefused) {
    tick(1);
    controls->appendRow(超级列表框1);
    controls->setText(标签2, T("kept"));
    session->rowCounter = 7;
    controls->setText(编辑框1, T(""));
    search();
    ASSERT_EQ(desktop.messages().size(), 1u);
    EXPECT_EQ(desktop.messages()[0].text, L(u8"请输入关键字！"));
    EXPECT_TRUE(controls->rows(超级列表框1).empty());
    EXPECT_TRUE(engine.requests().empty());
    EXPECT_EQ(session->rowCounter.load(), 7);
    EXPECT_EQ(controls->text(标签2), T("kept"));
}

TEST_F(Search, AKeywordOfSpacesIsSearched) {
    tick(1);
    controls->setText(编辑框1, T("  "));
    search();
    ASSERT_EQ(engine.requests().size(), 1u);
    EXPECT_EQ(engine.requests()[0].keyword, "  ");
}

TEST_F(Search, RowsOfEachSiteFormOneStretchInTheOrderTheirFirstPagesArrived) {
    struct Case {
        const char* name;
        std::string firstHost;
        std::size_t firstEntry; // its outcome entry: site 1 starts first
        int firstHits;
    };
    const Case cases[] = {
        {"site 5 answers first", site5, 1, 2},
        {"site 1 answers first", site1, 0, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        engine.setBehaviour(site1, {.hitsPerPage = 3});
        engine.setBehaviour(site5, {.hitsPerPage = 2});
        const std::string secondHost = c.firstHost == site1 ? site5 : site1;
        engine.hold(site1);
        engine.hold(site5);
        tick(1);
        tick(5);
        const std::size_t asked1 = engine.requestsFor(site1).size();
        const std::size_t asked5 = engine.requestsFor(site5).size();
        dispatch.startSearch();
        ASSERT_TRUE(engine.waitForRequests(site1, asked1 + 1));
        ASSERT_TRUE(engine.waitForRequests(site5, asked5 + 1));
        engine.release(c.firstHost);
        ASSERT_TRUE(testing::waitForLockHolder(*session, c.firstEntry));
        engine.release(secondHost);
        waitForWorkers();
        EXPECT_EQ(column(0), numbers(1, 5));
        const std::vector<Text> addresses = column(2);
        ASSERT_EQ(addresses.size(), 5u);
        for (int i = 0; i < 5; ++i) {
            const bool firstStretch = i < c.firstHits;
            const std::string& host =
                firstStretch ? c.firstHost : (c.firstHost == site1 ? site5 : site1);
            EXPECT_NE(addresses[static_cast<std::size_t>(i)].bytes().find(host), std::string::npos)
                << "row " << i + 1;
        }
        EXPECT_EQ(controls->text(标签2), L(u8"资源数：5"));
    }
}

TEST_F(Search, EachRowIsRepaintedAndCounted) {
    engine.setBehaviour(site1, {.hitsPerPage = 3});
    tick(1);
    search();
    EXPECT_EQ(column(1)[0], L(u8"电影 资源 1 - pan.baidu.com")); // without the emphasis tags
    EXPECT_EQ(controls->repaints(), 3);
    EXPECT_EQ(controls->captionsWritten(标签2),
              (std::vector<Text>{L(u8"资源数：1"), L(u8"资源数：2"), L(u8"资源数：3"),
                                 L(u8"资源数：3")}));
}

TEST_F(Search, PagesThroughEveryPageThatOffersANextOne) {
    engine.setBehaviour(site1, {.pages = 3, .hitsPerPage = 3});
    tick(1);
    search();
    std::vector<int> offsets;
    for (const auto& request : engine.requestsFor(site1))
        offsets.push_back(request.pageOffset);
    EXPECT_EQ(offsets, (std::vector<int>{0, 50, 100}));
    EXPECT_EQ(column(0), numbers(1, 9));
    EXPECT_TRUE(engine.requests()[1].path.ends_with("&pn=50&rn=50&ie=utf-8&rsv_page=1"));
}

TEST_F(Search, EndlessPagingStopsAtTheLimit) {
    engine.setBehaviour(site1, {.pages = 1'000'000, .hitsPerPage = 1});
    tick(1);
    search();
    EXPECT_EQ(engine.requestsFor(site1).size(), static_cast<std::size_t>(maxPagesPerSite));
    EXPECT_EQ(controls->rows(超级列表框1).size(), static_cast<std::size_t>(maxPagesPerSite));
    EXPECT_TRUE(controls->enabled(编辑框2));
}

TEST_F(Search, LaterPagesUseTheKeywordOfTheirMoment) {
    engine.setBehaviour(site1, {.pages = 3, .hitsPerPage = 1});
    engine.hold(site1);
    tick(1);
    dispatch.startSearch();
    ASSERT_TRUE(engine.waitForRequests(site1, 1));
    controls->setText(编辑框1, L(u8"音乐"));
    engine.release(site1);
    waitForWorkers();
    const auto requests = engine.requestsFor(site1);
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[0].keyword, "电影");
    EXPECT_EQ(requests[1].keyword, "音乐");
    EXPECT_EQ(requests[1].pageOffset, 50);
    EXPECT_EQ(requests[2].keyword, "音乐");
    EXPECT_EQ(requests[2].pageOffset, 100);
}

TEST_F(Search, OnlyExtraHostsContinueTheNumberingAndLeaveTheFilterAlone) {
    engine.setBehaviour(site1, {.hitsPerPage = 3});
    tick(1);
    search();
    ASSERT_EQ(column(0), numbers(1, 3));

    controls->setTicked(siteCatalogue()[0].checkBox, false);
    controls->setTicked(选择框1, true);
    session->extraHosts = T("my.host");
    engine.setBehaviour("my.host", {.hitsPerPage = 2});
    engine.hold("my.host");
    dispatch.startSearch();
    // A search of built-in sites would have disabled and hidden them until a worker ends.
    EXPECT_TRUE(controls->enabled(编辑框2));
    EXPECT_TRUE(controls->visible(超级按钮1));
    engine.release("my.host");
    waitForWorkers();
    EXPECT_EQ(column(0), numbers(4, 5));
}

TEST_F(Search, ExtraHostsAreCutAtSemicolons) {
    struct Case {
        const char* name;
        const char* list;
        std::multiset<std::string> hosts;
    };
    const Case cases[] = {
        {"two semicolons in a row", "a.com;;b.com", {"a.com", "", "b.com"}},
        {"a semicolon at the end", "a.com;", {"a.com"}},
        {"an empty list", "", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeSearchEngine own;
        session->environment.searchHost = own.host();
        controls->setTicked(选择框1, true);
        session->extraHosts = T(c.list);
        search();
        std::multiset<std::string> hosts;
        for (const auto& request : own.requests())
            hosts.insert(request.shareHost);
        EXPECT_EQ(hosts, c.hosts);
    }
}

TEST_F(Search, ExtraHostsAreNotSearchedWithoutOther) {
    session->extraHosts = T("a.com");
    search();
    EXPECT_TRUE(engine.requests().empty());
}

TEST_F(Search, ASiteWithoutHitsStillRunsItsEndSteps) {
    engine.setBehaviour(site1, {.hitsPerPage = 0});
    tick(1);
    search();
    EXPECT_TRUE(controls->rows(超级列表框1).empty());
    EXPECT_EQ(controls->text(标签2), L(u8"资源数：0"));
    EXPECT_TRUE(controls->enabled(编辑框2));
    EXPECT_TRUE(controls->visible(超级按钮1));
}

// Every answer of today's engine through the real workers: the rows each site gives and how
// each site's search is said to have ended.
TEST_F(Search, EachSiteGivesItsRowsAndSaysHowItsSearchEnded) {
    struct Case {
        const char* name;
        HostBehaviour behaviour;
        int rows;
        SiteEnd end;
        const char8_t* reason;
        int pages;
        std::size_t asked; // requests the engine saw: a moved page is asked for twice
    };
    const Case cases[] = {
        {"reset before answering",
         {.failure = EngineFailure::refuse},
         0,
         SiteEnd::networkFailure,
         u8"服务器断开了连接",
         1,
         1},
        {"never answers",
         {.failure = EngineFailure::stall},
         0,
         SiteEnd::networkFailure,
         u8"连接超时",
         1,
         1},
        {"HTTP 500",
         {.failure = EngineFailure::errorPage},
         0,
         SiteEnd::networkFailure,
         u8"服务器返回 HTTP 500",
         1,
         1},
        {"old layout indented otherwise",
         {.pages = 2, .hitsPerPage = 2, .failure = EngineFailure::otherLayout},
         4,
         SiteEnd::noNextPage,
         u8"",
         2,
         2},
        {"the fixed layout", {.hitsPerPage = 2}, 2, SiteEnd::noNextPage, u8"", 1, 1},
        {"verification",
         {.pages = 3, .hitsPerPage = 2, .failure = EngineFailure::verification},
         0,
         SiteEnd::verification,
         u8"百度安全验证",
         1,
         1},
        {"today's layout",
         {.pages = 2, .hitsPerPage = 3, .failure = EngineFailure::todaysLayout},
         6,
         SiteEnd::noNextPage,
         u8"",
         2,
         2},
        {"no results page at all",
         {.failure = EngineFailure::unreadable},
         0,
         SiteEnd::unreadablePage,
         u8"",
         1,
         1},
        {"moved to another path",
         {.pages = 2, .hitsPerPage = 2, .failure = EngineFailure::moved},
         4,
         SiteEnd::noNextPage,
         u8"",
         2,
         4},
        {"cut in the body",
         {.hitsPerPage = 40, .failure = EngineFailure::resetMidBody},
         20,
         SiteEnd::networkFailure,
         u8"页面未接收完整",
         1,
         1},
        {"nothing found", {.hitsPerPage = 0}, 0, SiteEnd::noNextPage, u8"", 1, 1},
    };
    const int sites = static_cast<int>(std::size(cases));
    const auto hostOf = [](int site) {
        return std::string(siteCatalogue()[static_cast<std::size_t>(site - 1)].shareHost);
    };
    for (int site = 1; site <= sites; ++site) {
        engine.setBehaviour(hostOf(site), cases[site - 1].behaviour);
        engine.hold(hostOf(site));
        tick(site);
    }
    // Answered only once the dispatch has started every site (it resets the row counter
    // before each start), so that the numbering runs on across all of them.
    dispatch.startSearch();
    for (int site = 1; site <= sites; ++site)
        engine.release(hostOf(site));
    waitForWorkers();

    const std::vector<SiteOutcome> outcomes = session->outcomes()->snapshot();
    ASSERT_EQ(outcomes.size(), static_cast<std::size_t>(sites));
    const std::vector<Text> addresses = column(2);
    int allRows = 0;
    for (int site = 1; site <= sites; ++site) {
        const Case& c = cases[site - 1];
        SCOPED_TRACE(c.name);
        const Site& entry = siteCatalogue()[static_cast<std::size_t>(site - 1)];
        const std::string host(entry.shareHost);
        const std::string prefix = "http://www.baidu.com/link?url=" + host + "-";
        const auto rows = std::count_if(addresses.begin(), addresses.end(), [&](const Text& a) {
            return a.view().starts_with(prefix);
        });
        EXPECT_EQ(rows, c.rows);
        allRows += c.rows;
        const SiteOutcome& outcome = outcomes[static_cast<std::size_t>(site - 1)];
        EXPECT_EQ(outcome.siteIndex, site);
        EXPECT_EQ(outcome.caption, literal(entry.caption));
        EXPECT_EQ(outcome.host, T(host));
        EXPECT_EQ(outcome.end, c.end);
        EXPECT_EQ(outcome.reason, L(c.reason));
        EXPECT_EQ(outcome.rows, c.rows);
        EXPECT_EQ(outcome.pages, c.pages);
        EXPECT_EQ(engine.requestsFor(host).size(), c.asked);
    }
    EXPECT_EQ(column(0), numbers(1, allRows));
    // Today's layout: titles read from the heading's link, references decoded.
    std::vector<Text> todays;
    for (const auto& row : controls->rows(超级列表框1))
        if (row[2].view().find("url=" + std::string(siteCatalogue()[6].shareHost) + "-") !=
            std::string_view::npos)
            todays.push_back(row[1]);
    ASSERT_EQ(todays.size(), 6u);
    const int hitNumbers[] = {0, 1, 2, 50, 51, 52}; // counted across pages of 50
    for (std::size_t i = 0; i < 6; ++i)
        EXPECT_EQ(todays[i],
                  utf8ToText(fake::fakeTodaysTitle(std::string(siteCatalogue()[6].shareHost),
                                                   "电影", hitNumbers[i])));
    // The moving engine was asked for the moved path; the verification path once.
    const auto moved = engine.requestsFor(std::string(siteCatalogue()[8].shareHost));
    ASSERT_EQ(moved.size(), 4u);
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_TRUE(moved[i].path.starts_with(i % 2 == 0 ? "/s?" : "/r/s?")) << moved[i].path;
}

TEST_F(Search, AnEngineThatCannotBeReachedIsSaidSo) {
    fake::LoopbackServer closed([](fake::Connection&) {});
    session->environment.searchHost = closed.hostAndPort();
    closed.stop();
    tick(1);
    search();
    const std::vector<SiteOutcome> outcomes = session->outcomes()->snapshot();
    ASSERT_EQ(outcomes.size(), 1u);
    EXPECT_EQ(outcomes[0].end, SiteEnd::networkFailure);
    EXPECT_EQ(outcomes[0].reason, L(u8"无法连接到服务器"));
    EXPECT_TRUE(controls->enabled(编辑框2));
}

// Controls whose first appended row throws, as a failing window might.
class ThrowingControls : public FakeControls {
public:
    int appendRow(ControlName list) override {
        if (!thrown_.exchange(true))
            throw std::runtime_error("the list is gone");
        return FakeControls::appendRow(list);
    }

private:
    std::atomic<bool> thrown_{false};
};

TEST(SearchErrors, AnErrorInsideAWorkerEndsThatSiteAloneAndCleanly) {
    FakeSearchEngine engine({.hitsPerPage = 2});
    auto controls = std::make_shared<ThrowingControls>();
    auto session = std::make_shared<SearchSession>(controls);
    session->environment.searchHost = engine.host();
    fillCheckBoxTable(*session);
    controls->setText(编辑框1, L(u8"电影"));
    controls->setTicked(session->checkBoxTable[0], true);
    controls->setTicked(session->checkBoxTable[4], true);
    FakeDesktop desktop;
    SearchDispatch dispatch(session, desktop);
    dispatch.startSearch();
    ASSERT_TRUE(testing::waitForWorkers(*session));

    const std::vector<SiteOutcome> outcomes = session->outcomes()->snapshot();
    ASSERT_EQ(outcomes.size(), 2u);
    const auto aborted = std::count_if(outcomes.begin(), outcomes.end(), [](const SiteOutcome& o) {
        return o.end == SiteEnd::aborted;
    });
    EXPECT_EQ(aborted, 1);
    // The other site's two rows are there, and the window was given its end steps.
    EXPECT_EQ(controls->rows(超级列表框1).size(), 2u);
    EXPECT_TRUE(controls->enabled(编辑框2));
    EXPECT_TRUE(controls->visible(超级按钮1));
    EXPECT_EQ(controls->text(标签2), L(u8"资源数：2"));
}

TEST_F(Search, EnterStartsASearchAndOtherKeysDoNothing) {
    tick(1);
    dispatch.keywordKeyPressed(65);
    waitForWorkers();
    EXPECT_TRUE(engine.requests().empty());
    dispatch.keywordKeyPressed(13);
    waitForWorkers();
    EXPECT_EQ(engine.requests().size(), 1u);
}

TEST_F(Search, RandomSearchPutsADrawnKeywordInTheBoxAndSearches) {
    tick(1);
    desktop.drawNext(3);
    dispatch.randomSearch();
    waitForWorkers();
    const TextList keywords = separate(randomKeywords(), T(","));
    EXPECT_EQ(controls->text(编辑框1), keywords[2]);
    ASSERT_EQ(desktop.ranges.size(), 1u);
    EXPECT_EQ(desktop.ranges[0], (std::pair<int, int>{1, 1044}));
    EXPECT_EQ(desktop.seeds.size(), 1u);
    ASSERT_EQ(engine.requests().size(), 1u);
    EXPECT_EQ(engine.requests()[0].keyword, textToUtf8(keywords[2]));
}

TEST(RandomKeywords, AreTwoToEightChineseCharactersAndNoneTwice) {
    const TextList keywords = separate(randomKeywords(), T(","));
    ASSERT_EQ(keywords.size(), 1044u);
    EXPECT_NE(randomKeywords().bytes().front(), ',');
    EXPECT_NE(randomKeywords().bytes().back(), ',');
    std::set<Text> unique(keywords.begin(), keywords.end());
    EXPECT_EQ(unique.size(), keywords.size());
    for (const Text& keyword : keywords) {
        SCOPED_TRACE(textToUtf8(keyword));
        const std::u16string units = textToUtf16(keyword);
        EXPECT_GE(units.size(), 2u);
        EXPECT_LE(units.size(), 8u);
        for (const char16_t unit : units)
            EXPECT_TRUE(unit >= 0x4E00 && unit <= 0x9FFF);
    }
}

} // namespace
} // namespace shareseek
