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

#include <condition_variable>
#include <deque>
#include <mutex>
#include <type_traits>

namespace shareseek {

// Calls from workers wait here for the window's thread. They cross under a standard mutex,
// not through Qt's own blocking calls, so that every tool that checks threads sees the
// hand-over, and so that the window's end can release every waiting worker at once.
struct QtControls::CallQueue {
    struct Call {
        const std::function<void()>* task;
        bool done = false;
    };

    std::mutex mutex;
    std::condition_variable finished;
    std::deque<Call*> pending;
    bool abandoned = false;

    // On the window's thread: carries out every call waiting.
    void runPending() {
        std::unique_lock lock(mutex);
        while (!pending.empty()) {
            Call* call = pending.front();
            pending.pop_front();
            lock.unlock();
            (*call->task)();
            lock.lock();
            call->done = true;
            finished.notify_all();
        }
    }

    // On a worker's thread: queues the call and waits until it is done or abandoned. The
    // wake-up names the bridge's slot, so that nothing of ours is built on this thread and
    // read on the window's: what crosses does so under the mutex above.
    void runAndWait(const std::function<void()>& task, QObject* bridge) {
        Call call{&task};
        {
            std::lock_guard lock(mutex);
            if (abandoned)
                return;
            pending.push_back(&call);
        }
        QMetaObject::invokeMethod(bridge, "runPending", Qt::QueuedConnection);
        std::unique_lock lock(mutex);
        finished.wait(lock, [&] { return call.done || abandoned; });
    }

    void abandon() {
        std::lock_guard lock(mutex);
        abandoned = true;
        pending.clear();
        finished.notify_all();
    }
};

// Lives on the window's thread and carries out the waiting calls when woken there; it holds
// the queue, so a wake-up that arrives after the controls are gone finds it still.
class CallBridge : public QObject {
    Q_OBJECT
public:
    explicit CallBridge(std::shared_ptr<QtControls::CallQueue> calls) : calls_(std::move(calls)) {}
    Q_INVOKABLE void runPending() { calls_->runPending(); }

private:
    std::shared_ptr<QtControls::CallQueue> calls_;
};

QtControls::QtControls(MainWindow* window)
    : window_(window), calls_(std::make_shared<CallQueue>()), bridge_(new CallBridge(calls_)) {}

QtControls::~QtControls() {
    // The last worker to end may be the one that lets go of the controls.
    if (QThread::currentThread() == bridge_->thread())
        delete bridge_;
    else
        bridge_->deleteLater();
}

std::size_t QtControls::waitingCalls() const {
    std::lock_guard lock(calls_->mutex);
    return calls_->pending.size();
}

void QtControls::detach() {
    detached_ = true;
    calls_->abandon(); // workers waiting for the window return at once
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
        calls_->runAndWait(onWindowThread, bridge_);
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

#include "qt_controls.moc"
