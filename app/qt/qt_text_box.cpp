#include "app/qt/qt_text_box.h"

namespace qimbar::qt {

platform::Status QtTextBox::readText(std::string& text) {
    if (edit_.isNull()) {
        return platform::kControlGone;
    }
    text = edit_->text().toStdString();
    return platform::Status::ok();
}

platform::Status QtTextBox::writeText(std::string_view text) {
    if (edit_.isNull()) {
        return platform::kControlGone;
    }
    edit_->setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    return platform::Status::ok();
}

}  // namespace qimbar::qt
