#include "app/qt/edit_menu.h"

#include "app/texts.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>

#include <array>
#include <string_view>

namespace qimbar::qt {

namespace {

struct Word {
    const char* objectName;  // Qt 6.5 and later name the actions
    const char* english;     // Qt 6.4 does not: its label tells them apart
    std::string_view uzbek;
};

constexpr std::array kWords{
    Word{"edit-undo", "&Undo", app::texts::kEditUndo},
    Word{"edit-redo", "&Redo", app::texts::kEditRedo},
    Word{"edit-cut", "Cu&t", app::texts::kEditCut},
    Word{"edit-copy", "&Copy", app::texts::kEditCopy},
    Word{"edit-paste", "&Paste", app::texts::kEditPaste},
    Word{"edit-delete", "Delete", app::texts::kEditDelete},
    Word{"select-all", "Select All", app::texts::kEditSelectAll},
};

void retitle(const QMenu& menu) {
    for (QAction* action : menu.actions()) {
        // Qt writes the shortcut after a tab, when the platform shows one.
        const QString text = action->text();
        const qsizetype tab = text.indexOf(u'\t');
        const QString label = text.left(tab);
        for (const Word& word : kWords) {
            // QLineEdit::tr gives the label as Qt's menu has it, under any translator.
            if (action->objectName() == QLatin1String(word.objectName) ||
                label == QLineEdit::tr(word.english)) {
                action->setText(QString::fromUtf8(word.uzbek) +
                                (tab < 0 ? QString() : text.mid(tab)));
                break;
            }
        }
    }
}

}  // namespace

void useUzbekEditMenu(QLineEdit* edit) {
    // As QLineEdit::contextMenuEvent does, with the words changed between.
    edit->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(edit, &QWidget::customContextMenuRequested, edit, [edit](const QPoint& at) {
        QMenu* menu = edit->createStandardContextMenu();
        retitle(*menu);
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(edit->mapToGlobal(at));
    });
}

}  // namespace qimbar::qt
