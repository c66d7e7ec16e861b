// Page decoding plus hit extraction over a realistic 50-hit results page, against the same
// work done the naive way with std::regex. Run: build/bench/shareseek_extraction_bench
#include "fake_engine/fake_search_engine.h"
#include "search/page_extraction.h"
#include "text/codepage.h"

#include <benchmark/benchmark.h>

#include <regex>

namespace {

using namespace shareseek;

const std::string& page() {
    static const std::string body = fake::renderResultsPage({.shareHost = "pan.baidu.com",
                                                             .keyword = "流浪地球",
                                                             .hits = 50,
                                                             .nextPage = true,
                                                             .paddingBytes = 500 * 1024});
    return body;
}

void setBytes(benchmark::State& state) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page().size()));
}

// What a worker does with one page.
void decodeAndExtract(RegexMatcher& matcher) {
    const Text text = decodePage(page());
    const int hits = extractHits(matcher, text);
    for (int i = 1; i <= hits; ++i) {
        benchmark::DoNotOptimize(hitTitle(matcher, i));
        benchmark::DoNotOptimize(hitAddress(matcher, i));
    }
    benchmark::DoNotOptimize(hasNextPage(text));
}

void EndToEnd(benchmark::State& state) {
    RegexMatcher matcher;
    for (auto _ : state)
        decodeAndExtract(matcher);
    setBytes(state);
}
BENCHMARK(EndToEnd);

void StageDecode(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(decodePage(page()));
    setBytes(state);
}
BENCHMARK(StageDecode);

void StageToEngine(benchmark::State& state) {
    const Text text = decodePage(page());
    for (auto _ : state)
        benchmark::DoNotOptimize(textToUtf16(text));
    setBytes(state);
}
BENCHMARK(StageToEngine);

void StageMatch(benchmark::State& state) {
    const Text text = decodePage(page());
    RegexMatcher matcher;
    for (auto _ : state)
        benchmark::DoNotOptimize(extractHits(matcher, text));
    setBytes(state);
}
BENCHMARK(StageMatch);

void StageHitTexts(benchmark::State& state) {
    RegexMatcher matcher;
    const int hits = extractHits(matcher, decodePage(page()));
    for (auto _ : state)
        for (int i = 1; i <= hits; ++i) {
            benchmark::DoNotOptimize(hitTitle(matcher, i));
            benchmark::DoNotOptimize(hitAddress(matcher, i));
        }
    setBytes(state);
}
BENCHMARK(StageHitTexts);

// The naive way: std::regex (ECMAScript, case ignored) over the UTF-8 page.
void NaiveStdRegex(benchmark::State& state) {
    const std::string pattern = extractionPattern().bytes();
    const std::regex re(pattern, std::regex::ECMAScript | std::regex::icase);
    for (auto _ : state) {
        int hits = 0;
        for (auto it = std::sregex_iterator(page().begin(), page().end(), re);
             it != std::sregex_iterator(); ++it) {
            benchmark::DoNotOptimize((*it)[1].str());
            benchmark::DoNotOptimize((*it)[2].str());
            ++hits;
        }
        if (hits != 50)
            state.SkipWithError("the naive way found the wrong number of hits");
    }
    setBytes(state);
}
BENCHMARK(NaiveStdRegex);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    std::printf("page: %zu bytes, 50 hits\n", page().size());
    benchmark::RunSpecifiedBenchmarks();
    // The ratio of the two figures, each the best of several runs so that a busy machine
    // disturbs it less.
    const auto rate = [](auto work) {
        double best = 1e9;
        for (int run = 0; run < 25; ++run) {
            const auto start = std::chrono::steady_clock::now();
            work();
            best = std::min(
                best,
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        }
        return static_cast<double>(page().size()) / best / 1e6;
    };
    RegexMatcher matcher;
    const double ours = rate([&] { decodeAndExtract(matcher); });
    const std::regex re(extractionPattern().bytes(), std::regex::ECMAScript | std::regex::icase);
    const double naive = rate([&] {
        for (auto it = std::sregex_iterator(page().begin(), page().end(), re);
             it != std::sregex_iterator(); ++it) {
            benchmark::DoNotOptimize((*it)[1].str());
            benchmark::DoNotOptimize((*it)[2].str());
        }
    });
    std::printf("end to end: %.0f MB/s, std::regex: %.1f MB/s, ratio %.1fx\n", ours, naive,
                ours / naive);
    benchmark::Shutdown();
}
