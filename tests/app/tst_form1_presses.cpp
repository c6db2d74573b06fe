#include "app/error_display.h"
#include "tests/app/form_fixture.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QtTest>

using qimbar::testing::FormFixture;

namespace {

struct Shown {
    QWidget* parent;
    QString title;
    QString message;
};

// Collects what would have been shown in a message box.
class ShownErrors {
public:
    ShownErrors()
        : seam_([this](QWidget* parent, const QString& title, const QString& message) {
              shown.push_back({parent, title, message});
          }) {}
    std::vector<Shown> shown;

private:
    qimbar::app::ScopedErrorPresenter seam_;
};

// Box numbers of every row box, page by page.
const std::vector<std::pair<int, int>> kPageBoxes{{1, 10},  {21, 28}, {29, 35},
                                                  {36, 38}, {39, 42}, {43, 46}};

int pageOfBox(int n) {
    for (std::size_t p = 0; p < kPageBoxes.size(); ++p) {
        if (n >= kPageBoxes[p].first && n <= kPageBoxes[p].second) {
            return static_cast<int>(p) + 1;
        }
    }
    return 0;  // spare
}

void clickButton(const FormFixture& f, int n) {
    QPushButton* button = f.button(n);
    QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
}

}  // namespace

class Form1PressesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void pressWritesOnlyItsPage_data();
    void pressWritesOnlyItsPage();
    void switchingPagesKeepsEveryText();
    void failureShowsTheMessage_data();
    void failureShowsTheMessage();
    void lostBoxIsReported();
    void messageBoxIsModalCriticalWithOk();
    void closingEndsTheProgramWithoutAQuestion();
};

void Form1PressesTest::pressWritesOnlyItsPage_data() {
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("page");  // the page's boxes afterwards
    QTest::newRow("Metr") << 1 << "1"
                          << QStringList{"1",         "3.281",    "1.094",     "40",
                                         "1.429",     "0.4762",   "0.0005405", "0.000625",
                                         "0.0001339", "0.0009372"};
    QTest::newRow("Funt") << 26 << "2" << QStringList{"0.82",  "820", "4100",    "28.92",
                                                      "463.2", "2",   "0.05124", "1.6734"};
    QTest::newRow("Kvarta") << 32 << "3" << QStringList{"0.003408", "3.408",   "0.75",    "3",
                                                        "6",        "0.09372", "0.021435"};
    QTest::newRow("metr/sek") << 37 << "10" << QStringList{"36", "10", "19.44"};
    QTest::newRow("Ar (sotix)") << 41 << "1" << QStringList{"100", "0.01", "1", "0.02471"};
    QTest::newRow("Farengeyt") << 45 << "212" << QStringList{"99.88", "371.8", "212", "80.12"};
    QTest::newRow("decimal comma")
        << 43 << "36,6" << QStringList{"36,6", "309.6", "97.88", "29.28"};
}

void Form1PressesTest::pressWritesOnlyItsPage() {
    QFETCH(int, button);
    QFETCH(QString, typed);
    QFETCH(QStringList, page);
    FormFixture f;
    ShownErrors errors;
    for (int n = 1; n <= 46; ++n) {
        f.box(n)->setText(QStringLiteral("x%1").arg(n));
    }
    const int pageNumber = pageOfBox(button);
    f.selectPage(pageNumber);
    f.box(button)->clear();
    QTest::keyClicks(f.box(button), typed);

    clickButton(f, button);

    QVERIFY(errors.shown.empty());
    const auto [first, last] = kPageBoxes.at(std::size_t(pageNumber - 1));
    QStringList texts;
    for (int n = first; n <= last; ++n) {
        texts << f.box(n)->text();
    }
    QCOMPARE(texts, page);
    for (int n = 1; n <= 46; ++n) {
        if (pageOfBox(n) != pageNumber) {
            QCOMPARE(f.box(n)->text(), QStringLiteral("x%1").arg(n));
        }
    }
}

void Form1PressesTest::switchingPagesKeepsEveryText() {
    FormFixture f;
    for (int page = 1; page <= 6; ++page) {
        f.selectPage(page);
        const int n = kPageBoxes.at(std::size_t(page - 1)).first;
        QTest::keyClicks(f.box(n), QStringLiteral("%1,5").arg(page));
    }
    f.selectPage(2);
    clickButton(f, 21);
    const QString gramm = f.box(22)->text();
    QCOMPARE(gramm, QStringLiteral("2500"));
    for (const int page : {6, 5, 4, 3, 2, 1, 3}) {
        f.selectPage(page);
    }
    for (int page = 1; page <= 6; ++page) {
        const int n = kPageBoxes.at(std::size_t(page - 1)).first;
        QCOMPARE(f.box(n)->text(), QStringLiteral("%1,5").arg(page));
    }
    QCOMPARE(f.box(22)->text(), gramm);
}

