// A race planted on purpose between a worker thread and the window's thread, for the
// ThreadSanitizer run to find: the worker writes a counter with no synchronisation while a
// timer on the window's thread, under Qt's event loop, reads it. If the run's suppressions
// hid races that merely pass through Qt, this one would be hidden too.
#include "ui/qt/main_window.h"
#include "ui/qt/qt_controls.h"

#include <QApplication>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <thread>

namespace {
int unguarded = 0; // the planted race: no lock, no atomic
}

int main(int argc, char** argv) {
    using namespace shareseek;
    QApplication app(argc, argv);
    MainWindow window(mainWindowCaption("forum.example"));
    QtControls controls(&window);
    int seen = 0;
    QTimer reader;
    QObject::connect(&reader, &QTimer::timeout, &window, [&] { seen = unguarded; });
    reader.start(1);
    QTimer::singleShot(500, &app, &QCoreApplication::quit);
    std::thread worker([] {
        for (int i = 0; i < 300; ++i) {
            ++unguarded;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });
    app.exec();
    worker.join();
    controls.detach();
    std::printf("the window read %d\n", seen);
    return 0;
}
