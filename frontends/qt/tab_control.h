#pragma once

#include <QTabBar>
#include <QWidget>
#include <vector>

// A tab control whose pages cover the whole control, tab strip included, so
// that child positions count from the control's own top-left corner as the
// window descriptions give them (a page's first control sits below the tabs
// because its top says so, not because the page starts there).
namespace zelvo::qt {

class TabControl : public QWidget {
    Q_OBJECT
public:
    explicit TabControl(QWidget* parent = nullptr);

    // Adds a page and returns the widget that its controls are placed on.
    QWidget* AddPage(const QString& title);
    QWidget* Page(int index) const;
    int PageCount() const { return static_cast<int>(pages_.size()); }
    int CurrentPage() const { return bar_->currentIndex(); }
    // Switches the page without reporting it: only the user's choice is an event.
    void SetCurrentPage(int index);
    QTabBar* Bar() const { return bar_; }

signals:
    void PageChanged(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void ShowPage(int index);
    QTabBar* bar_;
    std::vector<QWidget*> pages_;
};

}  // namespace zelvo::qt
