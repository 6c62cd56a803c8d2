#include "list_model.h"

#include "gbk.h"

namespace zelvo::qt {

ListModel::ListModel(std::vector<QString> titles, QObject* parent)
    : QAbstractTableModel(parent), titles_(std::move(titles)) {
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
        !ValidCell(index.row(), index.column())) {
        return {};
    }
    return FromGbk(rows_[static_cast<size_t>(index.row())].cells[static_cast<size_t>(index.column())]);
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
    const int row = (position < 0 || position > Count()) ? Count() : position;
    Row r;
    r.cells.resize(titles_.size());
    r.images.assign(titles_.size(), -1);
    if (!titles_.empty()) {
        r.cells[0] = std::string(title);
        r.images[0] = image;
    }
    r.stateImage = stateImage;
    r.indent = indent;
    r.value = value;
    if (row == Count()) {
        rows_.push_back(std::move(r));
        ScheduleFlush();
        return row;
    }
    Flush();
    beginInsertRows({}, row, row);
    rows_.insert(static_cast<size_t>(row), std::move(r));
    ++shown_;
    endInsertRows();
    return row;
}

void ListModel::Remove(int row) {
    if (!ValidRow(row)) return;
    Flush();
    beginRemoveRows({}, row, row);
    rows_.erase(static_cast<size_t>(row));
    --shown_;
    endRemoveRows();
}

void ListModel::Clear() {
    if (rows_.empty()) return;
    flushTimer_.stop();
    beginResetModel();
    rows_.clear();
    shown_ = 0;
    endResetModel();
}

bool ListModel::ValidCell(int row, int column) const {
    return ValidRow(row) && column >= 0 && column < static_cast<int>(titles_.size());
}

std::string ListModel::Text(int row, int column) const {
    if (!ValidCell(row, column)) return {};
    return rows_[static_cast<size_t>(row)].cells[static_cast<size_t>(column)];
}

void ListModel::SetText(int row, int column, std::string_view text) {
    if (!ValidCell(row, column)) return;
    rows_[static_cast<size_t>(row)].cells[static_cast<size_t>(column)] = std::string(text);
    if (row >= shown_) return;  // the view will read it with its batch
    const QModelIndex cell = index(row, column);
    emit dataChanged(cell, cell, {Qt::DisplayRole});
}

int ListModel::Image(int row, int column) const {
    if (!ValidCell(row, column)) return -1;
    return rows_[static_cast<size_t>(row)].images[static_cast<size_t>(column)];
}

void ListModel::SetImage(int row, int column, int image) {
    if (!ValidCell(row, column)) return;
    rows_[static_cast<size_t>(row)].images[static_cast<size_t>(column)] = image;
}

int ListModel::StateImage(int row) const {
    return ValidRow(row) ? rows_[static_cast<size_t>(row)].stateImage : -1;
}

void ListModel::SetStateImage(int row, int image) {
    if (ValidRow(row)) rows_[static_cast<size_t>(row)].stateImage = image;
}

int ListModel::Value(int row) const {
    return ValidRow(row) ? rows_[static_cast<size_t>(row)].value : 0;
}

void ListModel::SetValue(int row, int value) {
    if (ValidRow(row)) rows_[static_cast<size_t>(row)].value = value;
}

}  // namespace zelvo::qt

#include "moc_list_model.cpp"
