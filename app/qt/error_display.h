#pragma once

#include "app/scoped_override.h"

#include <QString>

#include <functional>

class QWidget;

namespace qimbar::qt {

// Shows a run-time error to the user: a modal critical message box over
// `parent`, captioned with the program's name, with one OK button.
void showRunTimeError(QWidget* parent, const QString& message);

// What showRunTimeError hands its box to; tests put their own in its place so
// that no modal box blocks them.
using ErrorPresenter =
    std::function<void(QWidget* parent, const QString& title, const QString& message)>;

// The presenter in use.
[[nodiscard]] ErrorPresenter& errorPresenter();

// Puts a presenter in place of the message box for its lifetime.
using ScopedErrorPresenter = app::ScopedSlotOverride<ErrorPresenter, errorPresenter>;

}  // namespace qimbar::qt
