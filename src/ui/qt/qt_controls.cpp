#include "ui/qt/qt_controls.h"

#include "ui/qt/call_queue.h"
#include "ui/qt/main_window.h"
#include "ui/qt/qt_text.h"
#include "ui/qt/result_model.h"

#include <QCheckBox>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QThread>

namespace shareseek {

// Lives on the window's thread and carries out the calls handed over when woken there, a
// slice at a time, so that the window paints and takes input between slices. It holds the
// queue, so a wake-up that arrives after the controls are gone finds it still.
class CallBridge : public QObject {
    Q_OBJECT
public:
    // How long one slice of calls may keep the window's thread from painting.
    static constexpr std::chrono::milliseconds slice{8};

    void setCalls(std::shared_ptr<CallQueue> calls) { calls_ = std::move(calls); }
    // The wake-up names this slot, so that nothing of ours is built on a worker's thread and
    // read on the window's: what crosses does so under the queue's mutex.
    void wake() { QMetaObject::invokeMethod(this, "runPending", Qt::QueuedConnection); }
    Q_INVOKABLE void runPending() {
        if (calls_ && calls_->runPending(slice))
            wake();
    }

private:
    std::shared_ptr<CallQueue> calls_;
};

QtControls::QtControls(MainWindow* window) : window_(window) {
    auto* bridge = new CallBridge;
    bridge_ = bridge;
    calls_ = std::make_shared<CallQueue>([bridge] { bridge->wake(); });
    bridge->setCalls(calls_);
}

QtControls::~QtControls() {
    calls_->abandon();
    // The last worker to end may be the one that lets go of the controls.
    if (QThread::currentThread() == bridge_->thread())
        delete bridge_;
    else
        bridge_->deleteLater();
}

std::size_t QtControls::waitingCalls() const {
    return calls_->pending();
}

void QtControls::detach() {
    calls_->abandon(); // workers waiting for the window return at once
}

bool QtControls::onWindowThread() const {
    return QThread::currentThread() == bridge_->thread();
}

void QtControls::change(std::function<void(MainWindow&)> work,
                        const std::function<void()>& underLock) {
    // Carried out on the window's thread, the only one that reads the window.
    auto task = [this, work = std::move(work)] {
        if (window_)
            work(*window_);
    };
    const bool here = onWindowThread();
    calls_->post(std::move(task), underLock, here);
    if (here)
        calls_->runAll();
}

template <class Result> Result QtControls::read(std::function<Result(MainWindow&)> work) {
    Result result{};
    auto task = [&] {
        if (window_)
            result = work(*window_);
    };
    if (onWindowThread()) {
        calls_->post(task, {}, true);
        calls_->runAll();
    } else {
        calls_->postAndWait(task);
    }
    return result;
}

Text QtControls::text(ControlName name) {
    return read<Text>([name](MainWindow& w) {
        QWidget* widget = w.control(name);
        if (auto* edit = qobject_cast<QLineEdit*>(widget))
            return fromQString(edit->text());
        if (auto* label = qobject_cast<QLabel*>(widget))
            return fromQString(label->text());
        return Text();
    });
}

void QtControls::setText(ControlName name, const Text& text) {
    change([name, text](MainWindow& w) {
        QWidget* widget = w.control(name);
        if (auto* edit = qobject_cast<QLineEdit*>(widget))
            edit->setText(toQString(text));
        else if (auto* label = qobject_cast<QLabel*>(widget))
            label->setText(toQString(text));
    });
}

bool QtControls::ticked(ControlName name) {
    return read<bool>([name](MainWindow& w) {
        QCheckBox* box = w.checkBox(name);
        return box && box->isChecked();
    });
}

void QtControls::setTicked(ControlName name, bool ticked) {
    change([name, ticked](MainWindow& w) {
        if (QCheckBox* box = w.checkBox(name))
            box->setChecked(ticked); // raises no clicked signal
    });
}

void QtControls::setEnabled(ControlName name, bool enabled) {
    change([name, enabled](MainWindow& w) {
        if (QWidget* widget = w.control(name))
            widget->setEnabled(enabled);
    });
}

void QtControls::setVisible(ControlName name, bool visible) {
    change([name, visible](MainWindow& w) {
        if (QWidget* widget = w.control(name))
            widget->setVisible(visible);
    });
}

void QtControls::deleteAllRows(ControlName list) {
    change(
        [list](MainWindow& w) {
            if (ResultModel* rows = w.model(list))
                rows->clear();
        },
        [this, list] { rows_[list] = 0; });
}

int QtControls::rowCount(ControlName list) {
    if (calls_->abandoned())
        return 0;
    std::lock_guard lock(calls_->mutex());
    const auto found = rows_.find(list);
    return found == rows_.end() ? 0 : found->second;
}

int QtControls::appendRow(ControlName list) {
    int row = -1;
    change(
        [list](MainWindow& w) {
            if (ResultModel* rows = w.model(list))
                rows->appendRow();
        },
        [&] { row = rows_[list]++; });
    return row;
}

void QtControls::setCell(ControlName list, int row, int column, const Text& text) {
    change([list, row, column, text](MainWindow& w) {
        if (ResultModel* rows = w.model(list))
            rows->setCell(row, column, toQString(text));
    });
}

Text QtControls::cell(ControlName list, int row, int column) {
    return read<Text>([list, row, column](MainWindow& w) {
        ResultModel* rows = w.model(list);
        return rows ? fromQString(rows->cell(row, column)) : Text();
    });
}

int QtControls::currentSelection(ControlName list) {
    return read<int>([list](MainWindow& w) {
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
    change([list](MainWindow& w) {
        if (ResultModel* rows = w.model(list))
            w.repaintRow(list, rows->rows() - 1);
    });
}

void QtControls::showPopupMenu() {
    change([](MainWindow& w) { w.showPopupMenu(); });
}

} // namespace shareseek

#include "qt_controls.moc"
