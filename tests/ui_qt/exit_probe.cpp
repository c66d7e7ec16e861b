// The whole program searching 22 sites against an engine that never answers; the window is
// closed while every worker waits on the network. The exit test runs this and times its end.
#include "fake_engine/fake_search_engine.h"
#include "fake_engine/loopback_server.h"
#include "search/site_catalogue.h"
#include "text/codepage.h"
#include "ui/qt/main_window.h"
#include "ui/qt/program.h"
#include "ui/qt/shell.h"

#include <QTimer>

#include <cstdio>

int main(int argc, char** argv) {
    using namespace shareseek;
    fake::FakeSearchEngine engine({.failure = fake::EngineFailure::stall});
    fake::LoopbackServer forum([](fake::Connection& c) {
        if (c.readRequest())
            c.send(fake::httpResponse("no markers here"));
    });
    const int exitCode = runProgram(argc, argv,
                                    {.searchHost = engine.host(),
                                     .forumHost = forum.hostAndPort(),
                                     .onShown = [](Shell& shell) {
                                         Controls& controls = *shell.session()->controls;
                                         for (const Site& site : siteCatalogue())
                                             controls.setTicked(site.checkBox, true);
                                         controls.setText(control::编辑框1, literal(u8"电影"));
                                         shell.dispatch().startSearch();
                                         QTimer::singleShot(500, &shell.window(), [&shell] {
                                             std::printf("closing with %d workers\n",
                                                         shell.session()->runningWorkers.load());
                                             std::fflush(stdout);
                                             shell.window().close();
                                         });
                                     }});
    endProcess(exitCode);
}
