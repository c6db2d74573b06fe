// Every one of the 36 buttons pressed over and over with a fresh value each
// time: every result right, and the memory flat. QIMBAR_SOAK_PRESSES sets the
// presses per button (3000 unless told; valgrind runs take fewer). Under
// AddressSanitizer freed blocks sit in quarantine, so resident memory grows by
// design there: the bound is checked in plain builds and LeakSanitizer covers
// leaks in sanitized ones.
#include "app/error_display.h"
#include "convert/pages.h"
#include "tests/app/form_fixture.h"

#include <QtTest>

#include <fstream>
#include <unistd.h>

using qimbar::testing::FormFixture;

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kMemoryIsMeaningful = false;
constexpr int kDefaultPresses = 300;
#else
constexpr bool kMemoryIsMeaningful = true;
constexpr int kDefaultPresses = 3000;
#endif

long residentBytes() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0;
    long resident = 0;
    statm >> pages >> resident;
    return resident * sysconf(_SC_PAGESIZE);
}

// The expected text, by Qt's own number formatting rather than the program's.
QString expectedText(double value, const qimbar::convert::ConversionRule& rule) {
    volatile double result = value;
    if (rule.multiplier != 1.0) {
        result = result * rule.multiplier;
    }
    if (rule.offset != 0.0) {
        result = result + rule.offset;
    }
    const QString text = QString::number(result, 'G', 15);
    return text == QStringLiteral("-0") ? QStringLiteral("0") : text;
}

}  // namespace

class Form1SoakTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void everyButtonAgainAndAgain();
};

void Form1SoakTest::everyButtonAgainAndAgain() {
    const int presses = qEnvironmentVariableIsSet("QIMBAR_SOAK_PRESSES")
                            ? qEnvironmentVariableIntValue("QIMBAR_SOAK_PRESSES")
                            : kDefaultPresses;
    QVERIFY(presses > 0);
    FormFixture f;
    int errors = 0;
    const qimbar::app::ScopedErrorPresenter seam(
        [&errors](QWidget*, const QString&, const QString&) { ++errors; });

    long afterFirstHundred = 0;
    int total = 0;
    for (int round = 0; round < presses; ++round) {
        for (const auto& page : qimbar::convert::pages) {
            f.tabs().setCurrentPage(page.number);
            QCoreApplication::processEvents();  // as between a person's steps
            for (const auto& source : page.rows) {
                // A fresh value every time, with a decimal comma every other time.
                const int whole = (round * 37 + source.box * 11) % 100000 - 50000;
                const QString fraction = QString::number((round + source.box) % 1000);
                const QString text =
                    QString::number(whole) +
                    ((round % 2) != 0 ? QStringLiteral(",") : QStringLiteral(".")) + fraction;
                f.box(source.box)->setText(text);
                f.button(source.box)->click();
                ++total;

                const double value =
                    QString(text).replace(QLatin1Char(','), QLatin1Char('.')).toDouble();
                for (const auto& entry : page.table.targetsOf(source.row)) {
                    const QString shown = f.box(page.row(entry.target).box)->text();
                    if (shown != expectedText(value, entry.rule)) {
                        QFAIL(qPrintable(
                            QStringLiteral("%1 %2 -> %3: %4, expected %5")
                                .arg(text)
                                .arg(QString::fromUtf8(source.caption.data()))
                                .arg(QString::fromUtf8(page.row(entry.target).caption.data()))
                                .arg(shown)
                                .arg(expectedText(value, entry.rule))));
                    }
                }
                if (total == 100) {
                    afterFirstHundred = residentBytes();
                }
            }
        }
    }
    QCOMPARE(errors, 0);
    QCOMPARE(total, presses * 36);
    const long growth = residentBytes() - afterFirstHundred;
    qInfo("%d presses; resident memory grew by %ld KiB after the first hundred", total,
          growth / 1024);
    if (kMemoryIsMeaningful && presses >= 100) {
        QVERIFY2(growth <= 1024L * 1024L, qPrintable(QString::number(growth)));
    }
}

QTEST_MAIN(Form1SoakTest)
#include "tst_form1_soak.moc"
