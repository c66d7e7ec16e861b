#include "fake_engine/fake_search_engine.h"
#include "search/site_catalogue.h"
#include "support/fake_desktop.h"
#include "support/waiting.h"
#include "text/codepage.h"
#include "ui/qt/look.h"
#include "ui/qt/main_window.h"
#include "ui/qt/qt_controls.h"
#include "ui/qt/qt_text.h"
#include "ui/qt/result_model.h"
#include "ui/qt/shell.h"
#include "ui/qt/status_watcher.h"
#include "ui/qt/status_window.h"
#include "ui/result_list_commands.h"

#include "window_search_test.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>

#include <thread>

using namespace shareseek;
using namespace std::chrono_literals;

// A whole search through the real window against the fake engine on loopback.
void WindowSearchTest::rowsAppearAreCountedAndFilter() {
    fake::FakeSearchEngine engine({.pages = 2, .hitsPerPage = 5});
    testing::FakeDesktop desktop;
    Shell shell(SearchEnvironment{.searchHost = engine.host()}, desktop, FilePath("/tmp"),
                "forum.example");
    fillCheckBoxTable(*shell.session()); // the startup sequence's last step
    MainWindow& w = shell.window();
    w.show();
    w.findChild<QLineEdit*>(qs(u8"编辑框1"))->setText(qs(u8"电影"));
    QTest::mouseClick(w.findChild<QCheckBox*>(qs(u8"选择框_百度")), Qt::LeftButton, {},
                      QPoint(4, 8));
    QTest::mouseClick(w.findChild<QCheckBox*>(qs(u8"选择框_360")), Qt::LeftButton, {},
                      QPoint(4, 8));
    // Answered only once the dispatch has started both sites (it resets the row counter
    // before each start), so that the numbering runs on across them.
    engine.hold("pan.baidu.com");
    engine.hold("yunpan.cn");
    QTest::mouseClick(w.searchButton(), Qt::LeftButton);
    engine.release("pan.baidu.com");
    engine.release("yunpan.cn");

    ResultModel* rows = w.model(control::超级列表框1);
    QTRY_COMPARE_WITH_TIMEOUT(rows->rowCount(), 20, 20000);
    QTRY_VERIFY_WITH_TIMEOUT(shell.session()->runningWorkers == 0, 20000);
    QCOMPARE(w.findChild<QLabel*>(qs(u8"标签2"))->text(), qs(u8"资源数：20"));
    for (int row = 0; row < 20; ++row)
        QCOMPARE(rows->cell(row, 0), QString::number(row + 1));
    QVERIFY(w.filterBox()->isEnabled());
    QVERIFY(w.filterButton()->isVisible());

    // Titles hold "资源 <n>": "资源 1" is in 1 and 10 to 19 of each site's numbers.
    w.filterBox()->setText(qs(u8"资源 1 "));
    QTest::mouseClick(w.filterButton(), Qt::LeftButton);
    QVERIFY(w.list(control::超级列表框2)->isVisible());
    QVERIFY(!w.list(control::超级列表框1)->isVisible());
    QCOMPARE(w.model(control::超级列表框2)->rows(), 2);
    QCOMPARE(w.findChild<QLabel*>(qs(u8"标签2"))->text(), qs(u8"结果：2"));
    w.filterBox()->clear();
    QVERIFY(w.list(control::超级列表框1)->isVisible());
}

// Calls from a worker thread are carried out on the window's thread while it waits.
void WindowSearchTest::workerCallsAreCarriedOutOnTheWindowsThread() {
    MainWindow w(mainWindowCaption("forum.example"));
    auto controls = std::make_shared<QtControls>(&w);
    std::atomic<bool> done{false};
    int row = -1;
    Text read;
    std::thread worker([&] {
        row = controls->appendRow(control::超级列表框1);
        controls->setCell(control::超级列表框1, row, 1, literal(u8"标题"));
        read = controls->cell(control::超级列表框1, row, 1);
        controls->setText(control::标签2, literal(u8"资源数：1"));
        done = true;
    });
    QTRY_VERIFY_WITH_TIMEOUT(done.load(), 5000);
    worker.join();
    QCOMPARE(row, 0);
    QVERIFY(read == literal(u8"标题"));
    QCOMPARE(w.findChild<QLabel*>(qs(u8"标签2"))->text(), qs(u8"资源数：1"));

    // After the window end nothing reaches it, and nothing waits.
    controls->detach();
    std::thread late([&] { controls->appendRow(control::超级列表框1); });
    late.join();
    QCOMPARE(w.model(control::超级列表框1)->rows(), 1);
}

