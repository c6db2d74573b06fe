#pragma once

class QLineEdit;
class QString;

namespace qimbar::qt {

// Shows `explanation`, the box's tooltip text, while `box` has the keyboard
// focus, as hovering its label does: below the page's last row, where it
// hides no control; gone on blur or Escape (and, as any tooltip, on a key).
void explainOnFocus(QLineEdit* box, const QString& explanation);

}  // namespace qimbar::qt
