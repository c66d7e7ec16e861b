#pragma once

#include "seams/controls.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <map>
#include <memory>

namespace shareseek {

class MainWindow;
class CallQueue;

// The control operations carried out on the main window, on the window's thread, in the order
// they are made. One that only changes the window (append a row, set a cell, repaint, a
// caption, enable, show, tick) is handed over and the caller goes on; one that reads waits
// until everything handed over before it is done, so it sees every change made before it,
// from any thread. The row counts are kept ahead, so appending and counting rows never wait.
// Once the window is gone (or going), every call does nothing and reads the empty value, so
// that late workers neither touch it nor wait for it.
class QtControls : public Controls {
public:
    explicit QtControls(MainWindow* window);
    ~QtControls() override;

    // The window is ending: from now on no call reaches it; calls still pending are dropped.
    void detach();
    // Calls handed over and not yet carried out.
    std::size_t waitingCalls() const;

    Text text(ControlName name) override;
    void setText(ControlName name, const Text& text) override;
    bool ticked(ControlName name) override;
    void setTicked(ControlName name, bool ticked) override;
    void setEnabled(ControlName name, bool enabled) override;
    void setVisible(ControlName name, bool visible) override;
    void deleteAllRows(ControlName list) override;
    int rowCount(ControlName list) override;
    int appendRow(ControlName list) override;
    void setCell(ControlName list, int row, int column, const Text& text) override;
    Text cell(ControlName list, int row, int column) override;
    int currentSelection(ControlName list) override;
    void repaintNow(ControlName list) override;
    void showPopupMenu() override;

private:
    bool onWindowThread() const;
    // Hands `work` over; on the window's thread, carries it out (after everything before it).
    void change(std::function<void(MainWindow&)> work, const std::function<void()>& underLock = {});
    // Carries `work` out on the window's thread and returns its result.
    template <class Result> Result read(std::function<Result(MainWindow&)> work);

    // Read on the window's thread only.
    QPointer<MainWindow> window_;
    std::shared_ptr<CallQueue> calls_;
    // Lives on the window's thread: the wake-ups for calls from workers are posted to it,
    // never to the window, which may be gone.
    QObject* bridge_;
    // Rows of each list as of every call handed over; under the queue's lock.
    std::map<ControlName, int> rows_;
};

} // namespace shareseek
