#include "ui/qt/main_window.h"

#include "search/site_catalogue.h"
#include "ui/qt/artwork.h"
#include "ui/qt/look.h"
#include "ui/qt/qt_text.h"
#include "ui/qt/result_model.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCursor>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProxyStyle>
#include <QPushButton>
#include <QStyleOption>
#include <QTableView>
#include <QToolButton>

#include <optional>

#include <limits>
#include <type_traits>

namespace shareseek {

using namespace control;

namespace {

// Where the 22 site check boxes stand, row by row.
struct SiteBoxPlace {
    ControlName name;
    QRect geometry;
};
const SiteBoxPlace siteBoxPlaces[] = {
    {u8"选择框_百度", {36, 60, 72, 16}},    {u8"选择框_华为", {152, 61, 72, 16}},
    {u8"选择框_迅雷", {248, 61, 72, 16}},   {u8"选择框_旋风", {352, 61, 64, 16}},
    {u8"选择框_360", {455, 61, 72, 16}},    {u8"选择框_千易", {551, 61, 72, 16}},
    {u8"选择框_盛大", {36, 94, 72, 16}},    {u8"选择框_爱问", {152, 95, 72, 16}},
    {u8"选择框_CSDN", {248, 95, 48, 16}},   {u8"选择框_金山", {352, 95, 80, 16}},
    {u8"选择框_千脑", {455, 95, 72, 16}},   {u8"选择框_城通", {551, 94, 72, 16}},
    {u8"选择框_400", {36, 128, 88, 16}},    {u8"选择框_纳米", {152, 129, 72, 16}},
    {u8"选择框_迅载", {248, 129, 72, 16}},  {u8"选择框_GXP", {352, 129, 64, 16}},
    {u8"选择框_good", {455, 129, 72, 16}},  {u8"选择框_115", {551, 128, 72, 16}},
    {u8"选择框_一木禾", {36, 164, 80, 16}}, {u8"选择框_126", {152, 165, 88, 16}},
    {u8"选择框_163", {248, 165, 72, 16}},   {u8"选择框_vdisk", {352, 165, 80, 16}},
};

QString siteCaption(ControlName box) {
    for (const Site& site : siteCatalogue())
        if (site.checkBox == box)
            return qs(site.caption);
    return {};
}

// The result lists draw their selection only while they have the focus, whatever the
// colours of the skin: a selected row without the focus is drawn as any other.
class ResultListStyle : public QProxyStyle {
public:
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override {
        if (element == PE_PanelItemViewRow || element == PE_PanelItemViewItem)
            if (const auto plain = withoutHiddenSelection(option, widget))
                return QProxyStyle::drawPrimitive(element, &*plain, painter, widget);
        QProxyStyle::drawPrimitive(element, option, painter, widget);
    }
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
        if (element == CE_ItemViewItem)
            if (const auto plain = withoutHiddenSelection(option, widget))
                return QProxyStyle::drawControl(element, &*plain, painter, widget);
        QProxyStyle::drawControl(element, option, painter, widget);
    }

private:
    // The option of a selected cell of a list without the focus, unselected; nothing for any
    // other option.
    static std::optional<QStyleOptionViewItem> withoutHiddenSelection(const QStyleOption* option,
                                                                      const QWidget* widget) {
        const auto* item = qstyleoption_cast<const QStyleOptionViewItem*>(option);
        if (!item || !widget || widget->hasFocus() || !(item->state & State_Selected))
            return std::nullopt;
        QStyleOptionViewItem plain = *item;
        plain.state &= ~State_Selected;
        return plain;
    }
};

} // namespace

QString mainWindowCaption(std::string_view forumHost) {
    return qs(u8"百度、360、旋风、华为等全部网盘资源搜索灵匣V10.19版 ") +
           QString::fromLatin1(forumHost.data(), static_cast<qsizetype>(forumHost.size())) +
           qs(u8"免费提供");
}

