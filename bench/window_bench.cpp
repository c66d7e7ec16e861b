// 20,000 rows appended through the worker path (two workers, 200 pages of 50 hits each from
// the fake engine) into the real main window: each row a set of cross-thread calls (append,
// three cells, repaint, the count label). A row in view is painted at once; rows below the
// view are told to the view in batches and never painted. Prints rows per second and the
// peak memory. The platform is QT_QPA_PLATFORM's (offscreen when unset), so that
// scripts/window_bench.sh can run it offscreen and on a real X server (Xvfb, xcb).
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
#include <sys/resource.h>

int main(int argc, char** argv) {
    using namespace shareseek;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    applyProgramLook(app);
    fake::FakeSearchEngine engine({.pages = maxPagesPerSite, .hitsPerPage = 50}, 2048);
    testing::FakeDesktop desktop;
    Shell shell(SearchEnvironment{.searchHost = engine.host()}, desktop, FilePath("/tmp"),
                "forum.example");
    fillCheckBoxTable(*shell.session());
    shell.window().show();
    Controls& controls = *shell.session()->controls;
    controls.setTicked(siteCatalogue()[0].checkBox, true);
    controls.setTicked(siteCatalogue()[4].checkBox, true);
    controls.setText(control::编辑框1, literal(u8"电影"));

    const auto start = std::chrono::steady_clock::now();
    shell.dispatch().startSearch();
    QTimer poll;
    int lastRows = 0;
    auto lastTime = start;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        const int now = shell.window().model(control::超级列表框1)->rows();
        if (now - lastRows >= 2000 && std::getenv("SHARESEEK_BENCH_TRACE")) {
            const auto t = std::chrono::steady_clock::now();
            std::printf("  rows %5d: %.0f rows per second\n", now,
                        (now - lastRows) / std::chrono::duration<double>(t - lastTime).count());
            lastRows = now;
            lastTime = t;
        }
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
    std::printf("platform %s: %d rows in %.2f s: %.0f rows per second\n",
                qPrintable(QGuiApplication::platformName()), rows, seconds, rows / seconds);
    std::printf("peak memory: %.1f MB (goal: under 150)\n", usage.ru_maxrss / 1024.0);
    return rows == 20000 ? 0 : 1;
}
