#include "ui/site_selection.h"

#include "text/codepage.h"
#include "text/text_ops.h"
#include "ui/run_directory.h"

namespace shareseek {

using namespace control;

SiteSelection::SiteSelection(std::shared_ptr<SearchSession> session, DesktopServices& desktop,
                             ExtraSitesOpener& opener, UserFiles files)
    : session_(std::move(session)), desktop_(desktop), opener_(opener), files_(std::move(files)) {}

void SiteSelection::selectAll() {
    Controls& controls = *session_->controls;
    const bool ticked = controls.ticked(选择框_全部);
    for (const ControlName box : session_->checkBoxTable) {
        controls.setTicked(box, ticked);
        controls.setTicked(选择框1, ticked);
        controls.setEnabled(box, true);
    }
}

void SiteSelection::otherSites() {
    Controls& controls = *session_->controls;
    if (!controls.ticked(选择框1))
        return;
    controls.setTicked(选择框1, true);
    opener_.openModal(*this);
}

void SiteSelection::showList(ExtraSitesWindow& window) {
    window.setHostListText(session_->extraHosts);
}

void SiteSelection::confirm(ExtraSitesWindow& window) {
    const Text text = window.hostListText();
    if (trailingBytes(text, 1) == Text(";")) {
        desktop_.showMessage(literal(u8"请不用分号结尾！"));
        return;
    }
    session_->extraHosts = text;
    // A list that cannot be saved is said so, and the window stays open with it, so that
    // nothing typed is lost; the searches of this run use it all the same.
    if (!desktop_.writeFile(files_.hostList, toBytes(text))) {
        desktop_.showMessage(literal(u8"保存失败！无法写入文件：") +
                             pathForMessage(files_.hostList));
        return;
    }
    window.close();
}

} // namespace shareseek
