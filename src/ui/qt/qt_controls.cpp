#include "ui/qt/qt_controls.h"

#include "ui/qt/main_window.h"
#include "ui/qt/qt_text.h"
#include "ui/qt/result_model.h"

#include <QCheckBox>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QThread>

#include <type_traits>

namespace shareseek {

QtControls::QtControls(MainWindow* window) : window_(window), bridge_(new QObject) {}

QtControls::~QtControls() {
    // The last worker to end may be the one that lets go of the controls.
    if (QThread::currentThread() == bridge_->thread())
        delete bridge_;
    else
        bridge_->deleteLater();
}

void QtControls::detach() {
    detached_ = true;
}

void QtControls::carryOut(const std::function<void()>& task) {
    if (detached_)
        return;
    // Runs on the window's thread, the only one that reads the window.
    const auto onWindowThread = [&] {
        if (!detached_ && window_)
            task();
    };
    if (QThread::currentThread() == bridge_->thread())
        onWindowThread();
    else
        QMetaObject::invokeMethod(bridge_, onWindowThread, Qt::BlockingQueuedConnection);
}

template <class Work>
auto QtControls::onWindow(Work work) -> decltype(work(std::declval<MainWindow&>())) {
    using Result = decltype(work(std::declval<MainWindow&>()));
    if constexpr (std::is_void_v<Result>) {
        carryOut([&] { work(*window_); });
    } else {
        Result result{};
        carryOut([&] { result = work(*window_); });
        return result;
    }
}

Text QtControls::text(ControlName name) {
    return onWindow([&](MainWindow& w) {
        QWidget* widget = w.control(name);
        if (auto* edit = qobject_cast<QLineEdit*>(widget))
            return fromQString(edit->text());
        if (auto* label = qobject_cast<QLabel*>(widget))
            return fromQString(label->text());
        return Text();
    });
}

void QtControls::setText(ControlName name, const Text& text) {
    onWindow([&](MainWindow& w) {
        QWidget* widget = w.control(name);
        if (auto* edit = qobject_cast<QLineEdit*>(widget))
            edit->setText(toQString(text));
        else if (auto* label = qobject_cast<QLabel*>(widget))
            label->setText(toQString(text));
    });
}

bool QtControls::ticked(ControlName name) {
    return onWindow([&](MainWindow& w) {
        QCheckBox* box = w.checkBox(name);
        return box && box->isChecked();
    });
}

void QtControls::setTicked(ControlName name, bool ticked) {
    onWindow([&](MainWindow& w) {
        if (QCheckBox* box = w.checkBox(name))
            box->setChecked(ticked); // raises no clicked signal
    });
}

void QtControls::setEnabled(ControlName name, bool enabled) {
    onWindow([&](MainWindow& w) {
        if (QWidget* widget = w.control(name))
            widget->setEnabled(enabled);
    });
}

void QtControls::setVisible(ControlName name, bool visible) {
    onWindow([&](MainWindow& w) {
        if (QWidget* widget = w.control(name))
            widget->setVisible(visible);
    });
}

void QtControls::deleteAllRows(ControlName list) {
    onWindow([&](MainWindow& w) {
        if (ResultModel* rows = w.model(list))
            rows->clear();
    });
}

int QtControls::rowCount(ControlName list) {
    return onWindow([&](MainWindow& w) {
        ResultModel* rows = w.model(list);
        return rows ? rows->rows() : 0;
    });
}

int QtControls::appendRow(ControlName list) {
    return onWindow([&](MainWindow& w) {
        ResultModel* rows = w.model(list);
        return rows ? rows->appendRow() : -1;
    });
}

void QtControls::setCell(ControlName list, int row, int column, const Text& text) {
    onWindow([&](MainWindow& w) {
        if (ResultModel* rows = w.model(list))
            rows->setCell(row, column, toQString(text));
    });
}

Text QtControls::cell(ControlName list, int row, int column) {
    return onWindow([&](MainWindow& w) {
        ResultModel* rows = w.model(list);
        return rows ? fromQString(rows->cell(row, column)) : Text();
    });
}

int QtControls::currentSelection(ControlName list) {
    return onWindow([&](MainWindow& w) {
        QTableView* view = w.list(list);
        if (!view || !view->selectionModel())
            return -1;
        int first = -1;
        for (const QModelIndex& index : view->selectionModel()->selectedRows())
            if (first < 0 || index.row() < first)
                first = index.row();
        return first;
    });
}

void QtControls::repaintNow(ControlName list) {
    onWindow([&](MainWindow& w) {
        if (ResultModel* rows = w.model(list))
            w.repaintRow(list, rows->rows() - 1);
    });
}

void QtControls::showPopupMenu() {
    onWindow([](MainWindow& w) { w.showPopupMenu(); });
}

} // namespace shareseek