void WindowSearchTest::popupCopyUsesTheHiddenFullListsSelection() {
    testing::FakeDesktop desktop;
    Shell shell(SearchEnvironment{}, desktop, FilePath("/tmp"), "forum.example");
    MainWindow& w = shell.window();
    ResultModel* rows = w.model(control::超级列表框1);
    for (int i = 0; i < 2; ++i) {
        const int row = rows->appendRow();
        rows->setCell(row, 1, QStringLiteral("t%1").arg(i));
        rows->setCell(row, 2, QStringLiteral("u%1").arg(i));
    }
    rows->publish();
    w.list(control::超级列表框1)->selectRow(1);
    w.filterBox()->setText(QStringLiteral("t"));
    QTest::mouseClick(w.filterButton(), Qt::LeftButton);
    w.model(control::超级列表框2)->publish();
    w.list(control::超级列表框2)->selectRow(0);
    w.copyAddressAction()->trigger();
    QVERIFY(desktop.clipboard == fromQString(QStringLiteral("u1")));
}
// The view hears of a row in view at once; of rows below the fold, together a little later.
void WindowSearchTest::rowsInViewShowAtOnceAndTheRestSoonAfter() {
    MainWindow w(mainWindowCaption("forum.example"));
    w.show();
    QtControls controls(&w);
    ResultModel* rows = w.model(control::超级列表框1);
    const auto appendShown = [&] {
        const int row = controls.appendRow(control::超级列表框1);
        controls.setCell(control::超级列表框1, row, 1, literal(u8"标题"));
        controls.repaintNow(control::超级列表框1);
    };
    appendShown();
    QCOMPARE(rows->rowCount(), 1);
    QCOMPARE(rows->data(rows->index(0, 1), Qt::DisplayRole).toString(), qs(u8"标题"));
    for (int i = 0; i < 100; ++i)
        appendShown();
    QCOMPARE(controls.rowCount(control::超级列表框1), 101);
    QVERIFY(rows->rowCount() < 101);
    QTRY_COMPARE_WITH_TIMEOUT(rows->rowCount(), 101, 2000);
    controls.deleteAllRows(control::超级列表框1);
    QCOMPARE(rows->rowCount(), 0);
    QCOMPARE(controls.rowCount(control::超级列表框1), 0);
}

// A worker reading from the window waits for the window's thread, and is let go when the
// window ends, even though the window's thread never came round to its call; the rows it
// handed over before are dropped.
void WindowSearchTest::theWindowsEndReleasesWaitingWorkers() {
    MainWindow w(mainWindowCaption("forum.example"));
    QtControls controls(&w);
    std::atomic<bool> returned{false};
    std::thread worker([&] {
        for (int i = 0; i < 100; ++i)
            controls.appendRow(control::超级列表框1); // handed over; the worker goes on
        controls.cell(control::超级列表框1, 0, 1);    // a read: waits for the window
        returned = true;
    });
    // No events are processed here, so the read waits behind the rows.
    QVERIFY2(testing::waitUntil([&] { return controls.waitingCalls() == 101; }, 10s),
             "the worker's calls never arrived");
    QVERIFY(!returned);
    controls.detach();
    QVERIFY2(testing::waitUntil([&] { return returned.load(); }, 10s), "the worker was not let go");
    worker.join();
    QCoreApplication::processEvents(); // the stale wake-up finds nothing to do
    QCOMPARE(w.model(control::超级列表框1)->rows(), 0);
    QCOMPARE(controls.rowCount(control::超级列表框1), 0);
}

