#pragma once

#include "app/qt/form1.h"
#include "app/qt/sstab.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QtTest>

#include <memory>

namespace qimbar::testing {

// The window, shown and active, with its controls found by objectName.
class FormFixture {
public:
    FormFixture() : form_(std::make_unique<qt::Form1>()) {
        form_->show();
        if (!QTest::qWaitForWindowActive(form_.get())) {
            qWarning("Form1 did not become active");
        }
    }

    [[nodiscard]] qt::Form1& form() const { return *form_; }
    [[nodiscard]] qt::SSTab& tabs() const { return *find<qt::SSTab>(QStringLiteral("SSTab1")); }
    [[nodiscard]] QTabBar& strip() const { return *tabs().strip(); }

    template <typename T>
    [[nodiscard]] T* find(const QString& name) const {
        if (name == form_->objectName()) {
            return qobject_cast<T*>(form_.get());
        }
        T* widget = form_->findChild<T*>(name);
        if (widget == nullptr) {
            qFatal("no control %s", qPrintable(name));
        }
        return widget;
    }

    [[nodiscard]] QLineEdit* box(int n) const {
        return find<QLineEdit>(QStringLiteral("Text%1").arg(n));
    }
    [[nodiscard]] QPushButton* button(int n) const {
        return find<QPushButton>(QStringLiteral("Command%1").arg(n));
    }

    // Selects page 1 to 6 by clicking its tab.
    void selectPage(int page) const {
        QTest::mouseClick(&strip(), Qt::LeftButton, {}, strip().tabRect(page - 1).center());
    }

private:
    std::unique_ptr<qt::Form1> form_;
};

}  // namespace qimbar::testing
