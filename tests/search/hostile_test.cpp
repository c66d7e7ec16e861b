#include "search/dispatch.h"

#include "fake_engine/fake_search_engine.h"
#include "support/fake_controls.h"
#include "support/fake_desktop.h"
#include "support/text_printing.h"
#include "text/codepage.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <sys/resource.h>
#include <thread>

namespace shareseek {
namespace {

using namespace control;
using namespace std::chrono_literals;
using fake::EngineFailure;
using fake::HostBehaviour;

struct HostileCase {
    const char* name;
    HostBehaviour behaviour;
    int minRows, maxRows; // rows the hostile site may give
};

// Each case its own process, so that its peak memory is its own.
const HostileCase hostileCases[] = {
    {"never_answers", {.failure = EngineFailure::stall}, 0, 0},
    {"headers_then_stall", {.failure = EngineFailure::headersThenStall}, 0, 0},
    {"next_page_forever", {.pages = 1'000'000, .hitsPerPage = 1}, maxPagesPerSite, maxPagesPerSite},
    {"body_of_200_MB", {.failure = EngineFailure::hugeBody}, 0, 0},
    {"invalid_utf8_and_a_zero_byte",
     {.hitsPerPage = 3, .failure = EngineFailure::brokenText},
     1,
     1},
    {"headers_over_5000_bytes", {.hitsPerPage = 3, .failure = EngineFailure::hugeHeaders}, 3, 3},
    {"redirect_loop", {.failure = EngineFailure::redirectLoop}, 0, 0},
    {"reset_in_the_body", {.hitsPerPage = 40, .failure = EngineFailure::resetMidBody}, 0, 40},
    {"100000_hits", {.hitsPerPage = 100'000}, 100'000, 100'000},
};

class Hostile : public ::testing::TestWithParam<HostileCase> {};

// The hostile site's first page arrives first, so its worker takes the result lock first:
// the other sites' rows show that it let go of the lock, and that nothing was lost.
TEST_P(Hostile, TheOtherSitesRowsAreCompleteAndNothingHangs) {
    const HostileCase& c = GetParam();
    const std::string hostile = "pan.baidu.com", others[] = {"yunpan.cn", "ctdisk.com"};
    fake::FakeSearchEngine engine({}, 0);
    engine.setBehaviour(hostile, c.behaviour);
    for (const std::string& host : others)
        engine.setBehaviour(host, {.hitsPerPage = 2, .latency = 300ms});

    auto controls = std::make_shared<testing::FakeControls>();
    auto session = std::make_shared<SearchSession>(controls);
    // Shortened limits; a stall of 5 s leaves a slow sanitizer build the time to render the
    // page of 100,000 hits.
    session->environment = {
        .searchHost = engine.host(),
        .limits = {.connectTimeout = 1000ms, .stallTimeout = 5s, .totalTimeout = 20s}};
    fillCheckBoxTable(*session);
    for (const int site : {1, 5, 13})
        controls->setTicked(session->checkBoxTable[static_cast<std::size_t>(site - 1)], true);
    controls->setText(编辑框1, literal(u8"电影"));
    testing::FakeDesktop desktop;
    SearchDispatch dispatch(session, desktop);

    const auto begin = std::chrono::steady_clock::now();
    dispatch.startSearch();
    while (session->runningWorkers > 0 && std::chrono::steady_clock::now() - begin < 60s)
        std::this_thread::sleep_for(5ms);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    ASSERT_EQ(session->runningWorkers.load(), 0) << "a worker hangs";

    const auto rows = controls->rows(超级列表框1);
    int hostileRows = 0, otherRows = 0;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i][0], Text(std::to_string(i + 1))) << "numbering, row " << i + 1;
        const std::string& address = rows[i][2].bytes();
        if (address.find(hostile) != std::string::npos)
            ++hostileRows;
        else if (address.find(others[0]) != std::string::npos ||
                 address.find(others[1]) != std::string::npos)
            ++otherRows;
    }
    EXPECT_EQ(otherRows, 4);
    EXPECT_GE(hostileRows, c.minRows);
    EXPECT_LE(hostileRows, c.maxRows);
    EXPECT_EQ(static_cast<int>(rows.size()), hostileRows + otherRows);
    EXPECT_EQ(controls->text(标签2), literal(u8"资源数：") + Text(std::to_string(rows.size())));
    EXPECT_TRUE(controls->enabled(编辑框2));

    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("hostile case %s: %d hostile rows, ended in %.2f s, peak memory %.0f MB\n", c.name,
                hostileRows, seconds, usage.ru_maxrss / 1024.0);
}

INSTANTIATE_TEST_SUITE_P(Servers, Hostile, ::testing::ValuesIn(hostileCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace shareseek
