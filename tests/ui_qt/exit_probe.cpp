// The whole program searching 22 sites against an engine that never answers, the window
// closed while every worker waits on the network; or, with --five-searches, five searches in
// a row against a slow engine, each started while the ones before still run, then closed.
// The exit tests run this and time its end.
#include "fake_engine/fake_search_engine.h"
#include "fake_engine/loopback_server.h"
#include "search/site_catalogue.h"
#include "text/codepage.h"
#include "ui/qt/main_window.h"
#include "ui/qt/program.h"
#include "ui/qt/shell.h"

#include <QTimer>

#include <chrono>
#include <cstdio>
#include <string_view>

int main(int argc, char** argv) {
    using namespace shareseek;
    using namespace std::chrono_literals;
    const bool fiveSearches = argc > 1 && std::string_view(argv[1]) == "--five-searches";
    fake::FakeSearchEngine engine(
        fiveSearches ? fake::HostBehaviour{.pages = 3, .hitsPerPage = 20, .latency = 150ms}
                     : fake::HostBehaviour{.failure = fake::EngineFailure::stall});
    fake::LoopbackServer forum([](fake::Connection& c) {
        if (c.readRequest())
            c.send(fake::httpResponse("no markers here"));
    });
    // Ticks every site and searches, once or five times 200 ms apart, then closes.
    const auto drive = [fiveSearches](Shell& shell) {
        Controls& controls = *shell.session()->controls;
        for (const Site& site : siteCatalogue())
            controls.setTicked(site.checkBox, true);
        controls.setText(control::编辑框1, literal(u8"电影"));
        shell.dispatch().startSearch();
        const int searches = fiveSearches ? 5 : 1;
        for (int more = 1; more < searches; ++more)
            QTimer::singleShot(200 * more, &shell.window(),
                               [&shell] { shell.dispatch().randomSearch(); });
        QTimer::singleShot(200 * searches + 300, &shell.window(), [&shell] {
            std::printf("closing with %d workers\n", shell.session()->runningWorkers.load());
            std::fflush(stdout);
            shell.window().close();
        });
    };
    const int exitCode = runProgram(
        argc, argv,
        {.searchHost = engine.host(), .forumHost = forum.hostAndPort(), .onShown = drive});
    endProcess(exitCode);
}
