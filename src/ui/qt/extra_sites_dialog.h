#pragma once

#include "ui/site_selection.h"

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace shareseek {

// The extra-sites window: the instruction text, the host-list box and 确定.
class ExtraSitesDialog : public QDialog, public ExtraSitesWindow {
public:
    static constexpr QSize clientSize{381, 262};

    explicit ExtraSitesDialog(QWidget* parent = nullptr);

    // Line breaks are CR LF in the host list, as the list is stored.
    Text hostListText() override;
    void setHostListText(const Text& text) override;
    void close() override;

    QPushButton* confirmButton() const { return confirm_; }
    QPlainTextEdit* hostListBox() const { return hosts_; }

private:
    QPlainTextEdit* hosts_;
    QPushButton* confirm_;
    // The list as it was handed in, and the box's text right after showing it.
    Text listShown_;
    QString shown_;
};

// The three-line instruction of the extra-sites window.
QString extraSitesInstruction();

// Opens the real extra-sites window modally, wired to the handlers.
class QtExtraSitesOpener : public ExtraSitesOpener {
public:
    explicit QtExtraSitesOpener(QWidget* parent = nullptr) : parent_(parent) {}
    void openModal(SiteSelection& handlers) override;

private:
    QWidget* parent_;
};

} // namespace shareseek
