#include "search/dispatch.h"
#include "search/worker.h"

#include "fake_engine/fake_search_engine.h"
#include "support/fake_controls.h"
#include "support/fake_desktop.h"
#include "support/text_printing.h"
#include "text/codepage.h"
#include "text/text_ops.h"

#include <gtest/gtest.h>

#include <chrono>
#include <set>
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
        const auto deadline = std::chrono::steady_clock::now() + 30s;
        while (session->runningWorkers > 0 && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(5ms);
        ASSERT_EQ(session->runningWorkers.load(), 0) << "workers did not end";
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
        std::chrono::milliseconds latency1, latency5;
        std::string firstHost;
        int firstHits;
    };
    const Case cases[] = {
        {"site 5 answers first", 400ms, 0ms, site5, 2},
        {"site 1 answers first", 0ms, 400ms, site1, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        engine.setBehaviour(site1, {.hitsPerPage = 3, .latency = c.latency1});
        engine.setBehaviour(site5, {.hitsPerPage = 2, .latency = c.latency5});
        tick(1);
        tick(5);
        search();
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
    engine.setBehaviour(site1, {.pages = 3, .hitsPerPage = 1, .latency = 300ms});
    tick(1);
    dispatch.startSearch();
    while (engine.requests().empty())
        std::this_thread::sleep_for(2ms);
    controls->setText(编辑框1, L(u8"音乐"));
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
    engine.setBehaviour("my.host", {.hitsPerPage = 2, .latency = 300ms});
    dispatch.startSearch();
    // A search of built-in sites would have disabled and hidden them until a worker ends.
    EXPECT_TRUE(controls->enabled(编辑框2));
    EXPECT_TRUE(controls->visible(超级按钮1));
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

TEST_F(Search, FailingSitesDoNotStopTheOthers) {
    engine.setBehaviour(std::string(siteCatalogue()[0].shareHost),
                        {.failure = EngineFailure::refuse});
    engine.setBehaviour(std::string(siteCatalogue()[1].shareHost),
                        {.failure = EngineFailure::stall});
    engine.setBehaviour(std::string(siteCatalogue()[2].shareHost),
                        {.failure = EngineFailure::errorPage});
    engine.setBehaviour(std::string(siteCatalogue()[3].shareHost),
                        {.pages = 2, .hitsPerPage = 2, .failure = EngineFailure::otherLayout});
    engine.setBehaviour(site5, {.hitsPerPage = 2});
    for (int site = 1; site <= 5; ++site)
        tick(site);
    search();
    EXPECT_EQ(column(0), numbers(1, 2));
    for (const Text& address : column(2))
        EXPECT_NE(address.bytes().find(site5), std::string::npos);
    // The page in another layout still offered a next page, which was asked for.
    EXPECT_EQ(engine.requestsFor(std::string(siteCatalogue()[3].shareHost)).size(), 2u);
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
