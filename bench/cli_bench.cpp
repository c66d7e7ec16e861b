// The command line's search of the 22 sites, 5 pages each, against the fake engine answering
// every request after 50 ms, once fetching further pages one at a time (K = 1, as the window
// does) and once fetching up to K = 8 ahead. Prints both times, their ratio and both floors:
// the serialized one, L x (1 + 22 x 4), and L x (1 + ceil(22 x 4 / K)). The rows must be the
// same. Run: build/bench/shareseek_cli_bench
#include "cli/ordered_search.h"
#include "fake_engine/fake_search_engine.h"
#include "search/site_catalogue.h"
#include "text/codepage.h"

#include <chrono>
#include <cstdio>
#include <map>

namespace {

using namespace shareseek;
using namespace std::chrono_literals;

constexpr int pagesPerSite = 5;
constexpr auto latency = 50ms;

struct Result {
    double seconds = 0;
    std::vector<std::string> rows; // "title address", in order
    bool numbered = true;          // 1, 2, 3 ... without a gap
};

// Each site's stretch of rows, in the order the site gave them, the stretches sorted by site:
// what must be the same whatever order the first pages happened to arrive in.
std::vector<std::vector<std::string>> stretches(const std::vector<std::string>& rows) {
    std::map<std::string, std::vector<std::string>> bySite;
    std::string last;
    for (const std::string& row : rows) {
        const std::string site =
            row.substr(row.rfind("url=") + 4, row.rfind('-') - row.rfind("url=") - 4);
        if (site != last && bySite.count(site))
            return {}; // a site's rows are not one stretch
        bySite[site].push_back(row);
        last = site;
    }
    std::vector<std::vector<std::string>> out;
    for (auto& [site, stretch] : bySite)
        out.push_back(std::move(stretch));
    return out;
}

Result search(const std::string& engineHost, int parallel) {
    cli::SearchPlan plan{.searchHost = engineHost,
                         .keyword = literal(u8"电影"),
                         .maxPages = 200,
                         .parallel = parallel};
    for (const Site& site : siteCatalogue())
        plan.sites.push_back({site.index, literal(site.caption), Text(site.shareHost)});
    Result result;
    const auto start = std::chrono::steady_clock::now();
    cli::runOrderedSearch(plan, {.row = [&](const cli::Row& row) {
                              result.numbered =
                                  result.numbered &&
                                  row.number == static_cast<int>(result.rows.size()) + 1;
                              result.rows.push_back(row.title.bytes() + " " + row.address.bytes());
                              return true;
                          }});
    result.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return result;
}

} // namespace

int main() {
    fake::FakeSearchEngine engine({.pages = pagesPerSite, .hitsPerPage = 50, .latency = latency},
                                  64 * 1024);
    const double l = std::chrono::duration<double>(latency).count();
    const int further = builtInSiteCount * (pagesPerSite - 1);
    const Result one = search(engine.host(), 1);
    const Result eight = search(engine.host(), 8);
    const double floorOne = l * (1 + further);
    const double floorEight = l * (1 + (further + 7) / 8);
    std::printf("K=1: %.2f s (floor %.2f s, %.0f%% over)\n", one.seconds, floorOne,
                100 * (one.seconds / floorOne - 1));
    std::printf("K=8: %.2f s (floor %.2f s, %.0f%% over)\n", eight.seconds, floorEight,
                100 * (eight.seconds / floorEight - 1));
    const bool same = one.numbered && eight.numbered && !stretches(one.rows).empty() &&
                      stretches(one.rows) == stretches(eight.rows) &&
                      one.rows.size() == std::size_t(further + builtInSiteCount) * 50;
    std::printf("K=8 is %.1fx faster than K=1; rows: %zu and %zu, %s\n",
                one.seconds / eight.seconds, one.rows.size(), eight.rows.size(),
                same ? "the same stretches, numbered alike" : "DIFFERENT");
    return same ? 0 : 1;
}
