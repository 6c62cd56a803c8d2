#include "controls.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QTimer>

namespace zelvo::qt {

FormWindow::FormWindow() : QWidget(nullptr) {}

void FormWindow::closeEvent(QCloseEvent* event) {
    // The port decides; the widget is destroyed by it, never merely hidden.
    event->ignore();
    if (onCloseRequested) onCloseRequested();
}

bool FormWindow::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate && !activatedOnce_) {
        activatedOnce_ = true;
        // Queued, so that the window has been painted when the handler runs.
        QTimer::singleShot(0, this, [this] {
            if (onFirstActivated) onFirstActivated();
        });
    }
    return QWidget::event(event);
}

ListView::ListView(QWidget* parent) : QTreeView(parent) {
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSortingEnabled(false);
    setAlternatingRowColors(false);
    setTextElideMode(Qt::ElideRight);
    header()->setSectionsClickable(true);
    header()->setSortIndicatorShown(false);
    header()->setSectionsMovable(false);
    header()->setStretchLastSection(false);
    header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    connect(this, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
        if (index.isValid()) emit RowActivated(index.row());
    });
}

void ListView::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        currentIndex().isValid()) {
        emit RowActivated(currentIndex().row());
        return;
    }
    QTreeView::keyPressEvent(event);
}

DatePicker::DatePicker(const QDateTime& value, QWidget* parent)
    : QDateTimeEdit(value.date(), parent), time_(value.time()) {
    setCalendarPopup(true);
    setMinimumDate(QDate(100, 1, 1));
    setMaximumDate(QDate(9999, 12, 31));
    setDisplayFormat(QStringLiteral("yyyy/M/d"));
}

void DatePicker::SetValue(const QDateTime& value) {
    time_ = value.time();
    setDate(value.date());
}

FolderDialog::FolderDialog(QWidget* parent, const QString& title, bool includeFiles)
    : QFileDialog(parent, title), includeFiles_(includeFiles) {
    setOption(QFileDialog::DontUseNativeDialog, true);
    setFileMode(QFileDialog::Directory);
    setOption(QFileDialog::ShowDirsOnly, !includeFiles);
    setAcceptMode(QFileDialog::AcceptOpen);
    setDirectory(QDir::currentPath());
}

void FolderDialog::accept() {
    const QStringList picked = selectedFiles();
    const QString path = picked.isEmpty() ? QString() : picked.first();
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists() || (!includeFiles_ && !info.isDir())) {
        // Let the dialog explain or navigate as it normally does.
        QFileDialog::accept();
        if (result() == QDialog::Accepted) chosen_ = selectedFiles().value(0);
        return;
    }
    chosen_ = info.absoluteFilePath();
    QDialog::accept();
}

}  // namespace zelvo::qt

#include "moc_controls.cpp"
