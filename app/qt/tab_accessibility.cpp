#include "app/qt/tab_accessibility.h"

#include "app/qt/sstab.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPointer>
#include <QWindow>

#include <map>

namespace qimbar::qt {

namespace {

SSTab* tabControlOf(const TabStrip* strip) {
    return strip == nullptr ? nullptr : qobject_cast<SSTab*>(strip->parentWidget());
}

// One tab of the strip: no widget of its own, as Qt's tabs have none.
class TabAccessible final : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    TabAccessible(TabStrip* strip, int index) : strip_(strip), index_(index) {}

    [[nodiscard]] bool isValid() const override {
        return strip_ != nullptr && index_ < strip_->count();
    }
    [[nodiscard]] QObject* object() const override { return nullptr; }
    [[nodiscard]] QWindow* window() const override {
        return strip_ == nullptr ? nullptr : strip_->window()->windowHandle();
    }
    [[nodiscard]] QList<QPair<QAccessibleInterface*, QAccessible::Relation>> relations(
        QAccessible::Relation /*match*/) const override {
        return {};
    }
    [[nodiscard]] QAccessibleInterface* focusChild() const override { return nullptr; }
    [[nodiscard]] QAccessibleInterface* childAt(int x, int y) const override {
        QAccessibleInterface* page = child(0);
        return page != nullptr && page->rect().contains(x, y) ? page : nullptr;
    }
    [[nodiscard]] QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(strip_.data());
    }
    [[nodiscard]] QAccessibleInterface* child(int index) const override {
        const SSTab* tabs = tabControlOf(strip_);
        return index == 0 && tabs != nullptr
                   ? QAccessible::queryAccessibleInterface(tabs->panel(index_ + 1))
                   : nullptr;
    }
    [[nodiscard]] int childCount() const override { return child(0) != nullptr ? 1 : 0; }
    [[nodiscard]] int indexOfChild(const QAccessibleInterface* child) const override {
        const SSTab* tabs = tabControlOf(strip_);
        return child != nullptr && tabs != nullptr && child->object() == tabs->panel(index_ + 1)
                   ? 0
                   : -1;
    }
    [[nodiscard]] QString text(QAccessible::Text kind) const override {
        return kind == QAccessible::Name && isValid() ? strip_->accessibleTabName(index_)
                                                      : QString();
    }
    void setText(QAccessible::Text /*kind*/, const QString& /*text*/) override {}
    [[nodiscard]] QRect rect() const override {
        if (!isValid()) {
            return {};
        }
        const QRect tab = strip_->tabRect(index_);
        return {strip_->mapToGlobal(tab.topLeft()), tab.size()};
    }
    [[nodiscard]] QAccessible::Role role() const override { return QAccessible::PageTab; }
    [[nodiscard]] QAccessible::State state() const override {
        QAccessible::State state;
        state.focusable = true;
        state.selectable = true;
        if (!isValid() || !strip_->isVisible()) {
            state.invisible = true;
            return state;
        }
        const bool current = strip_->currentIndex() == index_;
        state.selected = current;
        state.focused = current && strip_->hasFocus();
        return state;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                    : nullptr;
    }

    [[nodiscard]] QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& name) override {
        if (name == pressAction() && isValid()) {
            strip_->setCurrentIndex(index_);
        }
    }
    [[nodiscard]] QStringList keyBindingsForAction(const QString& /*name*/) const override {
        return {};
    }

private:
    QPointer<TabStrip> strip_;
    int index_;
};

// The strip: its tabs, and nothing else.
class StripAccessible final : public QAccessibleWidget {
public:
    explicit StripAccessible(TabStrip* strip)
        : QAccessibleWidget(strip, QAccessible::PageTabList) {}
    StripAccessible(const StripAccessible&) = delete;
    StripAccessible& operator=(const StripAccessible&) = delete;
    StripAccessible(StripAccessible&&) = delete;
    StripAccessible& operator=(StripAccessible&&) = delete;
    ~StripAccessible() override {
        for (const auto& [index, id] : tabs_) {
            QAccessible::deleteAccessibleInterface(id);
        }
    }

