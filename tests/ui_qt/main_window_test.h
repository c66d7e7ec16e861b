#pragma once

#include <QObject>

#include <memory>

namespace shareseek {
class MainWindow;
}

// Declared apart from its definitions so that moc reads only Qt here.
class MainWindowTest : public QObject {
    Q_OBJECT
public:
    MainWindowTest();
    ~MainWindowTest() override;

private slots:
    void init();
    void cleanup();
    void everyControlStandsAtItsPlaceWithItsCaption();
    void theWindowHasItsCaptionAndAFixedSize();
    void exactlyOneListIsVisible();
    void theListsHaveTheirColumnsAndSortNothing();
    void theSelectionIsDrawnOnlyWithTheFocus();
    void theMenuBarShowsTheUpdateMenuAndTheSearchStatus();
    void enterInTheKeywordBoxReportsKeyCode13();
    void theExtraSitesWindow();
    void textsCrossToQtAndBack();
    void labelsShowRemoteTextAsPlainText();
    void theKeywordBoxTakesAKeywordOfAnyLength();
    void aHostListConfirmedUnchangedGoesBackByteForByte();

private:
    std::unique_ptr<shareseek::MainWindow> window;
};
