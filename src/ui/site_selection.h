#pragma once

#include "seams/controls.h"
#include "seams/desktop_services.h"
#include "search/search_session.h"
#include "ui/user_files.h"

#include <memory>

// Choosing where a search looks beyond single check boxes: select all, and the extra-sites
// window in which the user edits the extra-hosts list, saved in "_url_.txt".
namespace shareseek {

// The open extra-sites window, as its handlers see it.
class ExtraSitesWindow {
public:
    virtual ~ExtraSitesWindow() = default;
    virtual Text hostListText() = 0;
    virtual void setHostListText(const Text& text) = 0;
    virtual void close() = 0;
};

class SiteSelection;

// Opens the extra-sites window modally: it returns when the window has been closed.
class ExtraSitesOpener {
public:
    virtual ~ExtraSitesOpener() = default;
    virtual void openModal(SiteSelection& handlers) = 0;
};

class SiteSelection {
public:
    SiteSelection(std::shared_ptr<SearchSession> session, DesktopServices& desktop,
                  ExtraSitesOpener& opener, UserFiles files);

    // The click on 选择框_全部.
    void selectAll();
    // The click on 选择框1 (其他).
    void otherSites();
    // The extra-sites window has been created.
    void showList(ExtraSitesWindow& window);
    // The click on 确定 in the extra-sites window.
    void confirm(ExtraSitesWindow& window);

private:
    std::shared_ptr<SearchSession> session_;
    DesktopServices& desktop_;
    ExtraSitesOpener& opener_;
    UserFiles files_;
};

} // namespace shareseek