    [[nodiscard]] int childCount() const override { return strip()->count(); }
    [[nodiscard]] QAccessibleInterface* child(int index) const override {
        if (index < 0 || index >= strip()->count()) {
            return nullptr;
        }
        auto found = tabs_.find(index);
        if (found == tabs_.end()) {
            auto* tab = new TabAccessible(strip(), index);
            found = tabs_.emplace(index, QAccessible::registerAccessibleInterface(tab)).first;
        }
        return QAccessible::accessibleInterface(found->second);
    }
    [[nodiscard]] int indexOfChild(const QAccessibleInterface* child) const override {
        for (int index = 0; index < childCount(); ++index) {
            if (this->child(index) == child) {
                return index;
            }
        }
        return -1;
    }
    [[nodiscard]] QAccessibleInterface* focusChild() const override {
        return strip()->hasFocus() ? child(strip()->currentIndex()) : nullptr;
    }
    [[nodiscard]] QAccessibleInterface* childAt(int x, int y) const override {
        const QPoint local = strip()->mapFromGlobal(QPoint(x, y));
        return child(strip()->tabAt(local));
    }

private:
    [[nodiscard]] TabStrip* strip() const { return static_cast<TabStrip*>(widget()); }

    mutable std::map<int, QAccessible::Id> tabs_;
};

// A page: named by its tab, the child of that tab.
class PageAccessible final : public QAccessibleWidget {
public:
    explicit PageAccessible(PagePanel* page) : QAccessibleWidget(page, QAccessible::Pane) {}

    [[nodiscard]] QAccessibleInterface* parent() const override {
        const auto* tabs = qobject_cast<SSTab*>(widget()->parentWidget());
        QAccessibleInterface* strip =
            tabs == nullptr ? nullptr : QAccessible::queryAccessibleInterface(tabs->strip());
        return strip == nullptr ? nullptr : strip->child(page() - 1);
    }
    [[nodiscard]] QString text(QAccessible::Text kind) const override {
        QAccessibleInterface* tab = parent();
        return kind == QAccessible::Name && tab != nullptr ? tab->text(QAccessible::Name)
                                                           : QAccessibleWidget::text(kind);
    }

private:
    [[nodiscard]] int page() const { return static_cast<PagePanel*>(widget())->page(); }
};

// The tab control: its strip alone; the pages are the tabs'.
class TabControlAccessible final : public QAccessibleWidget {
public:
    explicit TabControlAccessible(SSTab* tabs) : QAccessibleWidget(tabs, QAccessible::Grouping) {}

    [[nodiscard]] int childCount() const override { return 1; }
    [[nodiscard]] QAccessibleInterface* child(int index) const override {
        return index == 0 ? QAccessible::queryAccessibleInterface(tabs()->strip()) : nullptr;
    }
    [[nodiscard]] int indexOfChild(const QAccessibleInterface* child) const override {
        return child != nullptr && child->object() == tabs()->strip() ? 0 : -1;
    }

private:
    [[nodiscard]] SSTab* tabs() const { return static_cast<SSTab*>(widget()); }
};

QAccessibleInterface* makeAccessible(const QString& /*className*/, QObject* object) {
    if (auto* strip = qobject_cast<TabStrip*>(object)) {
        return new StripAccessible(strip);
    }
    if (auto* page = qobject_cast<PagePanel*>(object)) {
        return new PageAccessible(page);
    }
    if (auto* tabs = qobject_cast<SSTab*>(object)) {
        return new TabControlAccessible(tabs);
    }
    return nullptr;
}

void announce(TabStrip* strip, int index, QAccessible::Event type) {
    if (!QAccessible::isActive() || index < 0) {
        return;
    }
    QAccessibleEvent event(strip, type);
    event.setChild(index);
    QAccessible::updateAccessibility(&event);
}

}  // namespace

void installTabAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(makeAccessible);
        return true;
    }();
    static_cast<void>(installed);
}

void announceTabFocus(TabStrip* strip, int index) {
    announce(strip, index, QAccessible::Focus);
}

void announceTabDeselected(TabStrip* strip, int index) {
    announce(strip, index, QAccessible::Selection);
}

}  // namespace qimbar::qt
