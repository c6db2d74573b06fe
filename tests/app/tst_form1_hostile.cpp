// Whatever is typed or pasted, a press either converts it or shows a clear
// message; the program goes on, and no box changes but as a press allows.
#include "app/error_display.h"
#include "tests/app/form_fixture.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QtTest>

using qimbar::testing::FormFixture;

class Form1HostileTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void pastedText_data();
    void pastedText();
};

void Form1HostileTest::pastedText_data() {
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("fut");      // what Fut shows, if the press converts
    QTest::addColumn<QString>("message");  // what is shown, if it does not
    const QString notANumber = QStringLiteral("Kiritilgan qiymat son emas.");
    const QString tooLarge = QStringLiteral("Natija juda katta.");

    QTest::newRow("a megabyte of digits") << QString(1 << 20, QLatin1Char('9')) << "" << tooLarge;
    QTest::newRow("a megabyte, tiny")
        << QStringLiteral("0,") + QString(1 << 20, QLatin1Char('0')) + QStringLiteral("1") << "0"
        << "";
    QTest::newRow("NUL inside") << QStringLiteral("1") + QChar(0) + QStringLiteral("2") << ""
                                << notANumber;
    QTest::newRow("Arabic-Indic digits") << QString::fromUtf8("\u0661\u0662") << "" << notANumber;
    QTest::newRow("full-width digits") << QString::fromUtf8("\uFF11\uFF12") << "" << notANumber;
    QTest::newRow("right-to-left marks around")
        << QString::fromUtf8("\u200F12\u200F") << "" << notANumber;
    QTest::newRow("zero-width spaces around")
        << QString::fromUtf8("\u200B12\u200B") << "" << notANumber;
    QTest::newRow("combining character") << QString::fromUtf8("1\u03012") << "" << notANumber;
    // The line edit keeps the pasted line break; the text is no number.
    QTest::newRow("newline pasted") << "12\n34"
                                    << "" << notANumber;
    QTest::newRow("1e308, beyond a double times 3.281") << "1e308"
                                                        << "" << tooLarge;
    QTest::newRow("1e309") << "1e309"
                           << "" << tooLarge;
    QTest::newRow("-0") << "-0"
                        << "0"
                        << "";
    QTest::newRow("hex") << "0x10"
                         << "" << notANumber;
    QTest::newRow("underscore groups") << "1_000"
                                       << "" << notANumber;
    QTest::newRow("space groups") << "1 000"
                                  << "3281"
                                  << "";
    QTest::newRow("groups and a decimal comma") << "1 000,5"
                                                << "3282.6405"
                                                << "";
    QTest::newRow("two decimal marks") << "1,000.5"
                                       << "" << notANumber;
    QTest::newRow("double mark") << "1..5"
                                 << "" << notANumber;
    QTest::newRow("lone sign") << "-"
                               << "" << notANumber;
    QTest::newRow("lone decimal mark") << ","
                                       << "" << notANumber;
    QTest::newRow("every optional part") << "+.5e-3"
                                         << "0.0016405"
                                         << "";
}

void Form1HostileTest::pastedText() {
    QFETCH(QString, pasted);
    QFETCH(QString, fut);
    QFETCH(QString, message);
    FormFixture f;
    std::vector<QString> shown;
    const qimbar::app::ScopedErrorPresenter seam(
        [&shown](QWidget*, const QString&, const QString& text) { shown.push_back(text); });
    for (int n = 1; n <= 46; ++n) {
        f.box(n)->setText(QStringLiteral("old"));
    }
    f.selectPage(1);
    QLineEdit* metr = f.box(1);
    metr->clear();
    metr->setFocus();
    QGuiApplication::clipboard()->setText(pasted);
    QTest::keyClick(metr, Qt::Key_V, Qt::ControlModifier);
    const QString typed = metr->text();
    QVERIFY(!typed.isEmpty());

    QTest::mouseClick(f.button(1), Qt::LeftButton, {}, f.button(1)->rect().center());

    QCOMPARE(metr->text(), typed);  // the source is never written
    if (message.isEmpty()) {
        QVERIFY(shown.empty());
        QCOMPARE(f.box(2)->text(), fut);
        for (int n = 3; n <= 10; ++n) {
            QVERIFY(f.box(n)->text() != QStringLiteral("old"));
        }
    } else {
        QCOMPARE(shown, std::vector<QString>{message});
        for (int n = 2; n <= 10; ++n) {  // each failure here comes at the first target
            QCOMPARE(f.box(n)->text(), QStringLiteral("old"));
        }
    }
    for (int n = 11; n <= 46; ++n) {
        QCOMPARE(f.box(n)->text(), QStringLiteral("old"));
    }
    // Still running: the next press converts.
    metr->setText(QStringLiteral("2"));
    f.button(1)->click();
    QCOMPARE(f.box(2)->text(), QStringLiteral("6.562"));
}

QTEST_MAIN(Form1HostileTest)
#include "tst_form1_hostile.moc"
