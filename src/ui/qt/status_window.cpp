#include "ui/qt/status_window.h"

#include "search/outcome_text.h"
#include "ui/qt/qt_text.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

namespace shareseek {
namespace {

QTableWidgetItem* cellOf(const QString& text, Qt::Alignment alignment = Qt::AlignLeft) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    item->setTextAlignment(alignment | Qt::AlignVCenter);
    return item;
}

} // namespace

StatusWindow::StatusWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("搜索状态"));
    setWindowTitle(qs(u8"搜索状态"));
    table_ = new QTableWidget(0, 5, this);
    table_->setHorizontalHeaderLabels(
        {qs(u8"网盘"), qs(u8"页数"), qs(u8"条数"), qs(u8"用时"), qs(u8"状态")});
    table_->verticalHeader()->hide();
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->verticalHeader()->setDefaultSectionSize(20);
    summary_ = new QLabel(this);
    summary_->setTextFormat(Qt::PlainText);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(table_);
    layout->addWidget(summary_);
    resize(620, 360);
}

void StatusWindow::showOutcomes(const std::vector<SiteOutcome>& outcomes) {
    table_->setRowCount(static_cast<int>(outcomes.size()));
    for (int row = 0; row < static_cast<int>(outcomes.size()); ++row) {
        const SiteOutcome& outcome = outcomes[static_cast<std::size_t>(row)];
        table_->setItem(row, 0, cellOf(toQString(outcome.caption)));
        table_->setItem(row, 1, cellOf(QString::number(outcome.pages), Qt::AlignRight));
        table_->setItem(row, 2, cellOf(QString::number(outcome.rows), Qt::AlignRight));
        table_->setItem(row, 3, cellOf(toQString(elapsedText(outcome.elapsed)), Qt::AlignRight));
        table_->setItem(row, 4, cellOf(toQString(endText(outcome))));
    }
    table_->resizeColumnsToContents();
    table_->horizontalHeader()->setStretchLastSection(true);
    summary_->setText(toQString(outcomeSummary(outcomes)));
}

} // namespace shareseek
