#include "platform/number_text.h"
#include "platform/run_time_error.h"

#include <QRandomGenerator>
#include <QtTest>

#include <bit>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <limits>

using qimbar::platform::formatNumber;
using qimbar::platform::ParseFailure;
using qimbar::platform::parseNumber;

Q_DECLARE_METATYPE(ParseFailure)

namespace {

std::string utf8(const QByteArray& bytes) {
    return {bytes.constData(), std::size_t(bytes.size())};
}

}  // namespace

class NumberTextTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void theLocaleWritesADecimalComma() const;
    void accepted_data();
    void accepted();
    void refused_data();
    void refused();
    void formatted_data();
    void formatted();
    void nonFiniteHasNoText();
    void formattedTextReadsBack();
    void megabyteOfDigits();

    // NOLINTNEXTLINE(readability-redundant-access-specifiers): moc needs the slots apart
private:
    bool commaLocale_ = false;
};

void NumberTextTest::initTestCase() {
    // Under Qt the environment's locale reaches the C library: run everything
    // in one with a decimal comma, where strtod and printf would go wrong.
    for (const char* name : {"ru_RU.UTF-8", "de_DE.UTF-8", "fr_FR.UTF-8"}) {
        if (std::setlocale(LC_ALL, name) != nullptr) {
            commaLocale_ = std::string_view(std::localeconv()->decimal_point) == ",";
            if (commaLocale_) {
                break;
            }
        }
    }
}

void NumberTextTest::cleanupTestCase() {
    std::setlocale(LC_ALL, "C");
}

void NumberTextTest::theLocaleWritesADecimalComma() const {
    if (!commaLocale_) {
        QSKIP("no locale with a decimal comma is installed (./check installs ru_RU.UTF-8)");
    }
    std::array<char, 16> buffer{};
    std::snprintf(buffer.data(), buffer.size(), "%g", 1.5);
    QCOMPARE(std::string_view(buffer.data()), std::string_view("1,5"));
}

void NumberTextTest::accepted_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<double>("value");

    QTest::newRow("integer") << QByteArray("42") << 42.0;
    QTest::newRow("zero") << QByteArray("0") << 0.0;
    QTest::newRow("decimal point") << QByteArray("1.5") << 1.5;
    QTest::newRow("decimal comma") << QByteArray("1,5") << 1.5;
    QTest::newRow("comma then three digits") << QByteArray("1,000") << 1.0;
    QTest::newRow("mark first") << QByteArray(".5") << 0.5;
    QTest::newRow("comma first") << QByteArray(",25") << 0.25;
    QTest::newRow("mark last") << QByteArray("5.") << 5.0;
    QTest::newRow("plus") << QByteArray("+2") << 2.0;
    QTest::newRow("minus") << QByteArray("-2.25") << -2.25;
    QTest::newRow("minus sign U+2212") << QByteArray("\u22122,5") << -2.5;
    QTest::newRow("blanks around") << QByteArray(" \t 1.5\t  ") << 1.5;
    QTest::newRow("leading zeros") << QByteArray("007") << 7.0;
    QTest::newRow("exponent") << QByteArray("1e3") << 1000.0;
    QTest::newRow("capital exponent, plus") << QByteArray("1E+3") << 1000.0;
    QTest::newRow("negative exponent") << QByteArray("2.5e-3") << 0.0025;
    QTest::newRow("exponent with U+2212") << QByteArray("1e\u22123") << 0.001;
    QTest::newRow("all the parts") << QByteArray("+.5e-3") << 0.0005;
    QTest::newRow("groups of three, spaces") << QByteArray("1 000 000") << 1e6;
    QTest::newRow("groups, no-break space") << QByteArray("1\u00A0000") << 1000.0;
    QTest::newRow("groups, narrow no-break space")
        << QByteArray("12\u202F345\u202F678,25") << 12345678.25;
    QTest::newRow("groups with a fraction") << QByteArray("1 000,5") << 1000.5;
    QTest::newRow("negative groups") << QByteArray("-999 999") << -999999.0;
    QTest::newRow("nearest double") << QByteArray("0.1") << 0.1;
    QTest::newRow("tie to even") << QByteArray("9007199254740993") << 9007199254740992.0;
    QTest::newRow("largest double")
        << QByteArray("1.7976931348623157e308") << std::numeric_limits<double>::max();
    QTest::newRow("smallest normal")
        << QByteArray("2.2250738585072014E-308") << std::numeric_limits<double>::min();
    QTest::newRow("subnormal") << QByteArray("4.9e-324")
                               << std::numeric_limits<double>::denorm_min();
    QTest::newRow("below the subnormals") << QByteArray("1e-400") << 0.0;
    QTest::newRow("below, negative") << QByteArray("-1e-400") << -0.0;
    QTest::newRow("tiny with many digits") << QByteArray("0.000001e-399") << 0.0;
    QTest::newRow("zero with a huge exponent") << QByteArray("0e999999999999999999") << 0.0;
    QTest::newRow("negative zero") << QByteArray("-0") << -0.0;
}

