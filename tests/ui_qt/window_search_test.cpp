#include "fake_engine/fake_search_engine.h"
#include "support/fake_desktop.h"
#include "support/waiting.h"
#include "ui/qt/look.h"
#include "ui/qt/main_window.h"
#include "ui/qt/qt_controls.h"
#include "ui/qt/qt_text.h"
#include "ui/qt/result_model.h"
#include "ui/qt/shell.h"

#include "window_search_test.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
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
    QTest::mouseClick(w.searchButton(), Qt::LeftButton);

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

// A worker waiting for the window's thread is let go when the window ends, even though the
// window's thread never came round to its call.
void WindowSearchTest::theWindowsEndReleasesWaitingWorkers() {
    MainWindow w(mainWindowCaption("forum.example"));
    QtControls controls(&w);
    std::atomic<bool> returned{false};
    std::thread worker([&] {
        controls.appendRow(control::超级列表框1);
        returned = true;
    });
    // No events are processed here, so the call waits.
    QVERIFY2(testing::waitUntil([&] { return controls.waitingCalls() == 1; }, 10s),
             "the worker's call never arrived");
    QVERIFY(!returned);
    controls.detach();
    QVERIFY2(testing::waitUntil([&] { return returned.load(); }, 10s), "the worker was not let go");
    worker.join();
    QCoreApplication::processEvents(); // the stale wake-up finds nothing to do
    QCOMPARE(w.model(control::超级列表框1)->rows(), 0);
}

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    applyProgramLook(app);
    WindowSearchTest test;
    return QTest::qExec(&test, argc, argv);
}
