#pragma once

#include <QTabBar>
#include <QWidget>

#include <array>

namespace qimbar::qt {

// The strip of tabs: all tabs in one row, of equal width, sharing the strip.
class TabStrip final : public QTabBar {
    Q_OBJECT

public:
    explicit TabStrip(QWidget* parent);

protected:
    [[nodiscard]] QSize tabSizeHint(int index) const override;
    [[nodiscard]] QSize minimumTabSizeHint(int index) const override;
    void focusInEvent(QFocusEvent* event) override;
};

// One page's controls, over the whole tab control so that their places stay
// the tab control's; drawn by nothing, shown with its tab.
class PagePanel final : public QWidget {
    Q_OBJECT

public:
    PagePanel(QWidget* parent, int page) : QWidget(parent), page_(page) {}
    [[nodiscard]] int page() const { return page_; }

private:
    int page_;
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

    // `control` is shown only while `page` (1 to 6) is selected: it moves
    // to that page's panel, in the same place.
    void addToPage(int page, QWidget* control) const;
    [[nodiscard]] PagePanel* panel(int page) const {
        return panels_.at(static_cast<std::size_t>(page - 1));
    }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void showPage(int index);

    TabStrip* strip_;
    std::array<PagePanel*, pageCount> panels_{};  // children: owned by this
    int shownIndex_ = -1;
};

}  // namespace qimbar::qt
