// A full search of the 22 built-in sites, 5 pages each, against the fake engine answering
// every request after 50 ms, through the real dispatch and workers. The design's own bound:
// first pages in parallel, further pages one after another under the result lock.
// Run: build/bench/shareseek_search_bench
#include "fake_engine/fake_search_engine.h"
#include "search/dispatch.h"
#include "support/fake_controls.h"
#include "support/fake_desktop.h"
#include "text/codepage.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <thread>

namespace {

using namespace shareseek;
using namespace std::chrono_literals;

constexpr int pagesPerSite = 5;
constexpr auto latency = 50ms;

void FullSearch(benchmark::State& state) {
    fake::FakeSearchEngine engine({.pages = pagesPerSite, .hitsPerPage = 50, .latency = latency},
                                  64 * 1024);
    for (auto _ : state) {
        auto controls = std::make_shared<testing::FakeControls>();
        auto session = std::make_shared<SearchSession>(controls);
        session->environment.searchHost = engine.host();
        for (const Site& site : siteCatalogue()) {
            session->checkBoxTable[static_cast<std::size_t>(site.index - 1)] = site.checkBox;
            controls->setTicked(site.checkBox, true);
        }
        controls->setText(control::编辑框1, literal(u8"电影"));
        testing::FakeDesktop desktop;
        SearchDispatch dispatch(session, desktop);
        dispatch.startSearch();
        while (session->runningWorkers > 0)
            std::this_thread::sleep_for(1ms);
        if (controls->rowCount(control::超级列表框1) != builtInSiteCount * pagesPerSite * 50)
            state.SkipWithError("rows are missing");
    }
    const double bound = std::chrono::duration<double>(latency).count() *
                         (1 + builtInSiteCount * (pagesPerSite - 1));
    state.counters["bound_s"] = bound;
}
BENCHMARK(FullSearch)->Iterations(3)->Unit(benchmark::kSecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
