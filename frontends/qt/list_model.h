#pragma once

#include <QAbstractTableModel>
#include <QElapsedTimer>
#include <QTimer>
#include <QString>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/list_row_data.h"

// The rows of one report-view list. Cells are kept as the program's GBK texts
// and turned into display text only for the rows the view paints, so that
// inserting 100,000 rows costs no conversions.
//
// Rows appended at the end reach the view in batches: a tree view lays out
// all its rows after every change, and a verification run appends its rows
// one cross-thread call at a time. The first batch goes out as soon as the
// event loop runs, later ones at most every kBatchMs. The operations below
// always see every row; only the view may lag by that much.
namespace zelvo::qt {

class ListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    ListModel(std::vector<QString> titles, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // position < 0 or beyond the end appends; returns the new row's index.
    int Insert(int position, std::string_view title, int image, int stateImage, int indent,
               int value);
    void Remove(int row);
    void Clear();
    int Count() const { return rows_.Count(); }
    // Hands the rows appended so far to the view now.
    void Flush();

    std::string Text(int row, int column) const { return rows_.Text(row, column); }
    void SetText(int row, int column, std::string_view text);
    int Image(int row, int column) const { return rows_.Image(row, column); }
    void SetImage(int row, int column, int image) { rows_.SetImage(row, column, image); }
    int StateImage(int row) const { return rows_.StateImage(row); }
    void SetStateImage(int row, int image) { rows_.SetStateImage(row, image); }
    int Value(int row) const { return rows_.Value(row); }
    void SetValue(int row, int value) { rows_.SetValue(row, value); }

private:
    void ScheduleFlush();

    static constexpr int kBatchMs = 50;
    std::vector<QString> titles_;
    ListRowData rows_;
    int shown_ = 0;  // rows the view knows of: rows_[0, shown_)
    QTimer flushTimer_;
    QElapsedTimer sinceFlush_;
};

}  // namespace zelvo::qt
