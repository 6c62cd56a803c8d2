#include "tab_control.h"

#include <QStyleOptionTabWidgetFrame>
#include <QStylePainter>

namespace zelvo::qt {

TabControl::TabControl(QWidget* parent) : QWidget(parent), bar_(new QTabBar(this)) {
    bar_->setDrawBase(false);
    bar_->setExpanding(false);
    bar_->setUsesScrollButtons(true);
    connect(bar_, &QTabBar::currentChanged, this, [this](int index) {
        ShowPage(index);
        emit PageChanged(index);
    });
}

QWidget* TabControl::AddPage(const QString& title) {
    auto* page = new QWidget(this);
    page->setGeometry(rect());
    pages_.push_back(page);
    {
        // The first page is current from the start; adding it is no user choice.
        const QSignalBlocker block(bar_);
        bar_->addTab(title);
    }
    bar_->adjustSize();
    bar_->raise();
    ShowPage(bar_->currentIndex());
    return page;
}

QWidget* TabControl::Page(int index) const {
    if (index < 0 || index >= PageCount()) return nullptr;
    return pages_[static_cast<size_t>(index)];
}

void TabControl::SetCurrentPage(int index) {
    if (index < 0 || index >= PageCount() || index == bar_->currentIndex()) return;
    const QSignalBlocker block(bar_);
    bar_->setCurrentIndex(index);
    ShowPage(index);
}

void TabControl::ShowPage(int index) {
    for (int i = 0; i < PageCount(); ++i) pages_[static_cast<size_t>(i)]->setVisible(i == index);
    bar_->raise();
}

void TabControl::resizeEvent(QResizeEvent*) {
    for (QWidget* page : pages_) page->setGeometry(rect());
    bar_->move(2, 0);
    bar_->adjustSize();
    if (bar_->width() > width() - 4) bar_->resize(width() - 4, bar_->height());
}

void TabControl::paintEvent(QPaintEvent*) {
    // The pane below the tabs; the current tab joins it.
    QStylePainter painter(this);
    QStyleOptionTabWidgetFrame frame;
    frame.initFrom(this);
    frame.shape = QTabBar::RoundedNorth;
    frame.tabBarSize = bar_->size();
    frame.tabBarRect = bar_->geometry();
    frame.rect = QRect(0, bar_->height() - 1, width(), height() - bar_->height() + 1);
    frame.lineWidth = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
    painter.drawPrimitive(QStyle::PE_FrameTabWidget, frame);
}

}  // namespace zelvo::qt

#include "moc_tab_control.cpp"
