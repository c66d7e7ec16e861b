// The fake search engine on its own, for trying shareseek-cli without internet: prints the
// host to pass as --engine, then serves until standard input closes (or Ctrl-D).
// Run: build/tools/shareseek-fake-engine
#include "fake_engine/fake_search_engine.h"

#include <cstdio>

int main() {
    using namespace shareseek::fake;
    using namespace std::chrono_literals;
    FakeSearchEngine engine({.pages = 2, .hitsPerPage = 3, .latency = 50ms}, 4096);
    // A few sites answer as today's engine does.
    engine.setBehaviour(
        "yunpan.cn",
        {.pages = 2, .hitsPerPage = 3, .latency = 50ms, .failure = EngineFailure::todaysLayout});
    engine.setBehaviour("ctdisk.com", {.latency = 50ms, .failure = EngineFailure::verification});
    std::printf("%s\n", engine.host().c_str());
    std::fflush(stdout);
    while (std::getchar() != EOF) {
    }
    return 0;
}
