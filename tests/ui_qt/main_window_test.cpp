#include "ui/qt/extra_sites_dialog.h"
#include "ui/qt/look.h"
#include "ui/qt/main_window.h"
#include "ui/qt/qt_controls.h"
#include "ui/qt/qt_text.h"
#include "ui/qt/result_model.h"

#include "main_window_test.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QToolButton>

using namespace shareseek;

namespace {

struct Expected {
    const char8_t* name;
    const char* kind;
    QRect geometry; // in the client area
    const char8_t* caption;
};

// Every control of the main window: name, kind, place and size, caption.
const Expected expectedControls[] = {
    {u8"标签1", "QLabel", {17, 5, 80, 24}, u8"请输入关键字："},
    {u8"编辑框1", "QLineEdit", {113, 3, 303, 24}, u8""},
    {u8"按钮1", "QPushButton", {431, 1, 80, 28}, u8"给我搜"},
    {u8"按钮2", "QPushButton", {521, 1, 80, 28}, u8"随便搜搜"},
    {u8"标签4", "QLabel", {656, 8, 24, 24}, u8"1"},
    {u8"标签6", "QLabel", {8, 32, 328, 16}, u8"选择一个下面的网盘，然后输入关键字，点击给我搜按钮"},
    {u8"分组框1", "QGroupBox", {13, 45, 667, 156}, u8""},
    {u8"标签5", "QLabel", {648, 69, 32, 24}, u8""},
    {u8"选择框1", "QCheckBox", {448, 170, 72, 16}, u8"其他"},
    {u8"选择框_全部", "QCheckBox", {543, 165, 129, 19}, u8"【选择全部网盘】"},
    {u8"标签2", "QLabel", {286, 200, 106, 16}, u8""},
    {u8"标签3", "QLabel", {475, 200, 52, 16}, u8"结果搜索："},
    {u8"编辑框2", "QLineEdit", {531, 201, 128, 16}, u8""},
    {u8"超级按钮1", "QToolButton", {659, 201, 20, 16}, u8""},
    {u8"超级列表框1", "QTableView", {8, 224, 673, 282}, u8""},
    {u8"超级列表框2", "QTableView", {8, 224, 673, 282}, u8""},
    {u8"选择框_百度", "QCheckBox", {36, 60, 72, 16}, u8"百度网盘"},
    {u8"选择框_华为", "QCheckBox", {152, 61, 72, 16}, u8"华为网盘"},
    {u8"选择框_迅雷", "QCheckBox", {248, 61, 72, 16}, u8"迅雷快传"},
    {u8"选择框_旋风", "QCheckBox", {352, 61, 64, 16}, u8"QQ旋风"},
    {u8"选择框_360", "QCheckBox", {455, 61, 72, 16}, u8"360云盘"},
    {u8"选择框_千易", "QCheckBox", {551, 61, 72, 16}, u8"千易网盘"},
    {u8"选择框_盛大", "QCheckBox", {36, 94, 72, 16}, u8"盛大网盘"},
    {u8"选择框_爱问", "QCheckBox", {152, 95, 72, 16}, u8"爱问共享"},
    {u8"选择框_CSDN", "QCheckBox", {248, 95, 48, 16}, u8"CSDN"},
    {u8"选择框_金山", "QCheckBox", {352, 95, 80, 16}, u8"金山快盘"},
    {u8"选择框_千脑", "QCheckBox", {455, 95, 72, 16}, u8"千脑网盘"},
    {u8"选择框_城通", "QCheckBox", {551, 94, 72, 16}, u8"城通网盘"},
    {u8"选择框_400", "QCheckBox", {36, 128, 88, 16}, u8"400disk网盘"},
    {u8"选择框_纳米", "QCheckBox", {152, 129, 72, 16}, u8"纳米盘"},
    {u8"选择框_迅载", "QCheckBox", {248, 129, 72, 16}, u8"迅载网盘"},
    {u8"选择框_GXP", "QCheckBox", {352, 129, 64, 16}, u8"GXP网盘"},
    {u8"选择框_good", "QCheckBox", {455, 129, 72, 16}, u8"good.gd"},
    {u8"选择框_115", "QCheckBox", {551, 128, 72, 16}, u8"115网盘"},
    {u8"选择框_一木禾", "QCheckBox", {36, 164, 80, 16}, u8"一木禾网盘"},
    {u8"选择框_126", "QCheckBox", {152, 165, 88, 16}, u8"126disk网盘"},
    {u8"选择框_163", "QCheckBox", {248, 165, 72, 16}, u8"163网盘"},
    {u8"选择框_vdisk", "QCheckBox", {352, 165, 80, 16}, u8"vdisk威盘"},
};

QString captionOf(QWidget* widget) {
    if (auto* label = qobject_cast<QLabel*>(widget))
        return label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(widget))
        return button->text();
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        return edit->text();
    if (auto* group = qobject_cast<QGroupBox*>(widget))
        return group->title();
    return {};
}

