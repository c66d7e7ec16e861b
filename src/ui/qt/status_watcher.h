#pragma once

#include "search/search_session.h"

#include <QObject>
#include <QTimer>

#include <memory>

namespace shareseek {

class MainWindow;
class StatusWindow;

// Shows the outcomes of the current search in the window: a tooltip on each site's check
// box, the status window while it is open, and, once a search has ended with no row while
// some site failed, the count label's tooltip and the status window, opened by itself once.
// It reads the outcomes on a timer, never under the result lock.
class StatusWatcher : public QObject {
public:
    StatusWatcher(std::shared_ptr<SearchSession> session, MainWindow& window);
    ~StatusWatcher() override;

    StatusWindow& statusWindow() { return *statusWindow_; }
    // Opens the status window (the menu's action).
    void openStatusWindow();
    // Reads the outcomes now; the timer calls it several times a second.
    void refresh();

    static constexpr int refreshIntervalMs = 250;

private:
    void showOnCheckBoxes(const std::vector<SiteOutcome>& outcomes);

    std::shared_ptr<SearchSession> session_;
    MainWindow& window_;
    std::unique_ptr<StatusWindow> statusWindow_;
    QTimer timer_;
    // The table last seen, and the one whose empty end was already told.
    const OutcomeTable* seen_ = nullptr;
    const OutcomeTable* told_ = nullptr;
};

} // namespace shareseek
