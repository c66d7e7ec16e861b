// Page decoding plus hit extraction over a realistic 50-hit results page, against the same
// work done two naive ways: std::regex, and PCRE2 on the UTF-8 page as it arrives (no
// decoding). Stages that read the whole page are given in MB/s of page; the stage that only
// takes the hits' texts is given per hit. Run: build/bench/shareseek_extraction_bench
#include "fake_engine/fake_search_engine.h"
#include "search/page_extraction.h"
#include "text/codepage.h"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <benchmark/benchmark.h>

#include <regex>

namespace {

using namespace shareseek;

constexpr int hitsOnPage = 50;

// Markup between two hits as a real results page has it: related searches, tools, abstracts
// and scripts, each with links and href=" texts of their own (our own bytes, in the shape of
// such pages).
std::string markupBetweenHits(int block) {
    std::string out;
    for (int i = 0; i < 12; ++i) {
        const std::string n = std::to_string(block * 100 + i);
        out += "<div class=\"c-row c-gap-top-small\"><a href=\"http://www.baidu.com/s?wd=" + n +
               "&amp;rsv_dl=0_right_recommends\" class=\"c-gap-right\" target=\"_blank\">"
               "\xE7\x9B\xB8\xE5\x85\xB3 " +
               n +
               "</a><span class=\"c-color-gray\">\xE7\xBD\x91\xE7\x9B\x98</span></div>\n"
               "<script>bds.comm.ready(function(){var a={\"href\":\"/link?url=" +
               n + "\"};});</script>\n";
        out += std::string(640, ' ') + "\n";
    }
    return out;
}

// The fake engine's page with that markup between its hits: about 500 KB.
std::string realisticPage() {
    const std::string plain = fake::renderResultsPage({.shareHost = "pan.baidu.com",
                                                       .keyword = "流浪地球",
                                                       .hits = hitsOnPage,
                                                       .nextPage = true});
    std::string page;
    const std::string hitStart = "<div class=\"result";
    std::size_t from = 0;
    int block = 0;
    for (std::size_t at = plain.find(hitStart); at != std::string::npos;
         at = plain.find(hitStart, at + 1)) {
        page.append(plain, from, at - from);
        page += markupBetweenHits(block++);
        from = at;
    }
    page.append(plain, from, std::string::npos);
    return page;
}

const std::string& page() {
    static const std::string body = realisticPage();
    return body;
}

std::size_t occurrences(const std::string& text, const std::string& what) {
    std::size_t count = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++count;
    return count;
}

void setBytes(benchmark::State& state) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page().size()));
}

// The second naive way: the pattern compiled for UTF-8 and run over the page as received.
class Utf8Pcre2 {
public:
    Utf8Pcre2() {
        int error = 0;
        PCRE2_SIZE offset = 0;
        const std::string pattern = extractionPattern().bytes();
        code_ =
            pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern.data()), pattern.size(),
                          PCRE2_UTF | PCRE2_CASELESS | PCRE2_MULTILINE, &error, &offset, nullptr);
        pcre2_jit_compile(code_, PCRE2_JIT_COMPLETE);
        data_ = pcre2_match_data_create_from_pattern(code_, nullptr);
    }
    ~Utf8Pcre2() {
        pcre2_match_data_free(data_);
        pcre2_code_free(code_);
    }
    // Every hit's two groups taken out as strings; returns the number of hits.
    int run(const std::string& subject) {
        int hits = 0;
        PCRE2_SIZE start = 0;
        const auto* bytes = reinterpret_cast<PCRE2_SPTR>(subject.data());
        // The subject is checked for valid UTF-8 once, as a careful caller would.
        uint32_t check = 0;
        while (pcre2_match(code_, bytes, subject.size(), start, check, data_, nullptr) > 0) {
            check = PCRE2_NO_UTF_CHECK;
            const PCRE2_SIZE* v = pcre2_get_ovector_pointer(data_);
            benchmark::DoNotOptimize(subject.substr(v[2], v[3] - v[2]));
            benchmark::DoNotOptimize(subject.substr(v[4], v[5] - v[4]));
            start = v[1] > v[0] ? v[1] : v[0] + 1;
            ++hits;
        }
        return hits;
    }

private:
    pcre2_code* code_ = nullptr;
    pcre2_match_data* data_ = nullptr;
};

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

// Reads no page: the titles and addresses of the hits already matched, per hit.
void StageHitTexts(benchmark::State& state) {
    RegexMatcher matcher;
    const int hits = extractHits(matcher, decodePage(page()));
    for (auto _ : state)
        for (int i = 1; i <= hits; ++i) {
            benchmark::DoNotOptimize(hitTitle(matcher, i));
            benchmark::DoNotOptimize(hitAddress(matcher, i));
        }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * hits);
}
BENCHMARK(StageHitTexts);

void NaiveUtf8Pcre2(benchmark::State& state) {
    Utf8Pcre2 naive;
    for (auto _ : state)
        if (naive.run(page()) != hitsOnPage)
            state.SkipWithError("PCRE2 on UTF-8 found the wrong number of hits");
    setBytes(state);
}
BENCHMARK(NaiveUtf8Pcre2);

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
        if (hits != hitsOnPage)
            state.SkipWithError("the naive way found the wrong number of hits");
    }
    setBytes(state);
}
BENCHMARK(NaiveStdRegex);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    std::printf("page: %zu bytes, %d hits, %zu links (<a ), %zu href=\" texts\n", page().size(),
                hitsOnPage, occurrences(page(), "<a "), occurrences(page(), "href=\""));
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
    Utf8Pcre2 utf8;
    const double pcre2Utf8 = rate([&] { utf8.run(page()); });
    std::printf("end to end: %.0f MB/s; std::regex: %.1f MB/s (ours %.1fx); PCRE2 on UTF-8: %.0f "
                "MB/s (ours %.2fx)\n",
                ours, naive, ours / naive, pcre2Utf8, ours / pcre2Utf8);
    benchmark::Shutdown();
}
