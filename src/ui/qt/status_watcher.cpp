#include "ui/qt/status_watcher.h"

#include "search/outcome_text.h"
#include "search/site_catalogue.h"
#include "ui/qt/main_window.h"
#include "ui/qt/qt_text.h"
#include "ui/qt/status_window.h"

#include <QCheckBox>
#include <QLabel>

namespace shareseek {

StatusWatcher::StatusWatcher(std::shared_ptr<SearchSession> session, MainWindow& window)
    : session_(std::move(session)), window_(window),
      statusWindow_(std::make_unique<StatusWindow>(&window)) {
    timer_.setInterval(refreshIntervalMs);
    connect(&timer_, &QTimer::timeout, this, [this] { refresh(); });
    timer_.start();
}

StatusWatcher::~StatusWatcher() = default;

void StatusWatcher::openStatusWindow() {
    statusWindow_->showOutcomes(session_->outcomes()->snapshot());
    statusWindow_->show();
    statusWindow_->raise();
}

void StatusWatcher::showOnCheckBoxes(const std::vector<SiteOutcome>& outcomes) {
    for (const SiteOutcome& outcome : outcomes) {
        if (outcome.siteIndex < 1 || outcome.siteIndex > builtInSiteCount)
            continue;
        const Site& site = siteCatalogue()[static_cast<std::size_t>(outcome.siteIndex - 1)];
        if (QCheckBox* box = window_.checkBox(site.checkBox))
            box->setToolTip(toQString(outcomeText(outcome)));
    }
}

void StatusWatcher::refresh() {
    const std::shared_ptr<OutcomeTable> table = session_->outcomes();
    auto* countLabel = qobject_cast<QLabel*>(window_.control(control::标签2));
    if (table.get() != seen_) { // a new search: the last one's explanation no longer holds
        seen_ = table.get();
        if (countLabel)
            countLabel->setToolTip(QString());
    }
    const std::vector<SiteOutcome> outcomes = table->snapshot();
    showOnCheckBoxes(outcomes);
    if (statusWindow_->isVisible())
        statusWindow_->showOutcomes(outcomes);
    const Text explanation = emptySearchExplanation(outcomes);
    if (explanation.empty() || told_ == table.get())
        return;
    told_ = table.get();
    if (countLabel)
        countLabel->setToolTip(toQString(explanation));
    openStatusWindow();
}

} // namespace shareseek
