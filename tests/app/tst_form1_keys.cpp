#include "tests/app/form_fixture.h"
#include "tests/app/spec_layout.h"

#include <QApplication>
#include <QtTest>

using qimbar::testing::FormFixture;

class Form1KeysTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void tabWalksThePageInItsOrder_data();
    void tabWalksThePageInItsOrder();
    void pageKeys_data();
    void pageKeys();
    void keysInABoxPressNothing_data();
    void keysInABoxPressNothing();
    void keysOnAFocusedButtonPressIt_data();
    void keysOnAFocusedButtonPressIt();
};

namespace {

QString focusName() {
    const QWidget* focus = QApplication::focusWidget();
    if (focus == nullptr) {
        return QStringLiteral("(none)");
    }
    // The strip stands for the tab control.
    if (qobject_cast<const QTabBar*>(focus) != nullptr) {
        return QStringLiteral("SSTab1");
    }
    return focus->objectName();
}

}  // namespace

void Form1KeysTest::tabWalksThePageInItsOrder_data() {
    QTest::addColumn<int>("page");
    QTest::addColumn<QStringList>("walk");
    // The page's controls in keyboard order: labels never take the focus,
    // the other pages' controls and the spare ones are hidden.
    const QStringList order = qimbar::testing::keyboardOrder();
    const auto all = qimbar::testing::expectedControls();
    for (int page = 1; page <= 6; ++page) {
        QStringList walk{QStringLiteral("SSTab1")};
        for (const QString& name : order) {
            const auto it = std::find_if(all.begin(), all.end(),
                                         [&name](const auto& c) { return c.name == name; });
            if (it != all.end() && it->page == page && !name.startsWith(QStringLiteral("Label"))) {
                walk << name;
            }
        }
        QTest::addRow("page %d", page) << page << walk;
    }
}

void Form1KeysTest::tabWalksThePageInItsOrder() {
    QFETCH(int, page);
    QFETCH(QStringList, walk);
    FormFixture f;
    f.tabs().setCurrentPage(page);
    f.strip().setFocus();
    QCOMPARE(focusName(), QStringLiteral("SSTab1"));

    QStringList forward;
    for (int i = 0; i < walk.size(); ++i) {
        forward << focusName();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QCOMPARE(forward, walk);
    QCOMPARE(focusName(), QStringLiteral("SSTab1"));  // round to the strip again

    QStringList backward;
    for (int i = 0; i < walk.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        backward.prepend(focusName());
    }
    QCOMPARE(backward, walk);
    if (page == 3) {
        QCOMPARE(walk.mid(1, 3), (QStringList{"Command35", "Command34", "Command33"}));
        QCOMPARE(walk.last(), QStringLiteral("Text29"));
    }
}

void Form1KeysTest::pageKeys_data() {
    QTest::addColumn<QString>("focus");  // where the key is typed
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    const int ctrl = Qt::ControlModifier;
    const int ctrlShift = Qt::ControlModifier | Qt::ShiftModifier;
    QTest::newRow("Right on the strip") << "SSTab1" << int(Qt::Key_Right) << 0 << 3 << 4;
    QTest::newRow("Left on the strip") << "SSTab1" << int(Qt::Key_Left) << 0 << 3 << 2;
    QTest::newRow("Ctrl+Tab in a box") << "Text29" << int(Qt::Key_Tab) << ctrl << 3 << 4;
    QTest::newRow("Ctrl+Tab on a button") << "Command30" << int(Qt::Key_Tab) << ctrl << 3 << 4;
    QTest::newRow("Ctrl+Tab wraps") << "Text43" << int(Qt::Key_Tab) << ctrl << 6 << 1;
    QTest::newRow("Ctrl+Shift+Tab in a box")
        << "Text29" << int(Qt::Key_Backtab) << ctrlShift << 3 << 2;
    QTest::newRow("Ctrl+Shift+Tab wraps") << "Text1" << int(Qt::Key_Backtab) << ctrlShift << 1 << 6;
}

void Form1KeysTest::pageKeys() {
    QFETCH(QString, focus);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, from);
    QFETCH(int, to);
    FormFixture f;
    f.tabs().setCurrentPage(from);
    QWidget* target = focus == QStringLiteral("SSTab1") ? &f.strip() : f.find<QWidget>(focus);
    target->setFocus();
    QTest::keyClick(target, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(f.tabs().currentPage(), to);
}

void Form1KeysTest::keysInABoxPressNothing_data() {
    QTest::addColumn<int>("key");
    QTest::newRow("Return") << int(Qt::Key_Return);
    QTest::newRow("Enter") << int(Qt::Key_Enter);
    QTest::newRow("Escape") << int(Qt::Key_Escape);
}

void Form1KeysTest::keysInABoxPressNothing() {
    QFETCH(int, key);
    FormFixture f;
    QLineEdit* source = f.box(29);
    source->setFocus();
    QTest::keyClicks(source, QStringLiteral("1"));
    QTest::keyClick(source, Qt::Key(key));
    QCOMPARE(source->text(), QStringLiteral("1"));
    for (int n = 30; n <= 35; ++n) {
        QVERIFY(f.box(n)->text().isEmpty());
    }
}

void Form1KeysTest::keysOnAFocusedButtonPressIt_data() {
    QTest::addColumn<int>("key");
    QTest::newRow("Space") << int(Qt::Key_Space);
    QTest::newRow("Return") << int(Qt::Key_Return);
    QTest::newRow("Enter") << int(Qt::Key_Enter);
}

void Form1KeysTest::keysOnAFocusedButtonPressIt() {
    QFETCH(int, key);
    FormFixture f;
    f.box(29)->setText(QStringLiteral("1"));
    f.button(29)->setFocus();
    QTest::keyClick(f.button(29), Qt::Key(key));
    QCOMPARE(f.box(30)->text(), QStringLiteral("1000"));
    QCOMPARE(f.box(35)->text(), QStringLiteral("6.289"));
}

QTEST_MAIN(Form1KeysTest)
#include "tst_form1_keys.moc"
