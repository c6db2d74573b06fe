#include "app/qt/sstab.h"

#include "app/qt/tab_accessibility.h"

#include <QStyleOptionTabWidgetFrame>
#include <QStylePainter>
#include <QTimer>

namespace qimbar::qt {

TabStrip::TabStrip(QWidget* parent) : QTabBar(parent) {
    installTabAccessibility();
    setExpanding(false);
    setUsesScrollButtons(false);
    setElideMode(Qt::ElideNone);
    setDrawBase(false);  // the page frame below is drawn by the tab control
}

QSize TabStrip::tabSizeHint(int index) const {
    // Edges at multiples of width / count, so the widths differ by a pixel at most.
    const int tabs = count();
    if (tabs == 0) {
        return QTabBar::tabSizeHint(index);
    }
    const int left = width() * index / tabs;
    const int right = width() * (index + 1) / tabs;
    return {right - left, height()};
}

QSize TabStrip::minimumTabSizeHint(int index) const {
    return tabSizeHint(index);
}

void TabStrip::focusInEvent(QFocusEvent* event) {
    QTabBar::focusInEvent(event);
    // After Qt has told of the strip's focus, which it does after this.
    QTimer::singleShot(0, this, [this] {
        if (hasFocus()) {
            announceTabFocus(this, currentIndex());
        }
    });
}

SSTab::SSTab(QWidget* parent, int stripHeight) : QWidget(parent), strip_(new TabStrip(this)) {
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);
    for (int page = 1; page <= pageCount; ++page) {
        auto* panel = new PagePanel(this, page);
        panel->setVisible(false);
        panels_.at(static_cast<std::size_t>(page - 1)) = panel;
    }
    strip_->raise();  // over the panels, which take the whole control
    strip_->setGeometry(0, 0, width(), stripHeight);
    setFocusProxy(strip_);
    connect(strip_, &QTabBar::currentChanged, this, &SSTab::showPage);
}

void SSTab::setCurrentPage(int page) {
    strip_->setCurrentIndex(page - 1);
}

void SSTab::selectNextPage() {
    strip_->setCurrentIndex((strip_->currentIndex() + 1) % pageCount);
}

void SSTab::selectPreviousPage() {
    strip_->setCurrentIndex((strip_->currentIndex() + pageCount - 1) % pageCount);
}

void SSTab::addToPage(int page, QWidget* control) const {
    const QRect place = control->geometry();
    control->setParent(panel(page));
    control->setGeometry(place);
    control->show();  // as its panel is
}

void SSTab::showPage(int index) {
    if (shownIndex_ >= 0) {
        panels_.at(static_cast<std::size_t>(shownIndex_))->setVisible(false);
        announceTabDeselected(strip_, shownIndex_);
    }
    shownIndex_ = index;
    if (index >= 0) {
        panels_.at(static_cast<std::size_t>(index))->setVisible(true);
    }
    update();  // the frame's gap follows the selected tab
}

void SSTab::paintEvent(QPaintEvent* /*event*/) {
    QStylePainter painter(this);
    QStyleOptionTabWidgetFrame frame;
    frame.initFrom(this);
    const int overlap = style()->pixelMetric(QStyle::PM_TabBarBaseOverlap, nullptr, this);
    const int top = strip_->height() - overlap;
    frame.rect = QRect(0, top, width(), height() - top);
    frame.shape = QTabBar::RoundedNorth;
    frame.tabBarSize = strip_->size();
    frame.tabBarRect = strip_->geometry();
    frame.lineWidth = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
    if (strip_->currentIndex() >= 0) {
        frame.selectedTabRect = strip_->tabRect(strip_->currentIndex()).translated(strip_->pos());
    }
    painter.drawPrimitive(QStyle::PE_FrameTabWidget, frame);
    // Styles tint the page; keep it the button face the labels are painted in.
    const int border = 2 * frame.lineWidth;
    painter.fillRect(frame.rect.adjusted(border, border, -border, -border),
                     palette().brush(QPalette::Button));
}

void SSTab::resizeEvent(QResizeEvent* event) {
    strip_->resize(width(), strip_->height());
    for (PagePanel* panel : panels_) {
        panel->setGeometry(rect());
    }
    QWidget::resizeEvent(event);
}

}  // namespace qimbar::qt
