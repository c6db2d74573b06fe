#include "platform/fp_flags.h"

#include <QtTest>

#include <cfenv>
#include <cmath>
#include <limits>

using qimbar::platform::clearFloatingPointFlags;
using qimbar::platform::ErrorKind;
using qimbar::platform::floatingPointFault;

Q_DECLARE_METATYPE(ErrorKind)
Q_DECLARE_METATYPE(std::optional<ErrorKind>)

namespace {

// Operands behind volatile so the compiler cannot fold the operations away.
volatile double zero = 0.0;
volatile double one = 1.0;
volatile double big = 1e308;
volatile double tiny = 1e-308;

}  // namespace

class FpFlagsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void faultOfOperation_data();
    void faultOfOperation();
    void clearingForgetsEarlierFaults();
};

void FpFlagsTest::faultOfOperation_data() {
    QTest::addColumn<int>("operation");
    QTest::addColumn<std::optional<ErrorKind>>("fault");
    QTest::newRow("nothing") << 0 << std::optional<ErrorKind>();
    QTest::newRow("division by zero") << 1 << std::optional(ErrorKind::DivisionByZero);
    QTest::newRow("overflow") << 2 << std::optional(ErrorKind::Overflow);
    QTest::newRow("zero by zero") << 3 << std::optional(ErrorKind::InvalidOperation);
    QTest::newRow("infinity minus infinity") << 4 << std::optional(ErrorKind::InvalidOperation);
    QTest::newRow("underflow is no fault") << 5 << std::optional<ErrorKind>();
    QTest::newRow("inexact is no fault") << 6 << std::optional<ErrorKind>();
    QTest::newRow("invalid comes before overflow")
        << 7 << std::optional(ErrorKind::InvalidOperation);
}

void FpFlagsTest::faultOfOperation() {
    QFETCH(int, operation);
    QFETCH(std::optional<ErrorKind>, fault);
    const double inf = std::numeric_limits<double>::infinity();
    clearFloatingPointFlags();
    volatile double result = 0.0;
    switch (operation) {
        case 1:
            result = one / zero;
            break;
        case 2:
            result = big * big;
            break;
        case 3:
            result = zero / zero;
            break;
        case 4:
            result = (one * inf) - (one * inf);
            break;
        case 5:
            result = tiny * tiny;
            break;
        case 6:
            result = one / 3.0;
            break;
        case 7:
            result = big * big;
            result = zero / zero;
            break;
        default:
            break;
    }
    (void)result;
    QCOMPARE(floatingPointFault(), fault);
}

void FpFlagsTest::clearingForgetsEarlierFaults() {
    std::feraiseexcept(FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW);
    QVERIFY(floatingPointFault().has_value());
    clearFloatingPointFlags();
    QCOMPARE(floatingPointFault(), std::optional<ErrorKind>());
}

QTEST_APPLESS_MAIN(FpFlagsTest)
#include "tst_fp_flags.moc"