// Whether the caption's text fits the width the control gives it.
bool captionFits(QWidget* widget) {
    const QString caption = captionOf(widget);
    if (caption.isEmpty())
        return true;
    int room = widget->width();
    if (qobject_cast<QCheckBox*>(widget))
        room -= 13 + 3 + 2; // indicator, spacing, margin
    else if (qobject_cast<QPushButton*>(widget))
        room -= 8;
    // The ink of the text: a full-width colon ends in blank space that may lie past the box.
    return widget->fontMetrics().tightBoundingRect(caption).right() < room;
}

} // namespace

MainWindowTest::MainWindowTest() = default;
MainWindowTest::~MainWindowTest() = default;

void MainWindowTest::init() {
    window = std::make_unique<MainWindow>(mainWindowCaption("forum.example"));
}
void MainWindowTest::cleanup() {
    window.reset();
}

void MainWindowTest::everyControlStandsAtItsPlaceWithItsCaption() {
    QWidget* client = window->centralWidget();
    QVERIFY(client->width() >= 681 && client->height() >= 506);
    for (const Expected& e : expectedControls) {
        const QString name = qs(e.name);
        auto* widget = window->findChild<QWidget*>(name);
        QVERIFY2(widget, qPrintable(name));
        QCOMPARE(widget->metaObject()->className(), e.kind);
        const QRect inClient(widget->mapTo(client, QPoint(0, 0)), widget->size());
        QVERIFY2(inClient == e.geometry, qPrintable(name));
        QVERIFY2(captionOf(widget) == qs(e.caption), qPrintable(name));
        QVERIFY2(widget->isEnabled(), qPrintable(name));
        QVERIFY2(captionFits(widget), qPrintable(name + QStringLiteral(" is clipped")));
        if (auto* box = qobject_cast<QCheckBox*>(widget))
            QVERIFY2(!box->isChecked(), qPrintable(name));
    }
}

