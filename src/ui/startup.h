#pragma once

#include "seams/desktop_services.h"
#include "search/search_session.h"
#include "ui/skins.h"
#include "ui/user_files.h"
#include "web/http_limits.h"

#include <memory>
#include <string>

// From the main window's creation to its first showing, and its end: a random skin, the
// update check, the saved extra hosts and the check-box table.
namespace shareseek {

// The update page may delay the window this long at most.
inline constexpr HttpLimits updateCheckLimits{.connectTimeout = std::chrono::milliseconds(3000),
                                              .stallTimeout = std::chrono::seconds(3),
                                              .totalTimeout = std::chrono::seconds(5),
                                              .maxBodyBytes = 4 * 1024 * 1024};

class Startup {
public:
    Startup(std::shared_ptr<SearchSession> session, DesktopServices& desktop, SkinLibrary& skins,
            std::string forumHost, UserFiles files, HttpLimits updateLimits = updateCheckLimits);

    // Runs the startup sequence. False when the program is to end at once without showing
    // its window: the user chose to fetch the newer version.
    bool run();

private:
    void applyRandomSkin();
    bool checkForUpdate();
    void loadExtraHosts();

    std::shared_ptr<SearchSession> session_;
    DesktopServices& desktop_;
    SkinLibrary& skins_;
    std::string forumHost_;
    UserFiles files_;
    HttpLimits updateLimits_;
};

// "http://<forum host>" followed by `path`.
Text forumAddress(const std::string& forumHost, std::string_view path);

} // namespace shareseek
