#pragma once

#include "seams/controls.h"
#include "seams/desktop_services.h"
#include "ui/user_files.h"

#include <string>
#include <vector>

// The commands on the result lists: the popup menu, opening and copying a row's address or
// title, exporting every row, the result filter and its reset, the download page. They
// always work on the full list (超级列表框1), even while the filtered one is shown.
namespace shareseek {

class ResultListCommands {
public:
    // `files` says where the export file goes; `forumHost` serves the download page.
    ResultListCommands(Controls& controls, DesktopServices& desktop, UserFiles files,
                       std::string forumHost);

    void showPopupMenu();
    void openAddress();
    void copyAddress();
    void copyTitle();
    void exportAll();
    void openDownloadPage();
    void resultFilter();
    void filterReset();

private:
    // The export file of the keyword now in the keyword box.
    FilePath exportPath();

    void copyCell(int column);

    Controls& controls_;
    DesktopServices& desktop_;
    UserFiles files_;
    std::string forumHost_;
};

// The export text: every row of the full list, then "筛选后：", then every filtered row.
Text exportText(Controls& controls);

struct ExportRow {
    Text title;
    Text address;
};
// The same form from rows in hand.
Text exportText(const std::vector<ExportRow>& all, const std::vector<ExportRow>& filtered);

} // namespace shareseek
