#include "platform/run_time_error.h"

#include <QtTest>

using qimbar::platform::ErrorKind;
using qimbar::platform::RunTimeError;

Q_DECLARE_METATYPE(ErrorKind)

class RunTimeErrorTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void message_data();
    void message();
    void boxErrorKeepsTheFailedAccess();
};

void RunTimeErrorTest::message_data() {
    QTest::addColumn<ErrorKind>("kind");
    QTest::addColumn<QString>("text");
    QTest::newRow("not a number") << ErrorKind::NotANumber << "Kiritilgan qiymat son emas.";
    QTest::newRow("overflow") << ErrorKind::Overflow << "Natija juda katta.";
    QTest::newRow("division by zero") << ErrorKind::DivisionByZero << "Nolga bo'lish.";
    QTest::newRow("invalid operation") << ErrorKind::InvalidOperation << "Noto'g'ri hisob amali.";
    QTest::newRow("box not read") << ErrorKind::BoxNotRead << "Maydon matnini o'qib bo'lmadi.";
    QTest::newRow("box not written") << ErrorKind::BoxNotWritten << "Maydonga yozib bo'lmadi.";
}

void RunTimeErrorTest::message() {
    QFETCH(ErrorKind, kind);
    QFETCH(QString, text);
    const RunTimeError error(kind);
    QCOMPARE(QString::fromUtf8(error.what()), text);
    QCOMPARE(QString::fromUtf8(error.message().data(), qsizetype(error.message().size())), text);
    QCOMPARE(error.kind(), kind);
}

void RunTimeErrorTest::boxErrorKeepsTheFailedAccess() {
    const RunTimeError error(ErrorKind::BoxNotWritten, qimbar::platform::kControlGone, 33);
    QCOMPARE(error.boxNumber(), 33);
    QVERIFY(error.status().failed());
    QCOMPARE(error.status().code, qimbar::platform::kControlGone.code);
}

QTEST_APPLESS_MAIN(RunTimeErrorTest)
#include "tst_run_time_error.moc"
