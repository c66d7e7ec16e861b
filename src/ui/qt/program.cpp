#include "ui/qt/program.h"

#include "ui/qt/look.h"
#include "ui/qt/main_window.h"
#include "ui/qt/qt_desktop_services.h"
#include "ui/qt/qt_skin_library.h"
#include "ui/qt/qt_text.h"
#include "ui/qt/shell.h"
#include "ui/run_directory.h"
#include "ui/startup.h"
#include "ui/user_files.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

namespace shareseek {

int runProgram(int& argc, char** argv, const ProgramOptions& options) {
    QApplication app(argc, argv);
    applyProgramLook(app);
    if (options.reportArguments)
        for (const QString& argument : QCoreApplication::arguments().mid(1))
            std::fprintf(stderr, "shareseek: unknown argument \"%s\" ignored (shareseek --help)\n",
                         qPrintable(argument));
    // The run directory is the current directory for the whole run.
    const FilePath runDirectory = programDirectory();
    std::error_code ignored;
    std::filesystem::current_path(runDirectory, ignored);

    QtDesktopServices desktop;
    QtSkinLibrary skins;
    // Portable where the program's folder takes files; else the user's own folders.
    const UserFiles files = userFilesOfThisRun(runDirectory);
    Shell shell(SearchEnvironment{.searchHost = options.searchHost}, desktop, files,
                options.forumHost);
    Startup startup(shell.session(), desktop, skins, options.forumHost, files);
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