template <class W> W* MainWindow::place(W* widget, ControlName name, QRect geometry) {
    widget->setObjectName(qs(name));
    widget->setGeometry(geometry);
    // A label may show text from the network (the forum's version number): never markup.
    if constexpr (std::is_base_of_v<QLabel, W>)
        widget->setTextFormat(Qt::PlainText);
    controls_[name] = widget;
    return widget;
}

MainWindow::MainWindow(const QString& caption) {
    dressFixedWindow(*this, Qt::Window, caption);
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(clientSize);
    // Boxes as narrow as "CSDN" need the indicator close to the caption.
    client->setStyleSheet(QStringLiteral("QCheckBox { spacing: 3px; }"));
    setCentralWidget(client);
    buildTopRow(client);
    buildSites(client);
    buildFilter(client);
    buildList(client, 超级列表框1);
    buildList(client, 超级列表框2)->hide();
    buildMenus();
    setFixedSize(sizeHint());
    centreOnScreen(*this);
}

void MainWindow::buildTopRow(QWidget* client) {
    place(new QLabel(qs(u8"请输入关键字："), client), 标签1, {17, 5, 80, 24});
    keywordBox_ = place(new QLineEdit(client), 编辑框1, {113, 3, 303, 24});
    keywordBox_->setMaxLength(std::numeric_limits<int>::max()); // keywords of any length
    keywordBox_->installEventFilter(this);
    searchButton_ = place(new QPushButton(qs(u8"给我搜"), client), 按钮1, {431, 1, 80, 28});
    randomButton_ = place(new QPushButton(qs(u8"随便搜搜"), client), 按钮2, {521, 1, 80, 28});
    for (QPushButton* button : {searchButton_, randomButton_})
        button->setAutoDefault(false);
    place(new QLabel(QStringLiteral("1"), client), 标签4, {656, 8, 24, 24});
    place(new QLabel(qs(u8"选择一个下面的网盘，然后输入关键字，点击给我搜按钮"), client), 标签6,
          {8, 32, 328, 16});
}

void MainWindow::buildSites(QWidget* client) {
    auto* group = place(new QGroupBox(client), 分组框1, {13, 45, 667, 156});
    place(new QLabel(group), 标签5, {635, 24, 32, 24});
    place(new QCheckBox(qs(u8"其他"), group), 选择框1, {435, 125, 72, 16});
    for (const SiteBoxPlace& box : siteBoxPlaces)
        place(new QCheckBox(siteCaption(box.name), client), box.name, box.geometry);
    place(new QCheckBox(qs(u8"【选择全部网盘】"), client), 选择框_全部, {543, 165, 129, 19});
}

void MainWindow::buildFilter(QWidget* client) {
    auto* count = place(new QLabel(client), 标签2, {286, 200, 106, 16});
    QPalette blue = count->palette();
    blue.setColor(QPalette::WindowText, QColor(0, 0, 255));
    count->setPalette(blue);

    auto* label = place(new QLabel(qs(u8"结果搜索："), client), 标签3, {475, 200, 52, 16});
    QFont kai(QStringLiteral("楷体_GB2312"));
    kai.setFamilies({QStringLiteral("楷体_GB2312"), QStringLiteral("AR PL UKai CN"),
                     QStringLiteral("AR PL UKai TW"), QStringLiteral("AR PL UKai")});
    kai.setPixelSize(12);
    kai.setWeight(QFont::Normal);
    // Five full-width characters of 12 pixels need 60; narrowed a little they fit the 52 of
    // the box at the same height.
    kai.setStretch(86);
    label->setFont(kai);

    filterBox_ = place(new QLineEdit(client), 编辑框2, {531, 201, 128, 16});
    filterBox_->setStyleSheet(
        QStringLiteral("QLineEdit { border: 1px solid #7a7a7a; padding: 0px; }"));
    filterButton_ = place(new QToolButton(client), 超级按钮1, {659, 201, 20, 16});
    QIcon magnifier;
    magnifier.addPixmap(artwork::magnifier(false), QIcon::Normal);
    magnifier.addPixmap(artwork::magnifier(true), QIcon::Active); // while the pointer is over it
    filterButton_->setIcon(magnifier);
    filterButton_->setIconSize({20, 16});
    filterButton_->setAutoRaise(true);
}