namespace {

// What a worker does for one row, as the search worker does it.
void handOverRow(Controls& controls, int number) {
    const int row = controls.appendRow(control::超级列表框1);
    controls.setCell(control::超级列表框1, row, 0, Text(std::to_string(number)));
    controls.setCell(control::超级列表框1, row, 1, Text("title " + std::to_string(number)));
    controls.setCell(control::超级列表框1, row, 2, Text("http://a/" + std::to_string(number)));
    controls.repaintNow(control::超级列表框1);
    controls.setText(control::标签2, Text(std::to_string(controls.rowCount(control::超级列表框1))));
}

// Rows handed over by a worker that went on without waiting for the window.
void handOverRows(Controls& controls, int first, int last) {
    std::thread worker([&] {
        for (int n = first; n <= last; ++n)
            handOverRow(controls, n);
    });
    worker.join(); // the window's thread has processed nothing meanwhile
}

} // namespace

// The filter, the export and a new search, each while rows are still being handed over: each
// sees every row handed over before it, as when every call waited.
void WindowSearchTest::commandsSeeTheRowsStillBeingHandedOver() {
    testing::FakeDesktop desktop;
    Shell shell(SearchEnvironment{}, desktop, FilePath("/tmp"), "forum.example");
    MainWindow& w = shell.window();
    w.show();
    Controls& controls = *shell.session()->controls;
    auto& qtControls = static_cast<QtControls&>(controls);

    handOverRows(controls, 1, 500);
    QVERIFY(qtControls.waitingCalls() > 0); // in flight
    QCOMPARE(controls.rowCount(control::超级列表框1), 500);
    // The filter: "title 1" is in 1, 10 to 19 and 100 to 199.
    w.filterBox()->setText(QStringLiteral("title 1"));
    shell.commands().resultFilter();
    QCOMPARE(qtControls.waitingCalls(), 0u);
    QCOMPARE(w.model(control::超级列表框2)->rows(), 111);
    QCOMPARE(w.findChild<QLabel*>(qs(u8"标签2"))->text(), qs(u8"结果：111"));
    w.filterBox()->clear();

    // The export.
    handOverRows(controls, 501, 600);
    QVERIFY(qtControls.waitingCalls() > 0);
    const Text exported = exportText(controls);
    QVERIFY(exported.view().find("title 600      http://a/600\r\n") != std::string_view::npos);
    QCOMPARE(w.model(control::超级列表框1)->rows(), 600);

    // A new search empties the list: rows handed over before it go, rows after it stay.
    handOverRows(controls, 601, 700);
    controls.deleteAllRows(control::超级列表框1);
    QCOMPARE(w.model(control::超级列表框1)->rows(), 0);
    QCOMPARE(controls.rowCount(control::超级列表框1), 0);
    handOverRows(controls, 1, 3);
    QTRY_COMPARE_WITH_TIMEOUT(w.model(control::超级列表框1)->rows(), 3, 5000);
    QCOMPARE(w.model(control::超级列表框1)->cell(2, 2), QStringLiteral("http://a/3"));
    QTRY_COMPARE_WITH_TIMEOUT(w.findChild<QLabel*>(qs(u8"标签2"))->text(), QStringLiteral("3"),
                              5000);
}

namespace {

// A shell whose window is shown, with the sites of `sites` ticked and a keyword typed.
struct SearchingShell {
    SearchingShell(const std::string& engineHost, std::initializer_list<int> sites)
        : shell(SearchEnvironment{.searchHost = engineHost}, desktop, FilePath("/tmp"),
                "forum.example") {
        fillCheckBoxTable(*shell.session());
        shell.window().show();
        Controls& controls = *shell.session()->controls;
        controls.setText(control::编辑框1, literal(u8"电影"));
        for (const int site : sites)
            controls.setTicked(siteCatalogue()[static_cast<std::size_t>(site - 1)].checkBox, true);
    }
    QString toolTipOf(int site) {
        return shell.window()
            .checkBox(siteCatalogue()[static_cast<std::size_t>(site - 1)].checkBox)
            ->toolTip();
    }
    testing::FakeDesktop desktop;
    Shell shell;
};

std::string hostOf(int site) {
    return std::string(siteCatalogue()[static_cast<std::size_t>(site - 1)].shareHost);
}

} // namespace

