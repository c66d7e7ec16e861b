#pragma once

#include "search/dispatch.h"
#include "search/search_session.h"
#include "ui/result_list_commands.h"
#include "ui/site_selection.h"
#include "ui/user_files.h"

#include <memory>
#include <string>

namespace shareseek {

class MainWindow;
class QtControls;
class QtExtraSitesOpener;
class StatusWatcher;

// The main window with its handlers: builds the window, makes it the session's controls and
// binds each event the program handles to its handler.
class Shell {
public:
    Shell(SearchEnvironment environment, DesktopServices& desktop, UserFiles files,
          std::string forumHost);
    ~Shell();

    MainWindow& window() { return *window_; }
    const std::shared_ptr<SearchSession>& session() { return session_; }
    SearchDispatch& dispatch() { return dispatch_; }
    ResultListCommands& commands() { return commands_; }
    SiteSelection& sites() { return sites_; }
    StatusWatcher& status() { return *status_; }

private:
    void wire();

    std::unique_ptr<MainWindow> window_;
    std::shared_ptr<QtControls> controls_;
    std::shared_ptr<SearchSession> session_;
    std::unique_ptr<QtExtraSitesOpener> opener_;
    SearchDispatch dispatch_;
    ResultListCommands commands_;
    SiteSelection sites_;
    std::unique_ptr<StatusWatcher> status_;
};

} // namespace shareseek
