// A full search of the 22 built-in sites, 5 pages each, against the fake engine answering
// every request after 50 ms, through the real dispatch and workers. Beside the wall time it
// prints two floors, and the CPU time the program spent, so that a change of our own cost
// shows even where the network dominates:
//   serialized floor: first pages in parallel, then every further page of every site one
//     after another, as the result lock orders them: L x (1 + 22 x 4);
//   critical path: the longest site alone, its 5 pages one after another: L x 5.
// Run: build/bench/shareseek_search_bench
#include "fake_engine/fake_search_engine.h"
#include "search/dispatch.h"
#include "support/fake_controls.h"
#include "support/fake_desktop.h"
#include "support/waiting.h"
#include "text/codepage.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <sys/resource.h>

namespace {

using namespace shareseek;
using namespace std::chrono_literals;

constexpr int pagesPerSite = 5;
constexpr auto latency = 50ms;

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

void FullSearch(benchmark::State& state) {
    fake::FakeSearchEngine engine({.pages = pagesPerSite, .hitsPerPage = 50, .latency = latency},
                                  64 * 1024);
    double cpu = 0;
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
        const double cpuBefore = cpuSeconds();
        dispatch.startSearch();
        if (!testing::waitForWorkers(*session, 120s))
            state.SkipWithError("workers did not end");
        cpu += cpuSeconds() - cpuBefore;
        if (controls->rowCount(control::超级列表框1) != builtInSiteCount * pagesPerSite * 50)
            state.SkipWithError("rows are missing");
    }
    const double l = std::chrono::duration<double>(latency).count();
    state.counters["serialized_floor_s"] = l * (1 + builtInSiteCount * (pagesPerSite - 1));
    state.counters["critical_path_s"] = l * pagesPerSite;
    // CPU time of the whole process (the fake engine's threads included) per search.
    state.counters["cpu_s"] = cpu / static_cast<double>(state.iterations());
}
BENCHMARK(FullSearch)->Iterations(3)->Unit(benchmark::kSecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
