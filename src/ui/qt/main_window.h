#pragma once

#include "seams/control_names.h"

#include <QMainWindow>

#include <map>

class QMenu;
class QAction;
class QTableView;
class QCheckBox;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace shareseek {

class ResultModel;

// The main window: every control at its place, captions and initial states. It draws and
// reports input; what the input does is for the handlers it is wired to.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // The client area below the menu bar, which holds every control.
    static constexpr QSize clientSize{691, 512};

    explicit MainWindow(const QString& caption);

    // A control by its name, nullptr for an unknown one.
    QWidget* control(ControlName name) const;
    QTableView* list(ControlName name) const;
    ResultModel* model(ControlName name) const;
    QCheckBox* checkBox(ControlName name) const;

    QPushButton* searchButton() const { return searchButton_; }
    QPushButton* randomButton() const { return randomButton_; }
    QLineEdit* filterBox() const { return filterBox_; }
    QToolButton* filterButton() const { return filterButton_; }
    // The items of 菜单2: 打开资源地址, 复制地址, 复制标题, 全部导出.
    QMenu* popupMenu() const { return popupMenu_; }
    QAction* openAddressAction() const { return openAddress_; }
    QAction* copyAddressAction() const { return copyAddress_; }
    QAction* copyTitleAction() const { return copyTitle_; }
    QAction* exportAllAction() const { return exportAll_; }
    QAction* checkUpdateAction() const { return checkUpdate_; }
    // "搜索状态" on the menu bar.
    QAction* searchStatusAction() const { return searchStatus_; }

    // The popup menu of the result lists, its corner 3 pixels right of and below the pointer.
    void showPopupMenu();
    // Tells the view of `row` now and paints its cells with the next frame, if they are in view.
    void repaintRow(ControlName list, int row);

signals:
    void keywordKeyPressed(int keyCode);
    void fullListDoubleClicked();
    void listRightClicked();
    void closing();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    template <class W> W* place(W* widget, ControlName name, QRect geometry);
    void buildTopRow(QWidget* client);
    void buildSites(QWidget* client);
    void buildFilter(QWidget* client);
    QTableView* buildList(QWidget* client, ControlName name);
    void buildMenus();

    std::map<ControlName, QWidget*> controls_;
    std::map<ControlName, ResultModel*> models_;
    QPushButton* searchButton_ = nullptr;
    QPushButton* randomButton_ = nullptr;
    QLineEdit* keywordBox_ = nullptr;
    QLineEdit* filterBox_ = nullptr;
    QToolButton* filterButton_ = nullptr;
    QMenu* popupMenu_ = nullptr;
    QAction* openAddress_ = nullptr;
    QAction* copyAddress_ = nullptr;
    QAction* copyTitle_ = nullptr;
    QAction* exportAll_ = nullptr;
    QAction* checkUpdate_ = nullptr;
    QAction* searchStatus_ = nullptr;
};

// The window caption, with the forum host.
QString mainWindowCaption(std::string_view forumHost);

} // namespace shareseek
