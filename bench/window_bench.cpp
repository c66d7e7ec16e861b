// The real main window fed through the worker path, each row a set of control operations
// (append, three cells, repaint, the count label). Two runs, chosen by the first argument:
//   rows   (default) 20,000 rows: two workers, 200 pages of 50 hits each, no latency. Prints
//          rows per second and the peak memory. A row in view is painted as it arrives; rows
//          below the view are told to the view in batches and never painted.
//   search the 22 sites x 5 pages x 50 ms search; prints its time beside the serialized floor
//          (first pages in parallel, every further page one after another: 4.45 s).
// The platform is QT_QPA_PLATFORM's (offscreen when unset), so that scripts/window_bench.sh
// can run it offscreen and on a real X server (Xvfb, xcb).
#include "fake_engine/fake_search_engine.h"
#include "search/dispatch.h"
#include "search/site_catalogue.h"
#include "support/fake_desktop.h"
#include "text/codepage.h"
#include "ui/qt/look.h"
#include "ui/qt/main_window.h"
#include "ui/qt/result_model.h"
#include "ui/qt/shell.h"

#include <QApplication>
#include <QGuiApplication>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/resource.h>

int main(int argc, char** argv) {
    using namespace shareseek;
    using namespace std::chrono_literals;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const bool wholeSearch = argc > 1 && std::strcmp(argv[1], "search") == 0;
    QApplication app(argc, argv);
    applyProgramLook(app);
    constexpr int searchPages = 5;
    constexpr auto latency = 50ms;
    fake::FakeSearchEngine engine(
        wholeSearch
            ? fake::HostBehaviour{.pages = searchPages, .hitsPerPage = 50, .latency = latency}
            : fake::HostBehaviour{.pages = maxPagesPerSite, .hitsPerPage = 50},
        wholeSearch ? 64 * 1024 : 2048);
    testing::FakeDesktop desktop;
    Shell shell(SearchEnvironment{.searchHost = engine.host()}, desktop, FilePath("/tmp"),
                "forum.example");
    fillCheckBoxTable(*shell.session());
    shell.window().show();
    Controls& controls = *shell.session()->controls;
    if (wholeSearch) {
        for (const Site& site : siteCatalogue())
            controls.setTicked(site.checkBox, true);
    } else {
        controls.setTicked(siteCatalogue()[0].checkBox, true);
        controls.setTicked(siteCatalogue()[4].checkBox, true);
    }
    controls.setText(control::编辑框1, literal(u8"电影"));

    const auto start = std::chrono::steady_clock::now();
    shell.dispatch().startSearch();
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (shell.session()->runningWorkers == 0)
            app.quit();
    });
    poll.start(5);
    app.exec();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const int rows = shell.window().model(control::超级列表框1)->rows();
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const char* platform = qPrintable(QGuiApplication::platformName());
    if (wholeSearch) {
        const double floor = std::chrono::duration<double>(latency).count() *
                             (1 + builtInSiteCount * (searchPages - 1));
        std::printf("platform %s: the 22 x 5 x 50 ms search in %.2f s, floor %.2f s (%.0f%% over), "
                    "%d rows\n",
                    platform, seconds, floor, 100 * (seconds / floor - 1), rows);
        return rows == builtInSiteCount * searchPages * 50 ? 0 : 1;
    }
    std::printf("platform %s: %d rows in %.2f s: %.0f rows per second\n", platform, rows, seconds,
                rows / seconds);
    std::printf("peak memory: %.1f MB (goal: under 150)\n", usage.ru_maxrss / 1024.0);
    return rows == 20000 ? 0 : 1;
}