void NumberTextTest::accepted() {
    QFETCH(QByteArray, text);
    QFETCH(double, value);
    const auto parsed = parseNumber(utf8(text));
    QVERIFY(std::holds_alternative<double>(parsed));
    QCOMPARE(std::bit_cast<quint64>(std::get<double>(parsed)), std::bit_cast<quint64>(value));
}

void NumberTextTest::refused_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<ParseFailure>("failure");
    const auto nan = ParseFailure::NotANumber;

    QTest::newRow("empty") << QByteArray() << nan;
    QTest::newRow("blanks only") << QByteArray(" \t ") << nan;
    QTest::newRow("letters") << QByteArray("abc") << nan;
    QTest::newRow("number then letters") << QByteArray("12abc") << nan;
    QTest::newRow("inf") << QByteArray("inf") << nan;
    QTest::newRow("infinity") << QByteArray("-Infinity") << nan;
    QTest::newRow("nan") << QByteArray("nan") << nan;
    QTest::newRow("hex") << QByteArray("0x10") << nan;
    QTest::newRow("two marks") << QByteArray("1,000.5") << nan;
    QTest::newRow("double mark") << QByteArray("1..5") << nan;
    QTest::newRow("three parts") << QByteArray("1.2.3") << nan;
    QTest::newRow("lone point") << QByteArray(".") << nan;
    QTest::newRow("lone comma") << QByteArray(",") << nan;
    QTest::newRow("lone plus") << QByteArray("+") << nan;
    QTest::newRow("lone minus") << QByteArray("-") << nan;
    QTest::newRow("sign and mark") << QByteArray("-.") << nan;
    QTest::newRow("two signs") << QByteArray("--5") << nan;
    QTest::newRow("sign after") << QByteArray("5-") << nan;
    QTest::newRow("blank after sign") << QByteArray("- 5") << nan;
    QTest::newRow("exponent only") << QByteArray("e5") << nan;
    QTest::newRow("no exponent digits") << QByteArray("1e") << nan;
    QTest::newRow("exponent sign only") << QByteArray("1e+") << nan;
    QTest::newRow("fractional exponent") << QByteArray("1e1.5") << nan;
    QTest::newRow("group of two") << QByteArray("1 00") << nan;
    QTest::newRow("group of four") << QByteArray("1 0000") << nan;
    QTest::newRow("first group of four") << QByteArray("1234 567") << nan;
    QTest::newRow("two blanks between groups") << QByteArray("1  000") << nan;
    QTest::newRow("group after the mark") << QByteArray("0,000 5") << nan;
    QTest::newRow("underscore") << QByteArray("1_000") << nan;
    QTest::newRow("apostrophe groups") << QByteArray("1'000") << nan;
    QTest::newRow("NUL inside") << QByteArray(
                                       "1\0"
                                       "2",
                                       3)
                                << nan;
    QTest::newRow("newline") << QByteArray("1\n") << nan;
    QTest::newRow("Arabic-Indic digits") << QByteArray("\u0661\u0662") << nan;
    QTest::newRow("full-width digits") << QByteArray("\uFF11\uFF12") << nan;
    QTest::newRow("zero-width space before") << QByteArray("\u200B12") << nan;
    QTest::newRow("right-to-left mark after") << QByteArray("12\u200F") << nan;
    QTest::newRow("no-break space around") << QByteArray("\u00A012") << nan;
    QTest::newRow("combining mark") << QByteArray("1\u03012") << nan;
    QTest::newRow("truncated UTF-8") << QByteArray("1\xE2\x88") << nan;
    QTest::newRow("overflow") << QByteArray("1e309") << ParseFailure::Overflow;
    QTest::newRow("negative overflow") << QByteArray("-1.8e308") << ParseFailure::Overflow;
    QTest::newRow("huge exponent")
        << QByteArray("1e99999999999999999999") << ParseFailure::Overflow;
}

