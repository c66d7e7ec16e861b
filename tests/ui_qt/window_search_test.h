#pragma once

#include <QObject>

#include <memory>

namespace shareseek {
class MainWindow;
}

// Declared apart from its definitions so that moc reads only Qt here.
class WindowSearchTest : public QObject {
    Q_OBJECT
private slots:
    void rowsAppearAreCountedAndFilter();
    void workerCallsAreCarriedOutOnTheWindowsThread();
    void popupCopyUsesTheHiddenFullListsSelection();
    void rowsInViewShowAtOnceAndTheRestSoonAfter();
    void theWindowsEndReleasesWaitingWorkers();
    void commandsSeeTheRowsStillBeingHandedOver();
    void eachSitesOutcomeShowsInTheWindow();
    void aSearchThatFoundNothingBecauseSitesFailedSaysSoOnce();
};
