#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <string>
#include <string_view>
#include <vector>

// The rows of one report-view list. Cells are kept as the program's GBK texts
// and turned into display text only for the rows the view paints, so that
// inserting 100,000 rows costs no conversions.
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
    int Count() const { return static_cast<int>(rows_.size()); }

    std::string Text(int row, int column) const;
    void SetText(int row, int column, std::string_view text);
    int Image(int row, int column) const;
    void SetImage(int row, int column, int image);
    int StateImage(int row) const;
    void SetStateImage(int row, int image);
    int Value(int row) const;
    void SetValue(int row, int value);

private:
    struct Row {
        std::vector<std::string> cells;
        std::vector<int> images;
        int stateImage = -1;
        int indent = 0;
        int value = 0;
    };
    bool ValidCell(int row, int column) const;
    bool ValidRow(int row) const { return row >= 0 && row < Count(); }

    std::vector<QString> titles_;
    std::vector<Row> rows_;
};

}  // namespace zelvo::qt
