#pragma once

#include <QDateTimeEdit>
#include <QFileDialog>
#include <QTreeView>
#include <QWidget>
#include <functional>

// The few widgets whose behaviour differs from Qt's stock ones.
namespace zelvo::qt {

// A top-level window of the program. Closing it (close box, window manager,
// Alt+F4) is handed to the port, which destroys it; the first activation is
// reported once.
class FormWindow : public QWidget {
    Q_OBJECT
public:
    FormWindow();
    std::function<void()> onCloseRequested;
    std::function<void()> onFirstActivated;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;

private:
    bool activatedOnce_ = false;
};

// Report view: whole rows, one selected row, no Qt sorting. A double click or
// Enter on a row activates it.
class ListView : public QTreeView {
    Q_OBJECT
public:
    explicit ListView(QWidget* parent = nullptr);

signals:
    void RowActivated(int row);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

// Date picker: shows the date, keeps the time of day that the value was set
// with (a picked date keeps it too).
class DatePicker : public QDateTimeEdit {
    Q_OBJECT
public:
    DatePicker(const QDateTime& value, QWidget* parent);
    QDateTime Value() const { return QDateTime(date(), time_); }
    void SetValue(const QDateTime& value);

private:
    QTime time_;
};

// The folder browser: a typed path is accepted as well as a picked one; with
// files allowed, an existing file is an answer too.
class FolderDialog : public QFileDialog {
    Q_OBJECT
public:
    FolderDialog(QWidget* parent, const QString& title, bool includeFiles);
    QString Chosen() const { return chosen_; }

public slots:
    void accept() override;

private:
    bool includeFiles_;
    QString chosen_;
};

}  // namespace zelvo::qt
