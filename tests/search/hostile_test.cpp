#include "search/dispatch.h"

#include "fake_engine/fake_search_engine.h"
#include "support/fake_controls.h"
#include "support/fake_desktop.h"
#include "support/text_printing.h"
#include "support/waiting.h"
#include "text/codepage.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <sys/resource.h>

namespace shareseek {
namespace {

using namespace control;
using namespace std::chrono_literals;
using fake::EngineFailure;
using fake::HostBehaviour;

#if defined(__SANITIZE_THREAD__)
constexpr double sanitizerMemoryFactor = 8.0; // shadow memory of every access
#elif defined(__SANITIZE_ADDRESS__)
constexpr double sanitizerMemoryFactor = 3.0; // shadow memory and quarantine
#else
constexpr double sanitizerMemoryFactor = 1.0;
#endif

struct HostileCase {
    const char* name;
    HostBehaviour behaviour;
    int rows; // the rows the hostile site gives
    SiteEnd end;
    const char8_t* reason;
    // Peak memory of the process, about twice what the plain build needs today (measured
    // beside each case).
    double peakMegabytes;
    // A hostile page that ends only by the stall limit cannot be answered first while the
    // others wait: a held answer meets the same limit. Those others go first; with no
    // hostile rows, the rows cannot tell the order anyway.
    bool hostileFirst = true;
};

// Each case runs in its own process under ctest, so that its peak memory is its own.
const HostileCase hostileCases[] = {
    // 13 MB
    {"never_answers",
     {.failure = EngineFailure::stall},
     0,
     SiteEnd::networkFailure,
     u8"连接超时",
     30,
     false},
    // 13 MB
    {"headers_then_stall",
     {.failure = EngineFailure::headersThenStall},
     0,
     SiteEnd::networkFailure,
     u8"连接超时",
     30,
     false},
    // 16 MB
    {"next_page_forever",
     {.pages = 1'000'000, .hitsPerPage = 1},
     maxPagesPerSite,
     SiteEnd::pageCap,
     u8"",
     40},
    // 334 MB: the body up to its 64 MiB cap, as it grows, and its decoding
    {"body_of_200_MB",
     {.failure = EngineFailure::hugeBody},
     0,
     SiteEnd::networkFailure,
     u8"页面过大",
     700},
    // 13 MB
    {"invalid_utf8_and_a_zero_byte",
     {.hitsPerPage = 3, .failure = EngineFailure::brokenText},
     1,
     SiteEnd::noNextPage,
     u8"",
     30},
    // 13 MB
    {"headers_over_5000_bytes",
     {.hitsPerPage = 3, .failure = EngineFailure::hugeHeaders},
     3,
     SiteEnd::noNextPage,
     u8"",
     30},
    // 13 MB
    {"redirect_loop",
     {.failure = EngineFailure::redirectLoop},
     0,
     SiteEnd::networkFailure,
     u8"重定向次数过多",
     30},
    // 13 MB: half the response arrives, the first 20 of its 40 hits
    {"reset_in_the_body",
     {.hitsPerPage = 40, .failure = EngineFailure::resetMidBody},
     20,
     SiteEnd::networkFailure,
     u8"页面未接收完整",
     30},
    // 164 MB
    {"100000_hits", {.hitsPerPage = 100'000}, 100'000, SiteEnd::noNextPage, u8"", 350},
};

void PrintTo(const HostileCase& c, std::ostream* os) {
    *os << c.name;
}

double peakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

class Hostile : public ::testing::TestWithParam<HostileCase> {};

// The hostile site's first page is answered first, so its worker takes the result lock first;
// the other sites are answered only once it holds it. Their rows then show that it let go of
// the lock, and that nothing was lost.
TEST_P(Hostile, TheOtherSitesRowsAreCompleteAndNothingHangs) {
    const HostileCase& c = GetParam();
    const double peakBefore = peakMegabytes();
    const std::string hostile = "pan.baidu.com", others[] = {"yunpan.cn", "ctdisk.com"};
    fake::FakeSearchEngine engine({}, 0);
    engine.setBehaviour(hostile, c.behaviour);
    for (const std::string& host : others) {
        engine.setBehaviour(host, {.hitsPerPage = 2});
        if (c.hostileFirst)
            engine.hold(host);
    }
    engine.hold(hostile);

    auto controls = std::make_shared<testing::FakeControls>();
    auto session = std::make_shared<SearchSession>(controls);
    // A stall of 5 s ends the stalling cases soon. Where the others are held until the
    // hostile site holds the lock, they are given longer: a sanitizer build may take more
    // than 5 s over the hostile page, and the held answers must not run out first.
    session->environment = {.searchHost = engine.host(),
                            .limits = {.connectTimeout = 1000ms,
                                       .stallTimeout = c.hostileFirst ? 60s : 5s,
                                       .totalTimeout = c.hostileFirst ? 120s : 20s}};
    fillCheckBoxTable(*session);
    for (const int site : {1, 5, 13})
        controls->setTicked(session->checkBoxTable[static_cast<std::size_t>(site - 1)], true);
    controls->setText(编辑框1, literal(u8"电影"));
    testing::FakeDesktop desktop;
    SearchDispatch dispatch(session, desktop);

    const auto begin = std::chrono::steady_clock::now();
    dispatch.startSearch();
    for (const std::string& host : {hostile, others[0], others[1]})
        ASSERT_TRUE(engine.waitForRequests(host, 1)) << host << " was never asked";
    engine.release(hostile);
    if (c.hostileFirst) {
        ASSERT_TRUE(testing::waitForLockHolder(*session, 0, 60s))
            << "the hostile site never appends";
        for (const std::string& host : others)
            engine.release(host);
    }
    ASSERT_TRUE(testing::waitForWorkers(*session, 60s)) << "a worker hangs";
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();

    const auto rows = controls->rows(超级列表框1);
    ASSERT_EQ(static_cast<int>(rows.size()), c.rows + 4);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i][0], Text(std::to_string(i + 1))) << "numbering, row " << i + 1;
        const std::string& host = i < static_cast<std::size_t>(c.rows) ? hostile : others[0];
        if (i < static_cast<std::size_t>(c.rows))
            EXPECT_NE(rows[i][2].bytes().find(host), std::string::npos) << "row " << i + 1;
        else
            EXPECT_EQ(rows[i][2].bytes().find(hostile), std::string::npos) << "row " << i + 1;
    }
    EXPECT_EQ(controls->text(标签2), literal(u8"资源数：") + Text(std::to_string(rows.size())));
    EXPECT_TRUE(controls->enabled(编辑框2));

    const std::vector<SiteOutcome> outcomes = session->outcomes()->snapshot();
    ASSERT_EQ(outcomes.size(), 3u);
    EXPECT_EQ(outcomes[0].end, c.end);
    EXPECT_EQ(outcomes[0].reason, literal(c.reason));
    EXPECT_EQ(outcomes[0].rows, c.rows);

    const double peak = peakMegabytes();
    std::printf("hostile case %s: %d hostile rows, ended in %.2f s, peak memory %.0f MB\n", c.name,
                c.rows, seconds, peak);
    // A peak from an earlier case in the same process says nothing of this one.
    if (peakBefore < c.peakMegabytes * sanitizerMemoryFactor) {
        EXPECT_LE(peak, c.peakMegabytes * sanitizerMemoryFactor) << "peak memory in MB";
    }
}

INSTANTIATE_TEST_SUITE_P(Servers, Hostile, ::testing::ValuesIn(hostileCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace shareseek
