#include "app/qt/form1.h"

#include "app/colour.h"
#include "app/press.h"
#include "app/qt/edit_menu.h"
#include "app/qt/error_display.h"
#include "app/qt/focus_tip.h"
#include "app/qt/sstab.h"
#include "app/row_view.h"
#include "app/window_description.h"
#include "convert/pages.h"

#include <QEvent>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>

#include <algorithm>
#include <limits>
#include <vector>

namespace qimbar::qt {

using app::ControlDescription;
using app::form1;
using app::Kind;
using app::twipsToPixels;

namespace {

QString text(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

QRect pixels(const app::Twips& twips) {
    const app::Pixels p = app::toPixels(twips);
    return {p.left, p.top, p.width, p.height};
}

}  // namespace

QFont fontOf(const app::FontDescription& description) {
    QFont font;
    QStringList families;
    for (const std::string_view face : description.faces) {
        families << text(face);
    }
    font.setFamilies(families);
    font.setStyleHint(QFont::SansSerif);
    // In the layout's own pixels, so that the text keeps to the fixed
    // controls whatever the desktop's font DPI; Qt scales both alike on a
    // high-DPI screen.
    font.setPixelSize(app::fontPixels(description));
    font.setWeight(QFont::Normal);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    return font;
}

QIcon programIcon() {
    QIcon icon;
    for (const int size : {16, 32, 48}) {
        icon.addFile(QStringLiteral(":/icons/qimbar-%1.png").arg(size), QSize(size, size));
    }
    return icon;
}

Form1::Form1(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(text(form1.caption));
    setFixedSize(twipsToPixels(form1.clientWidth), twipsToPixels(form1.clientHeight));
    setWindowIcon(programIcon());
    // The window's default font, not the desktop's: the layout's 19-pixel
    // boxes were drawn for it, and today's 10- and 11-point defaults clip.
    setFont(fontOf(app::kWindowFont));
    build();
}

Form1::~Form1() = default;

void Form1::build() {
    const QFont labelFont = fontOf(app::kLabelFont);
    QLabel* credit = nullptr;
    RowWidgetTable rows{};
    std::vector<std::pair<int, QWidget*>> focusOrder;

    for (const ControlDescription& control : app::controls) {
        if (control.kind == Kind::TabControl) {
            tabControl_ = new SSTab(this, twipsToPixels(form1.tabStripHeight));
            tabControl_->setObjectName(text(control.name));
            tabControl_->setGeometry(pixels(control.geometry));
            for (const std::string_view caption : app::tabCaptions) {
                const int index = tabControl_->strip()->addTab(text(caption));
                tabControl_->strip()->setAccessibleTabName(index, text(caption));
            }
            tabControl_->setCurrentPage(form1.startPage);
            focusOrder.emplace_back(control.tabIndex, tabControl_->strip());
        }
    }

    for (const ControlDescription& control : app::controls) {
        QWidget* widget = nullptr;
        switch (control.kind) {
            case Kind::TabControl:
                continue;
            case Kind::Label: {
                const bool isCredit = control.page == 0;
                auto* label = new QLabel(text(control.caption),
                                         isCredit ? static_cast<QWidget*>(this) : tabControl_);
                label->setAutoFillBackground(true);
                label->setBackgroundRole(QPalette::Button);
                label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
                if (isCredit) {
                    // On a button-face background Qt would pick the button text
                    // colour; the credit is drawn in a colour of its own.
                    label->setForegroundRole(QPalette::WindowText);
                    credit = label;
                    credit_ = label;
                    colourCredit();
                } else {
                    label->setForegroundRole(QPalette::ButtonText);
                    label->setFont(labelFont);
                    rows.at(static_cast<std::size_t>(app::rowOf(control)->boxNumber())).label =
                        label;
                }
                widget = label;
                break;
            }
            case Kind::TextBox: {
                auto* edit = new QLineEdit(tabControl_);
                edit->setMaxLength(std::numeric_limits<int>::max());
                useUzbekEditMenu(edit);
                widget = edit;
                if (control.page != 0) {
                    boxes_.add(app::rowOf(control)->boxNumber(), edit);
                    rows.at(static_cast<std::size_t>(app::rowOf(control)->boxNumber())).box = edit;
                }
                break;
            }
            case Kind::Button: {
                auto* button = new QPushButton(text(control.caption), tabControl_);
                widget = button;
                if (control.page != 0) {
                    // Enter and Return press a focused button, as Space does;
                    // no button is the window's default.
                    button->setAutoDefault(true);
                    rows.at(static_cast<std::size_t>(app::rowOf(control)->boxNumber())).button =
                        button;
                    const int page = control.page;
                    const int row = control.row;
                    connect(button, &QPushButton::clicked, this,
                            [this, page, row] { press(page, row); });
                }
                break;
            }
        }
        widget->setObjectName(text(control.name));
        widget->setGeometry(pixels(control.geometry));
        if (control.page != 0) {
            tabControl_->addToPage(control.page, widget);
            if (control.kind != Kind::Label) {
                focusOrder.emplace_back(control.tabIndex, widget);
            }
        } else if (widget != credit) {
            // Spare controls: on no page, so never shown and never focused.
            widget->setVisible(false);
            widget->setFocusPolicy(Qt::NoFocus);
        }
    }

    // The credit line's top row lies under the tab control, which is drawn over it.
    if (credit != nullptr) {
        credit->stackUnder(tabControl_);
    }

    describeRowsForAssistiveTools(rows);

    std::sort(focusOrder.begin(), focusOrder.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 1; i < focusOrder.size(); ++i) {
        QWidget::setTabOrder(focusOrder[i - 1].second, focusOrder[i].second);
    }
    tabControl_->strip()->setFocus();

    auto* next = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Tab), this);
    connect(next, &QShortcut::activated, tabControl_, &SSTab::selectNextPage);
    for (const QKeySequence& keys : {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab),
                                     QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab)}) {
        auto* previous = new QShortcut(keys, this);
        connect(previous, &QShortcut::activated, tabControl_, &SSTab::selectPreviousPage);
    }
}

