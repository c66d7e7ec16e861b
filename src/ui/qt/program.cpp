#include "ui/qt/program.h"

#include "ui/qt/look.h"
#include "ui/qt/main_window.h"
#include "ui/qt/qt_desktop_services.h"
#include "ui/qt/qt_skin_library.h"
#include "ui/qt/qt_text.h"
#include "ui/qt/shell.h"
#include "ui/run_directory.h"
#include "ui/startup.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

namespace shareseek {

int runProgram(int& argc, char** argv, const ProgramOptions& options) {
    QApplication app(argc, argv);
    applyProgramLook(app);
    // The run directory is the current directory for the whole run.
    const FilePath runDirectory = programDirectory();
    std::error_code ignored;
    std::filesystem::current_path(runDirectory, ignored);

    QtDesktopServices desktop;
    QtSkinLibrary skins;
    Shell shell(SearchEnvironment{.searchHost = options.searchHost}, desktop, runDirectory,
                options.forumHost);
    Startup startup(shell.session(), desktop, skins, options.forumHost, runDirectory);
    if (!startup.run())
        return 0; // off to the download page; the window is never shown
    shell.window().show();
    // The update check ran before the window existed on screen: make it the active one.
    shell.window().activateWindow();
    if (options.onShown)
        options.onShown(shell);
    app.exec();
    return 0;
}

void endProcess(int exitCode) {
    std::fflush(nullptr);
    std::_Exit(exitCode);
}

} // namespace shareseek
