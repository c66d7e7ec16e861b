#pragma once

#include <QAbstractTableModel>

#include <array>
#include <vector>

namespace shareseek {

// The rows of one result list: 序号, 名称, 地址. Appending a row costs the same however many
// there are.
class ResultModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    int appendRow();
    void setCell(int row, int column, const QString& text);
    QString cell(int row, int column) const;
    void clear();

private:
    std::vector<std::array<QString, 3>> rows_;
};

} // namespace shareseek
