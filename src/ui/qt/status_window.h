#pragma once

#include "search/site_outcome.h"

#include <QWidget>

#include <vector>

class QLabel;
class QTableWidget;

namespace shareseek {

// The small window of "搜索状态": one row a site of the current search (网盘, 页数, 条数,
// 用时, 状态) and a line that sums it up. Not modal: the search goes on beside it.
class StatusWindow : public QWidget {
public:
    explicit StatusWindow(QWidget* parent = nullptr);

    void showOutcomes(const std::vector<SiteOutcome>& outcomes);

    QTableWidget* table() const { return table_; }
    QLabel* summary() const { return summary_; }

private:
    QTableWidget* table_;
    QLabel* summary_;
};

} // namespace shareseek