void Form1PressesTest::failureShowsTheMessage_data() {
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("written");  // targets that got a new text
    QTest::newRow("letters") << 1 << "abc"
                             << "Kiritilgan qiymat son emas." << 0;
    QTest::newRow("empty box") << 30 << ""
                               << "Kiritilgan qiymat son emas." << 0;
    QTest::newRow("beyond a double") << 38 << "1e309"
                                     << "Natija juda katta." << 0;
    QTest::newRow("overflow part-way") << 9 << "1e304"
                                       << "Natija juda katta." << 1;
}

void Form1PressesTest::failureShowsTheMessage() {
    QFETCH(int, button);
    QFETCH(QString, typed);
    QFETCH(QString, message);
    QFETCH(int, written);
    FormFixture f;
    ShownErrors errors;
    const int pageNumber = pageOfBox(button);
    const auto [first, last] = kPageBoxes.at(std::size_t(pageNumber - 1));
    for (int n = first; n <= last; ++n) {
        f.box(n)->setText(QStringLiteral("old"));
    }
    f.selectPage(pageNumber);
    f.box(button)->clear();
    QTest::keyClicks(f.box(button), typed);

    clickButton(f, button);

    QCOMPARE(errors.shown.size(), std::size_t(1));
    QCOMPARE(errors.shown.front().parent, &f.form());
    QCOMPARE(errors.shown.front().title, QStringLiteral("Qimbar birliklari"));
    QCOMPARE(errors.shown.front().message, message);
    QCOMPARE(f.box(button)->text(), typed);
    int changed = 0;
    for (int n = first; n <= last; ++n) {
        if (n != button && f.box(n)->text() != QStringLiteral("old")) {
            ++changed;
            QCOMPARE(n - first, changed - 1);  // only the first targets, in order
        }
    }
    QCOMPARE(changed, written);
    if (button == 9) {
        QCOMPARE(f.box(1)->text(), QStringLiteral("7.47E+307"));
    }

    // Still running: the window is up and the next press converts.
    QVERIFY(f.form().isVisible());
    f.box(button)->setText(QStringLiteral("0"));
    clickButton(f, button);
    QCOMPARE(errors.shown.size(), std::size_t(1));
    QCOMPARE(f.box(last == button ? first : last)->text(), QStringLiteral("0"));
}

void Form1PressesTest::lostBoxIsReported() {
    FormFixture f;
    ShownErrors errors;
    f.box(29)->setText(QStringLiteral("1"));
    delete f.box(31);  // Gallon, the action's second target
    clickButton(f, 29);
    QCOMPARE(errors.shown.size(), std::size_t(1));
    QCOMPARE(errors.shown.front().message, QStringLiteral("Maydonga yozib bo'lmadi."));
    QCOMPARE(f.box(30)->text(), QStringLiteral("1000"));
    QVERIFY(f.box(32)->text().isEmpty());
}

void Form1PressesTest::messageBoxIsModalCriticalWithOk() {
    // The real box, closed from a timer once it is up.
    FormFixture f;
    f.box(29)->setText(QStringLiteral("abc"));
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QWidget* parent = nullptr;
    bool modal = false;
    QTimer::singleShot(0, this, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) {
            return;
        }
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        buttons = box->standardButtons();
        parent = box->parentWidget();
        modal = box->isModal();
        box->button(QMessageBox::Ok)->click();
    });
    f.button(29)->click();
    QCOMPARE(title, QStringLiteral("Qimbar birliklari"));
    QCOMPARE(text, QStringLiteral("Kiritilgan qiymat son emas."));
    QCOMPARE(icon, QMessageBox::Critical);
    QCOMPARE(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(parent, &f.form());
    QVERIFY(modal);
    QVERIFY(f.box(30)->text().isEmpty());
}

void Form1PressesTest::closingEndsTheProgramWithoutAQuestion() {
    // Run last: it ends the application's event loop, as closing the window does.
    FormFixture f;
    f.box(29)->setText(QStringLiteral("12"));
    f.selectPage(1);
    f.box(1)->setText(QStringLiteral("3"));
    QSignalSpy lastClosed(qApp, &QGuiApplication::lastWindowClosed);
    bool accepted = false;
    QTimer::singleShot(0, &f.form(), [&f, &accepted] { accepted = f.form().close(); });
    // Had a question been asked, the loop would still run: end it as a failure.
    QTimer::singleShot(5000, qApp, [] { QCoreApplication::exit(1); });
    QCOMPARE(QApplication::exec(), 0);
    QVERIFY(accepted);
    QCOMPARE(lastClosed.count(), 1);
    QVERIFY(!f.form().isVisible());
}

QTEST_MAIN(Form1PressesTest)
#include "tst_form1_presses.moc"
