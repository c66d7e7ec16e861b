#pragma once

#include "seams/controls.h"

#include <QObject>
#include <QPointer>

#include <atomic>
#include <functional>
#include <memory>

namespace shareseek {

class MainWindow;

// The control operations carried out on the main window. A call from another thread is
// handed to the window's thread and waits there until it is done; the window's thread never
// waits for anyone. Once the window is gone (or going), every call does nothing and reads
// the empty value, so that late workers neither touch it nor wait for it.
class QtControls : public Controls {
public:
    struct CallQueue;

    explicit QtControls(MainWindow* window);
    ~QtControls() override;

    // The window is ending: from now on no call reaches it.
    void detach();
    // Calls from other threads waiting for the window's thread now.
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
    // Runs `task` on the window's thread while the caller waits; nothing once detached.
    void carryOut(const std::function<void()>& task);
    // Runs `work` with the window on the window's thread and returns its result.
    template <class Work> auto onWindow(Work work) -> decltype(work(std::declval<MainWindow&>()));

    // Read on the window's thread only.
    QPointer<MainWindow> window_;
    std::shared_ptr<CallQueue> calls_;
    // Lives on the window's thread: the wake-ups for calls from workers are posted to it,
    // never to the window, which may be gone.
    QObject* bridge_;
    std::atomic<bool> detached_{false};
};

} // namespace shareseek