void NumberTextTest::refused() {
    QFETCH(QByteArray, text);
    QFETCH(ParseFailure, failure);
    const auto parsed = parseNumber(utf8(text));
    QVERIFY(std::holds_alternative<ParseFailure>(parsed));
    QCOMPARE(std::get<ParseFailure>(parsed), failure);
}

void NumberTextTest::formatted_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");

    QTest::newRow("integer") << 100.0 << "100";
    QTest::newRow("fraction") << -2.5 << "-2.5";
    QTest::newRow("zero") << 0.0 << "0";
    QTest::newRow("negative zero") << -0.0 << "0";
    QTest::newRow("smallest fixed") << 0.0001 << "0.0001";
    QTest::newRow("first exponent below") << 0.00001 << "1E-05";
    QTest::newRow("two exponent digits") << 1.5e-5 << "1.5E-05";
    QTest::newRow("largest fixed") << 123456789012345.0 << "123456789012345";
    QTest::newRow("first exponent above") << 1e15 << "1E+15";
    QTest::newRow("sixteen digits") << 1234567890123456.0 << "1.23456789012346E+15";
    QTest::newRow("rounds up into exponent") << 999999999999999.9 << "1E+15";
    QTest::newRow("three exponent digits") << 7.47e307 << "7.47E+307";
    QTest::newRow("largest double, rounded down to read back")
        << std::numeric_limits<double>::max() << "1.79769313486231E+308";
    QTest::newRow("most negative double")
        << -std::numeric_limits<double>::max() << "-1.79769313486231E+308";
    QTest::newRow("largest that rounds down itself")
        << 1.79769313486231e308 << "1.79769313486231E+308";
    QTest::newRow("subnormal") << std::numeric_limits<double>::denorm_min()
                               << "4.94065645841247E-324";
    QTest::newRow("one step below 27.78") << 27.779999999999998 << "27.78";
    QTest::newRow("0.1 + 0.2") << 0.1 + 0.2 << "0.3";
    QTest::newRow("fifteen digits kept") << -0.019999999999999574 << "-0.0199999999999996";
    QTest::newRow("trailing zeros dropped") << 0.5 << "0.5";
}

void NumberTextTest::formatted() {
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(QString::fromStdString(formatNumber(value)), text);
}

void NumberTextTest::nonFiniteHasNoText() {
    using qimbar::platform::ErrorKind;
    using qimbar::platform::RunTimeError;
    const auto kindFor = [](double value) {
        try {
            (void)formatNumber(value);
        } catch (const RunTimeError& error) {
            return std::optional(error.kind());
        }
        return std::optional<ErrorKind>();
    };
    QCOMPARE(kindFor(std::numeric_limits<double>::infinity()), ErrorKind::Overflow);
    QCOMPARE(kindFor(-std::numeric_limits<double>::infinity()), ErrorKind::Overflow);
    QCOMPARE(kindFor(std::numeric_limits<double>::quiet_NaN()), ErrorKind::InvalidOperation);
}

void NumberTextTest::formattedTextReadsBack() {
    // Random finite doubles of every magnitude: the text parses, and what it
    // parses to formats to the same text.
    QRandomGenerator random(20261208);
    for (int i = 0; i < 200000; ++i) {
        const auto value = std::bit_cast<double>(random.generate64());
        if (!std::isfinite(value)) {
            continue;
        }
        const std::string text = formatNumber(value);
        const auto parsed = parseNumber(text);
        QVERIFY2(std::holds_alternative<double>(parsed), text.c_str());
        const double back = std::get<double>(parsed);
        QCOMPARE(formatNumber(back), text);
        if (value != 0.0 && std::isnormal(value)) {
            QVERIFY2(std::abs(back - value) <= std::abs(value) * 6e-15, text.c_str());
        }
    }
}

void NumberTextTest::megabyteOfDigits() {
    std::string digits(1 << 20, '9');
    const auto parsed = parseNumber(digits);
    QVERIFY(std::holds_alternative<ParseFailure>(parsed));  // 10^1048576 is beyond a double
    digits.insert(0, "0.");
    QCOMPARE(std::get<double>(parseNumber(digits)), 1.0);  // 0.999… rounds to 1
}

QTEST_APPLESS_MAIN(NumberTextTest)
#include "tst_number_text.moc"
