#include "ui/qt/result_model.h"

#include "ui/qt/qt_text.h"

namespace shareseek {

ResultModel::ResultModel(QObject* parent) : QAbstractTableModel(parent) {
    publishTimer_.setSingleShot(true);
    publishTimer_.setInterval(publishDelayMs);
    connect(&publishTimer_, &QTimer::timeout, this, &ResultModel::publish);
}

int ResultModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : published_;
}

int ResultModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 3;
}

QVariant ResultModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= published_)
        return {};
    return cell(index.row(), index.column());
}

QVariant ResultModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal)
        return {};
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    if (role != Qt::DisplayRole)
        return {};
    static const QString titles[] = {qs(u8"序号"), qs(u8"名称"), qs(u8"地址")};
    return section >= 0 && section < 3 ? titles[section] : QVariant();
}

int ResultModel::appendRow() {
    rows_.emplace_back();
    if (!publishTimer_.isActive())
        publishTimer_.start();
    return rows() - 1;
}

void ResultModel::publish() {
    publishTimer_.stop();
    if (published_ == rows())
        return;
    beginInsertRows({}, published_, rows() - 1);
    published_ = rows();
    endInsertRows();
}

void ResultModel::setCell(int row, int column, const QString& text) {
    if (row < 0 || row >= static_cast<int>(rows_.size()) || column < 0 || column >= 3)
        return;
    rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)] = text;
    if (row < published_) {
        const QModelIndex changed = index(row, column);
        emit dataChanged(changed, changed, {Qt::DisplayRole});
    }
}

QString ResultModel::cell(int row, int column) const {
    if (row < 0 || row >= static_cast<int>(rows_.size()) || column < 0 || column >= 3)
        return {};
    return rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
}

void ResultModel::clear() {
    beginResetModel();
    publishTimer_.stop();
    rows_.clear();
    published_ = 0;
    endResetModel();
}

} // namespace shareseek