// A mixed search: each site's check box tells its outcome, and the status window lists every
// site with a line that sums them up.
void WindowSearchTest::eachSitesOutcomeShowsInTheWindow() {
    fake::FakeSearchEngine engine({.hitsPerPage = 2});
    engine.setBehaviour(hostOf(1), {.failure = fake::EngineFailure::verification});
    engine.setBehaviour(
        hostOf(5), {.pages = 2, .hitsPerPage = 3, .failure = fake::EngineFailure::todaysLayout});
    engine.setBehaviour(hostOf(13), {.failure = fake::EngineFailure::errorPage});
    SearchingShell s(engine.host(), {1, 5, 13});
    QVERIFY(s.toolTipOf(1).isEmpty());
    s.shell.dispatch().startSearch();
    QTRY_VERIFY_WITH_TIMEOUT(s.shell.session()->runningWorkers == 0, 20000);
    s.shell.status().refresh();

    QCOMPARE(s.shell.window().model(control::超级列表框1)->rows(), 6);
    QVERIFY2(s.toolTipOf(1).endsWith(qs(u8"搜索引擎要求安全验证（百度安全验证），未取得结果")),
             qPrintable(s.toolTipOf(1)));
    QVERIFY2(s.toolTipOf(5).startsWith(qs(u8"2 页，6 条，")), qPrintable(s.toolTipOf(5)));
    QVERIFY(s.toolTipOf(5).endsWith(qs(u8"：没有下一页")));
    QVERIFY(s.toolTipOf(13).endsWith(qs(u8"网络错误：服务器返回 HTTP 500")));
    // Rows were found, so the status window waits to be asked for.
    StatusWindow& status = s.shell.status().statusWindow();
    QVERIFY(!status.isVisible());
    s.shell.window().searchStatusAction()->trigger();
    QVERIFY(status.isVisible());
    QVERIFY(!status.isModal());
    QCOMPARE(status.table()->rowCount(), 3);
    QCOMPARE(status.table()->horizontalHeaderItem(4)->text(), qs(u8"状态"));
    QCOMPARE(status.table()->item(0, 0)->text(), qs(u8"百度网盘"));
    QCOMPARE(status.table()->item(1, 1)->text(), QStringLiteral("2"));
    QCOMPARE(status.table()->item(1, 2)->text(), QStringLiteral("6"));
    QCOMPARE(status.summary()->text(), qs(u8"3 个网盘：1 个完成，1 个要求安全验证，1 个网络错误"));
    QVERIFY(s.shell.window().control(control::标签2)->toolTip().isEmpty());
}

// Every site asked for verification: the count label says why nothing was found, and the
// status window opens by itself, once for that search.
void WindowSearchTest::aSearchThatFoundNothingBecauseSitesFailedSaysSoOnce() {
    fake::FakeSearchEngine engine({.failure = fake::EngineFailure::verification});
    SearchingShell s(engine.host(), {1, 5});
    s.shell.dispatch().startSearch();
    StatusWindow& status = s.shell.status().statusWindow();
    QTRY_VERIFY_WITH_TIMEOUT(status.isVisible(), 20000);
    QCOMPARE(s.shell.session()->runningWorkers.load(), 0);
    QCOMPARE(s.shell.window().control(control::标签2)->toolTip(),
             qs(u8"没有找到结果：2 个网盘要求安全验证（详见“搜索状态”）"));
    QCOMPARE(status.summary()->text(), qs(u8"2 个网盘：2 个要求安全验证"));
    status.close();
    s.shell.status().refresh();
    QVERIFY2(!status.isVisible(), "opened again for the same search");
    // A new search takes the explanation away until it has ended.
    engine.hold(hostOf(1));
    s.shell.dispatch().startSearch();
    s.shell.status().refresh();
    QVERIFY(s.shell.window().control(control::标签2)->toolTip().isEmpty());
    engine.release(hostOf(1));
    QTRY_VERIFY_WITH_TIMEOUT(status.isVisible(), 20000);
}

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    applyProgramLook(app);
    WindowSearchTest test;
    return QTest::qExec(&test, argc, argv);
}
