#pragma once

class QLineEdit;

namespace qimbar::qt {

// Qt ships no Uzbek translation: the box's right-click menu is Qt's own, with
// its enabling, shortcuts and actions, but in the program's words.
void useUzbekEditMenu(QLineEdit* edit);

}  // namespace qimbar::qt
