#include "ui/qt/shell.h"

#include "ui/qt/extra_sites_dialog.h"
#include "ui/qt/main_window.h"
#include "ui/qt/qt_controls.h"
#include "ui/qt/status_watcher.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

namespace shareseek {

using namespace control;

Shell::Shell(SearchEnvironment environment, DesktopServices& desktop, UserFiles files,
             std::string forumHost)
    : window_(std::make_unique<MainWindow>(mainWindowCaption(forumHost))),
      controls_(std::make_shared<QtControls>(window_.get())),
      session_(std::make_shared<SearchSession>(controls_, std::move(environment))),
      opener_(std::make_unique<QtExtraSitesOpener>(window_.get())), dispatch_(session_, desktop),
      commands_(*controls_, desktop, files, forumHost), sites_(session_, desktop, *opener_, files),
      status_(std::make_unique<StatusWatcher>(session_, *window_)) {
    wire();
}

Shell::~Shell() {
    controls_->detach();
}

void Shell::wire() {
    MainWindow* w = window_.get();
    QObject::connect(w, &MainWindow::keywordKeyPressed, w,
                     [this](int key) { dispatch_.keywordKeyPressed(key); });
    QObject::connect(w->searchButton(), &QPushButton::clicked, w,
                     [this] { dispatch_.startSearch(); });
    QObject::connect(w->randomButton(), &QPushButton::clicked, w,
                     [this] { dispatch_.randomSearch(); });
    // clicked comes only from the user, after the box has changed its state.
    QObject::connect(w->checkBox(选择框1), &QCheckBox::clicked, w, [this] { sites_.otherSites(); });
    QObject::connect(w->checkBox(选择框_全部), &QCheckBox::clicked, w,
                     [this] { sites_.selectAll(); });
    QObject::connect(w->filterBox(), &QLineEdit::textChanged, w,
                     [this] { commands_.filterReset(); });
    QObject::connect(w->filterButton(), &QToolButton::clicked, w,
                     [this] { commands_.resultFilter(); });
    QObject::connect(w, &MainWindow::listRightClicked, w, [this] { commands_.showPopupMenu(); });
    QObject::connect(w, &MainWindow::fullListDoubleClicked, w, [this] { commands_.openAddress(); });
    QObject::connect(w->openAddressAction(), &QAction::triggered, w,
                     [this] { commands_.openAddress(); });
    QObject::connect(w->copyAddressAction(), &QAction::triggered, w,
                     [this] { commands_.copyAddress(); });
    QObject::connect(w->copyTitleAction(), &QAction::triggered, w,
                     [this] { commands_.copyTitle(); });
    QObject::connect(w->exportAllAction(), &QAction::triggered, w,
                     [this] { commands_.exportAll(); });
    QObject::connect(w->checkUpdateAction(), &QAction::triggered, w,
                     [this] { commands_.openDownloadPage(); });
    QObject::connect(w->searchStatusAction(), &QAction::triggered, w,
                     [this] { status_->openStatusWindow(); });
    // No worker reaches the window once it is closing.
    QObject::connect(w, &MainWindow::closing, w, [this] { controls_->detach(); });
}

} // namespace shareseek
