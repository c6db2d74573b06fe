#pragma once

#include <QPointer>
#include <QTabBar>
#include <QWidget>

#include <array>
#include <vector>

namespace qimbar::qt {

// The strip of tabs: all tabs in one row, of equal width, sharing the strip.
class TabStrip final : public QTabBar {
    Q_OBJECT

public:
    explicit TabStrip(QWidget* parent);

protected:
    [[nodiscard]] QSize tabSizeHint(int index) const override;
    [[nodiscard]] QSize minimumTabSizeHint(int index) const override;
};

// The tab control: a strip of six tabs over a framed page area. The controls
// of every page are its children; only the selected page's are visible.
class SSTab final : public QWidget {
    Q_OBJECT

public:
    static constexpr int pageCount = 6;

    SSTab(QWidget* parent, int stripHeight);

    [[nodiscard]] TabStrip* strip() const { return strip_; }
    [[nodiscard]] int currentPage() const { return strip_->currentIndex() + 1; }
    void setCurrentPage(int page);
    void selectNextPage();
    void selectPreviousPage();

    // `control` is shown only while `page` (1 to 6) is selected.
    void addToPage(int page, QWidget* control);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void showPage(int index);

    TabStrip* strip_;
    std::array<std::vector<QPointer<QWidget>>, pageCount> pages_;  // a control may go first
    int shownIndex_ = -1;
};

}  // namespace qimbar::qt
