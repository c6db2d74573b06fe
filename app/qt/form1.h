#pragma once

#include "app/box_table.h"
#include "app/qt/announcer.h"
#include "app/qt/qt_text_box.h"
#include "app/window_description.h"
#include "convert/pages.h"
#include "platform/text_box.h"

#include <QFont>
#include <QIcon>
#include <QWidget>

#include <array>
#include <memory>

class QLabel;
class QLineEdit;
class QPushButton;

namespace qimbar::qt {

class SSTab;

// The program's icon: a small window in perspective.
[[nodiscard]] QIcon programIcon();

// A font of the window description, as Qt asks for it.
[[nodiscard]] QFont fontOf(const app::FontDescription& description);

// The one window: the tab control with its six pages of rows, and the credit
// line, all built from the window description.
class Form1 final : public QWidget {
    Q_OBJECT

public:
    explicit Form1(QWidget* parent = nullptr);
    ~Form1() override;
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;
    Form1(Form1&&) = delete;
    Form1& operator=(Form1&&) = delete;

    [[nodiscard]] SSTab* tabControl() const { return tabControl_; }

protected:
    void changeEvent(QEvent* event) override;

private:
    struct RowWidgets {
        QLabel* label = nullptr;
        QLineEdit* box = nullptr;
        QPushButton* button = nullptr;
    };

    // By the N of `TextN`.
    using RowWidgetTable = std::array<RowWidgets, convert::kLastBoxNumber + 1>;

    void build();
    static void describeRowsForAssistiveTools(const RowWidgetTable& rows);
    void press(int page, int row);
    void colourCredit();

    SSTab* tabControl_ = nullptr;
    QLabel* credit_ = nullptr;
    app::BoxTable<QtTextBox> boxes_;
    Announcer announcer_{this};  // what a press did, for screen readers
};

}  // namespace qimbar::qt
