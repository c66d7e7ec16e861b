#include "ui/result_list_commands.h"

#include "search/endpoints.h"
#include "search/row_count.h"
#include "text/codepage.h"
#include "text/numbers.h"
#include "text/text_ops.h"
#include "ui/open_address.h"
#include "ui/run_directory.h"

namespace shareseek {

using namespace control;

namespace {

std::vector<ExportRow> rowsOf(Controls& controls, ControlName list) {
    std::vector<ExportRow> rows;
    const int count = controls.rowCount(list);
    for (int row = 0; row < count; ++row)
        rows.push_back({controls.cell(list, row, 1), controls.cell(list, row, 2)});
    return rows;
}

void appendRows(const std::vector<ExportRow>& rows, Text& out) {
    const Text between = spaceRun(6);
    const Text end("\r\n\r\n");
    for (const ExportRow& row : rows)
        out += row.title + between + row.address + end;
}

// A keyword that would make the export file land outside the run directory: one with a
// folder separator. Dots alone cannot, since "_导出.txt" always follows them.
bool leavesRunDirectory(const Text& keyword) {
    return searchForward(keyword, Text("/")) > 0 || searchForward(keyword, Text("\\")) > 0;
}

} // namespace

ResultListCommands::ResultListCommands(Controls& controls, DesktopServices& desktop,
                                       UserFiles files, std::string forumHost)
    : controls_(controls), desktop_(desktop), files_(std::move(files)),
      forumHost_(std::move(forumHost)) {}

void ResultListCommands::showPopupMenu() {
    controls_.showPopupMenu();
}

void ResultListCommands::openAddress() {
    const int row = controls_.currentSelection(超级列表框1);
    openWebAddress(desktop_, controls_.cell(超级列表框1, row, 2));
}

void ResultListCommands::copyCell(int column) {
    const int row = controls_.currentSelection(超级列表框1);
    const bool copied = desktop_.setClipboardText(controls_.cell(超级列表框1, row, column));
    // A clipboard that could not be opened is said so, not reported as a success.
    desktop_.showMessage(literal(copied ? u8"复制成功！" : u8"复制失败！剪贴板正被占用。"));
}

void ResultListCommands::copyAddress() {
    copyCell(2);
}
void ResultListCommands::copyTitle() {
    copyCell(1);
}

Text exportText(const std::vector<ExportRow>& all, const std::vector<ExportRow>& filtered) {
    Text out;
    appendRows(all, out);
    out += literal(u8"筛选后：\r\n\r\n");
    appendRows(filtered, out);
    return out;
}

Text exportText(Controls& controls) {
    const std::vector<ExportRow> all = rowsOf(controls, 超级列表框1);
    return exportText(all, rowsOf(controls, 超级列表框2));
}

FilePath ResultListCommands::exportPath() {
    return files_.exportFolder / fileNameOf(controls_.text(编辑框1) + literal(u8"_导出.txt"));
}

void ResultListCommands::exportAll() {
    const Text content = exportText(controls_);
    const Text keyword = controls_.text(编辑框1);
    const FilePath path = exportPath();
    // The keyword names the file: it must not lead out of the run directory, and a file that
    // could not be written is said so instead of "导出成功！".
    const bool written = !leavesRunDirectory(keyword) && desktop_.writeFile(path, toBytes(content));
    if (!written) {
        desktop_.showMessage(literal(u8"导出失败！无法写入文件：") + pathForMessage(path));
        return;
    }
    desktop_.showMessage(literal(u8"导出成功！"));
    desktop_.showInFileManager(exportPath());
}

void ResultListCommands::openDownloadPage() {
    openWebAddress(desktop_,
                   Text("http://") + Text(forumHost_) + Text(endpoints::downloadPagePath));
}

void ResultListCommands::resultFilter() {
    static const Text filteredCaption = literal(u8"结果：");
    controls_.deleteAllRows(超级列表框2);
    const int rows = controls_.rowCount(超级列表框1);
    int matched = 0;
    for (int i = 1; i <= rows; ++i) {
        const Text title = controls_.cell(超级列表框1, i - 1, 1);
        const Text filter = controls_.text(编辑框2);
        if (searchForward(title, filter) < 0)
            continue;
        controls_.setVisible(超级列表框2, true);
        controls_.setVisible(超级列表框1, false);
        const int row = controls_.appendRow(超级列表框2);
        ++matched;
        controls_.setCell(超级列表框2, row, 0, decimalText(matched));
        controls_.setCell(超级列表框2, row, 1, title);
        controls_.setCell(超级列表框2, row, 2, controls_.cell(超级列表框1, i - 1, 2));
        controls_.setText(标签2, filteredCaption + decimalText(controls_.rowCount(超级列表框2)));
    }
}

void ResultListCommands::filterReset() {
    if (!controls_.text(编辑框2).empty())
        return; // typing never filters by itself
    controls_.setVisible(超级列表框2, false);
    controls_.setVisible(超级列表框1, true);
    showRowCount(controls_);
}

} // namespace shareseek
