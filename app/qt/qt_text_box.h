#pragma once

#include "platform/text_box.h"

#include <QLineEdit>
#include <QPointer>

namespace qimbar::qt {

// A Qt line edit seen as the action's text box.
class QtTextBox final : public platform::TextBox {
public:
    explicit QtTextBox(QLineEdit* edit) : edit_(edit) {}

    [[nodiscard]] platform::Status readText(std::string& text) override;
    [[nodiscard]] platform::Status writeText(std::string_view text) override;

private:
    QPointer<QLineEdit> edit_;  // reports a failed access, not a crash, once the edit is gone
};

}  // namespace qimbar::qt