void MainWindowTest::theWindowHasItsCaptionAndAFixedSize() {
    QCOMPARE(window->windowTitle(),
             qs(u8"百度、360、旋风、华为等全部网盘资源搜索灵匣V10.19版 forum.example免费提供"));
    QCOMPARE(window->minimumSize(), window->maximumSize());
    QVERIFY(!(window->windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(window->windowFlags() & Qt::WindowMinimizeButtonHint);
    QVERIFY(!window->windowIcon().isNull());
}

void MainWindowTest::exactlyOneListIsVisible() {
    window->show();
    QVERIFY(window->list(control::超级列表框1)->isVisible());
    QVERIFY(!window->list(control::超级列表框2)->isVisible());
}

void MainWindowTest::theListsHaveTheirColumnsAndSortNothing() {
    for (const ControlName name : {control::超级列表框1, control::超级列表框2}) {
        QTableView* view = window->list(name);
        const QHeaderView* header = view->horizontalHeader();
        const char8_t* titles[] = {u8"序号", u8"名称", u8"地址"};
        const int widths[] = {50, 400, 200};
        QCOMPARE(view->model()->columnCount(), 3);
        for (int column = 0; column < 3; ++column) {
            QCOMPARE(view->model()->headerData(column, Qt::Horizontal).toString(),
                     qs(titles[column]));
            QCOMPARE(header->sectionSize(column), widths[column]);
        }
        QVERIFY(!view->isSortingEnabled());
        QVERIFY(!header->sectionsMovable());
        QVERIFY(view->showGrid());
        QCOMPARE(view->selectionMode(), QAbstractItemView::SingleSelection);
        QCOMPARE(view->selectionBehavior(), QAbstractItemView::SelectRows);
    }
}

void MainWindowTest::theSelectionIsDrawnOnlyWithTheFocus() {
    window->show();
    QTableView* view = window->list(control::超级列表框1);
    ResultModel* rows = window->model(control::超级列表框1);
    rows->setCell(rows->appendRow(), 1, QStringLiteral("row"));
    rows->publish();
    view->selectRow(0);
    const QPoint inRow = view->visualRect(rows->index(0, 1)).center() + QPoint(40, 0);
    const auto colourAt = [&] { return view->viewport()->grab().toImage().pixelColor(inRow); };
    window->findChild<QLineEdit*>(qs(u8"编辑框1"))->setFocus();
    QCOMPARE(colourAt(), view->palette().color(QPalette::Base));
    view->setFocus();
    QTRY_COMPARE(colourAt(), view->palette().color(QPalette::Active, QPalette::Highlight));
}

void MainWindowTest::theMenuBarShowsTheUpdateMenuAndTheSearchStatus() {
    const QList<QAction*> top = window->menuBar()->actions();
    QCOMPARE(top.size(), 2);
    QCOMPARE(top[1]->text(), qs(u8"搜索状态"));
    QCOMPARE(top[1]->menu(), nullptr);
    QCOMPARE(top[0]->text(), qs(u8"更新版本"));
    QCOMPARE(top[0]->menu()->actions().size(), 1);
    QCOMPARE(top[0]->menu()->actions()[0]->text(), qs(u8"点击更新"));
    QStringList popup;
    for (QAction* item : window->popupMenu()->actions())
        popup << item->text();
    QCOMPARE(popup, (QStringList{qs(u8"打开资源地址"), qs(u8"复制地址"), qs(u8"复制标题"),
                                 qs(u8"全部导出")}));
}

void MainWindowTest::enterInTheKeywordBoxReportsKeyCode13() {
    QList<int> keys;
    connect(window.get(), &MainWindow::keywordKeyPressed, this, [&](int key) { keys << key; });
    auto* box = window->findChild<QLineEdit*>(qs(u8"编辑框1"));
    QTest::keyClick(box, Qt::Key_A);
    QTest::keyClick(box, Qt::Key_Return);
    QCOMPARE(keys.size(), 2);
    QVERIFY(keys[0] != 13);
    QCOMPARE(keys[1], 13);
}

void MainWindowTest::theExtraSitesWindow() {
    ExtraSitesDialog dialog;
    QCOMPARE(dialog.windowTitle(), qs(u8"设置-其他网盘"));
    QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
    const QStringList lines = extraSitesInstruction().split(QStringLiteral("\r\n"));
    QCOMPARE(lines.size(), 3);
    QVERIFY(lines[0].startsWith(qs(u8"只需写入网址如 百度网盘的首页地址是：")));
    QCOMPARE(lines[1], qs(u8"支持多个网址 每个网址之间请用英文分号隔开“;”"));
    QVERIFY(lines[2].startsWith(qs(u8"如：")) && lines[2].contains(QLatin1Char(';')));
    QCOMPARE(dialog.findChild<QPushButton*>(QStringLiteral("按钮1"))->geometry(),
             QRect(303, 232, 72, 24));
    QCOMPARE(dialog.findChild<QPlainTextEdit*>(QStringLiteral("编辑框1"))->geometry(),
             QRect(6, 58, 368, 168));
    auto* instruction = dialog.findChild<QLabel*>(QStringLiteral("标签1"));
    QCOMPARE(instruction->geometry(), QRect(0, 8, 368, 48));
    QVERIFY2(instruction->heightForWidth(368) <= 48, "the instruction is clipped");
    // Line breaks of the list are CR LF, both ways.
    const Text list = fromQString(QStringLiteral("a.com;\r\nb.com"));
    dialog.setHostListText(list);
    QCOMPARE(dialog.hostListText(), list);
}

void MainWindowTest::textsCrossToQtAndBack() {
    const Text text = literal(u8"网盘 abc　；");
    QCOMPARE(toQString(text), qs(u8"网盘 abc　；"));
    QVERIFY(fromQString(toQString(text)) == text);
}

void MainWindowTest::labelsShowRemoteTextAsPlainText() {
    QtControls controls(window.get());
    const Text markup = Text("<b>2</b><img src=\"http://x/y.png\">");
    for (const ControlName label : {control::标签5, control::标签2, control::标签4}) {
        controls.setText(label, markup);
        auto* shown = qobject_cast<QLabel*>(window->control(label));
        QCOMPARE(shown->textFormat(), Qt::PlainText);
        QCOMPARE(controls.text(label), markup);
    }
    controls.detach();
}

void MainWindowTest::theKeywordBoxTakesAKeywordOfAnyLength() {
    QtControls controls(window.get());
    const Text keyword(std::string(100000, 'k'));
    controls.setText(control::编辑框1, keyword);
    QCOMPARE(controls.text(control::编辑框1).size(), keyword.size());
    controls.detach();
}

void MainWindowTest::aHostListConfirmedUnchangedGoesBackByteForByte() {
    const char* lists[] = {"a.com;b.com", "a.com;\nb.com", "a.com;\rb.com", "a.com;\r\nb.com\n",
                           "\n\r\r\n"};
    for (const char* bytes : lists) {
        ExtraSitesDialog dialog;
        dialog.setHostListText(Text(bytes));
        QCOMPARE(dialog.hostListText().bytes(), std::string(bytes));
    }
    // An edited list is written with CR LF between its lines.
    ExtraSitesDialog dialog;
    dialog.setHostListText(Text("a.com;\nb.com"));
    dialog.hostListBox()->appendPlainText(QStringLiteral("c.com"));
    QCOMPARE(dialog.hostListText().bytes(), std::string("a.com;\r\nb.com\r\nc.com"));
}

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    applyProgramLook(app);
    MainWindowTest test;
    return QTest::qExec(&test, argc, argv);
}
