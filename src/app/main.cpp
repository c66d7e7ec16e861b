#include "search/endpoints.h"
#include "ui/qt/look.h"
#include "ui/qt/main_window.h"
#include "ui/qt/qt_desktop_services.h"
#include "ui/qt/qt_text.h"
#include "ui/qt/shell.h"

#include <QApplication>
#include <QDir>

int main(int argc, char** argv) {
    using namespace shareseek;
    QApplication app(argc, argv);
    // The run directory is the current directory for the whole run.
    const QString runDirectory = QCoreApplication::applicationDirPath();
    QDir::setCurrent(runDirectory);
    applyProgramLook(app);

    QtDesktopServices desktop;
    Shell shell(SearchEnvironment{}, desktop, fromQString(runDirectory),
                std::string(endpoints::forumHost));
    shell.window().show();
    app.exec();
    return 0;
}