void Form1::colourCredit() {
    // Dark blue on the button face, unless the palette (a dark or a
    // high-contrast one) makes it unreadable there.
    const auto rgb = [](const QColor& colour) {
        return app::Rgb{static_cast<std::uint8_t>(colour.red()),
                        static_cast<std::uint8_t>(colour.green()),
                        static_cast<std::uint8_t>(colour.blue())};
    };
    const QPalette window = palette();
    const app::Rgb chosen = app::creditColourOn(rgb(window.color(QPalette::Button)),
                                                rgb(window.color(QPalette::ButtonText)));
    QPalette own = credit_->palette();
    own.setColor(QPalette::WindowText, QColor(chosen.red, chosen.green, chosen.blue));
    credit_->setPalette(own);
}

void Form1::changeEvent(QEvent* event) {
    if (event->type() == QEvent::PaletteChange && credit_ != nullptr) {
        colourCredit();
    }
    QWidget::changeEvent(event);
}

void Form1::describeRowsForAssistiveTools(const RowWidgetTable& rows) {
    // A screen reader names each box and button by its unit; the label's
    // tooltip and the box's description say what the unit is.
    for (const app::RowView& row : app::rowViews()) {
        const RowWidgets& widgets = rows.at(static_cast<std::size_t>(row.boxNumber()));
        if (widgets.label == nullptr || widgets.box == nullptr || widgets.button == nullptr) {
            continue;
        }
        const QString explanation = text(row.explanation);
        widgets.label->setBuddy(widgets.box);
        widgets.label->setToolTip(explanation);
        explainOnFocus(widgets.box, explanation);
        widgets.box->setAccessibleName(text(row.caption()));
        widgets.box->setAccessibleDescription(explanation);
        widgets.button->setAccessibleName(text(row.buttonName));
    }
}

void Form1::press(int page, int row) {
    if (const auto failure = app::pressRow(page, row, boxes_)) {
        showRunTimeError(this, text(failure->message));
        // Back to the box at fault, its text selected, ready to be corrected.
        auto* box = failure->box == 0
                        ? nullptr
                        : findChild<QLineEdit*>(QStringLiteral("Text%1").arg(failure->box));
        if (box != nullptr && box->isVisible()) {
            box->setFocus(Qt::OtherFocusReason);
            box->selectAll();
        }
        return;
    }
    announcer_.say(text(app::pressSummary(page, row, boxes_)));
}

}  // namespace qimbar::qt