QTableView* MainWindow::buildList(QWidget* client, ControlName name) {
    auto* view = place(new QTableView(client), name, {8, 224, 673, 282});
    auto* model = new ResultModel(view);
    models_[name] = model;
    view->setModel(model);
    view->setShowGrid(true);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setSortingEnabled(false);
    view->setWordWrap(false);
    auto* style = new ResultListStyle;
    style->setParent(view);
    view->setStyle(style);
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(view, &QWidget::customContextMenuRequested, this, &MainWindow::listRightClicked);
    view->verticalHeader()->hide();
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 4);
    QHeaderView* header = view->horizontalHeader();
    header->setSectionsClickable(true); // header items are buttons, but sort nothing
    header->setSectionsMovable(false);
    header->setHighlightSections(false);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->setStretchLastSection(false);
    const int widths[] = {50, 400, 200};
    for (int column = 0; column < 3; ++column)
        header->resizeSection(column, widths[column]);
    view->viewport()->installEventFilter(this);
    return view;
}

void MainWindow::buildMenus() {
    QMenu* update = menuBar()->addMenu(qs(u8"更新版本"));
    checkUpdate_ = update->addAction(qs(u8"点击更新"));
    searchStatus_ = menuBar()->addAction(qs(u8"搜索状态"));
    // 菜单2 is never shown in the menu bar: it only lends its items to the popup menu.
    popupMenu_ = new QMenu(qs(u8"菜单2"), this);
    popupMenu_->setObjectName(QStringLiteral("菜单2"));
    openAddress_ = popupMenu_->addAction(qs(u8"打开资源地址"));
    copyAddress_ = popupMenu_->addAction(qs(u8"复制地址"));
    copyTitle_ = popupMenu_->addAction(qs(u8"复制标题"));
    exportAll_ = popupMenu_->addAction(qs(u8"全部导出"));
}

QWidget* MainWindow::control(ControlName name) const {
    const auto found = controls_.find(name);
    return found == controls_.end() ? nullptr : found->second;
}

QTableView* MainWindow::list(ControlName name) const {
    return qobject_cast<QTableView*>(control(name));
}

ResultModel* MainWindow::model(ControlName name) const {
    const auto found = models_.find(name);
    return found == models_.end() ? nullptr : found->second;
}

QCheckBox* MainWindow::checkBox(ControlName name) const {
    return qobject_cast<QCheckBox*>(control(name));
}

void MainWindow::showPopupMenu() {
    popupMenu_->popup(QCursor::pos() + QPoint(3, 3));
}

void MainWindow::repaintRow(ControlName name, int row) {
    QTableView* view = list(name);
    ResultModel* rows = model(name);
    if (!view || !rows || row < 0 || row >= rows->rows())
        return;
    // A row below the last one in view changes nothing visible: the view hears of it with
    // the next batch. One in view is told of now, and only its cells are painted.
    const int rowHeight = view->verticalHeader()->defaultSectionSize();
    const int lastInView = view->rowAt(0) + view->viewport()->height() / rowHeight + 1;
    if (!view->isVisible() || (rows->rowCount() > 0 && row > lastInView))
        return;
    rows->publish();
    const QRect cells =
        view->visualRect(rows->index(row, 0)) | view->visualRect(rows->index(row, 2));
    // Painted with the window's next frame: rows that arrive together are painted together.
    const QRect visible = cells & view->viewport()->rect();
    if (!visible.isEmpty())
        view->viewport()->update(visible);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == keywordBox_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        emit keywordKeyPressed(key == Qt::Key_Return || key == Qt::Key_Enter ? 13 : key);
    } else if (event->type() == QEvent::MouseButtonDblClick && list(超级列表框1) &&
               watched == list(超级列表框1)->viewport() &&
               static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        // The press before it has selected the row under the pointer; let the view see the
        // double click first, then open.
        QMetaObject::invokeMethod(this, &MainWindow::fullListDoubleClicked, Qt::QueuedConnection);
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    emit closing();
    QMainWindow::closeEvent(event);
}

} // namespace shareseek
