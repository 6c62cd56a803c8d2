#include "list_model.h"

#include "gbk.h"

namespace zelvo::qt {

ListModel::ListModel(std::vector<QString> titles, QObject* parent)
    : QAbstractTableModel(parent),
      titles_(std::move(titles)),
      rows_(static_cast<int>(titles_.size())) {
    flushTimer_.setSingleShot(true);
    connect(&flushTimer_, &QTimer::timeout, this, &ListModel::Flush);
}

int ListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : shown_;
}

void ListModel::Flush() {
    flushTimer_.stop();
    sinceFlush_.restart();
    if (shown_ >= Count()) return;
    beginInsertRows({}, shown_, Count() - 1);
    shown_ = Count();
    endInsertRows();
}

void ListModel::ScheduleFlush() {
    if (flushTimer_.isActive()) return;
    const qint64 wait = sinceFlush_.isValid() ? kBatchMs - sinceFlush_.elapsed() : 0;
    flushTimer_.start(wait > 0 ? static_cast<int>(wait) : 0);
}

int ListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(titles_.size());
}

QVariant ListModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || index.row() >= shown_ ||
        !rows_.ValidCell(index.row(), index.column())) {
        return {};
    }
    return FromGbk(rows_.Cell(index.row(), index.column()));
}

QVariant ListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 ||
        section >= static_cast<int>(titles_.size())) {
        return {};
    }
    if (role == Qt::DisplayRole) return titles_[static_cast<size_t>(section)];
    if (role == Qt::TextAlignmentRole) return int(Qt::AlignLeft | Qt::AlignVCenter);
    return {};
}

int ListModel::Insert(int position, std::string_view title, int image, int stateImage,
                      int indent, int value) {
    const int row = rows_.Place(position);
    if (row == Count()) {
        rows_.Insert(row, title, image, stateImage, indent, value);
        ScheduleFlush();
        return row;
    }
    Flush();
    beginInsertRows({}, row, row);
    rows_.Insert(row, title, image, stateImage, indent, value);
    ++shown_;
    endInsertRows();
    return row;
}

void ListModel::Remove(int row) {
    if (!rows_.ValidRow(row)) return;
    Flush();
    beginRemoveRows({}, row, row);
    rows_.Remove(row);
    --shown_;
    endRemoveRows();
}

void ListModel::Clear() {
    if (Count() == 0) return;
    flushTimer_.stop();
    beginResetModel();
    rows_.Clear();
    shown_ = 0;
    endResetModel();
}

void ListModel::SetText(int row, int column, std::string_view text) {
    if (!rows_.SetText(row, column, text)) return;
    if (row >= shown_) return;  // the view will read it with its batch
    const QModelIndex cell = index(row, column);
    emit dataChanged(cell, cell, {Qt::DisplayRole});
}

}  // namespace zelvo::qt

#include "moc_list_model.cpp"
