#pragma once

#include <QAbstractTableModel>
#include <QTimer>

#include <array>
#include <vector>

namespace shareseek {

// The rows of one result list: 序号, 名称, 地址. Appending costs the same however many rows
// there are. Qt lays out and repaints a whole list for every row it is told of, so new rows
// are told to the view in batches: at once when they would be in view (see publish), else a
// little later, together.
class ResultModel : public QAbstractTableModel {
public:
    explicit ResultModel(QObject* parent = nullptr);

    // What the view knows of.
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // Every row, told to the view or not yet.
    int rows() const { return static_cast<int>(rows_.size()); }
    int appendRow();
    void setCell(int row, int column, const QString& text);
    QString cell(int row, int column) const;
    void clear();
    // Tells the view of every row appended since the last time.
    void publish();

    // How long a new row out of view may wait before the view hears of it.
    static constexpr int publishDelayMs = 40;

private:
    std::vector<std::array<QString, 3>> rows_;
    int published_ = 0;
    QTimer publishTimer_;
};

} // namespace shareseek
