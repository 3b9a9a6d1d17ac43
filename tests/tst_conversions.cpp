#include "platform/Conversions.h"
#include "script/NumberText.h"

#include <QTest>

#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstring>
#include <random>

class tst_Conversions : public QObject
{
    Q_OBJECT

private slots:
    void numberToText_data();
    void numberToText();
    void numberToTextRoundsLikeTheLibrary_data();
    void numberToTextRoundsLikeTheLibrary();
    void leadingNumber_data();
    void leadingNumber();
    void formatPattern_data();
    void formatPattern();
    void formatPatternOfTheValueIsThatOfItsText();
    void cleaningTwiceChangesNothing_data();
    void cleaningTwiceChangesNothing();
};

void tst_Conversions::numberToText_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");

    QTest::newRow("whole number") << 2.0 << "2";
    QTest::newRow("negative fraction") << -0.5 << "-0.5";
    QTest::newRow("smallest fixed form") << 0.0001 << "0.0001";
    QTest::newRow("largest small exponent form") << 0.00001 << "1E-05";
    QTest::newRow("1E+15 in exponent form") << 1e15 << "1E+15";
    QTest::newRow("largest fixed form") << 1e14 << "100000000000000";
    QTest::newRow("0.1 + 0.2 rounds to 15 digits") << 0.1 + 0.2 << "0.3";
    QTest::newRow("zero") << 0.0 << "0";
    QTest::newRow("negative zero") << -0.0 << "0";
    QTest::newRow("one third") << 1.0 / 3 << "0.333333333333333";
    QTest::newRow("two thirds rounds up") << 2.0 / 3 << "0.666666666666667";
    QTest::newRow("15th digit rounds") << 123456789012345.6 << "123456789012346";
    QTest::newRow("rounding carries into 1E+15") << 999999999999999.9 << "1E+15";
    QTest::newRow("fraction kept") << 12345678901234.5 << "12345678901234.5";
    QTest::newRow("nearly 2.00005") << 2.00005 << "2.00005";
    QTest::newRow("small fixed with digits") << 0.00012345 << "0.00012345";
    QTest::newRow("small exponent with digits") << 1.5e-5 << "1.5E-05";
    QTest::newRow("large exponent with sign") << -1.5e20 << "-1.5E+20";
    QTest::newRow("three-digit exponent") << 1e-100 << "1E-100";
    QTest::newRow("largest double") << DBL_MAX << "1.79769313486232E+308";
    QTest::newRow("smallest subnormal") << 5e-324 << "4.94065645841247E-324";
    QTest::newRow("hundred") << 100.0 << "100";
    QTest::newRow("just below 1E+15") << std::nextafter(1e15, 0.0) << "1E+15";
    QTest::newRow("just below 1E-04") << std::nextafter(1e-4, 0.0) << "0.0001";
    QTest::newRow("just below 1E-05") << std::nextafter(1e-5, 0.0) << "1E-05";
    QTest::newRow("exact tie rounds to even") << 123456789012345.5 << "123456789012346";
    QTest::newRow("exact tie stays even") << 123456789012344.5 << "123456789012344";
    QTest::newRow("plot step") << -10 + 3 * (20.0 / 10250) << "-9.99414634146341";
}

void tst_Conversions::numberToText()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(QString::fromStdString(script::numberToText(value)), text);
    QCOMPARE(platform::NumberToText(value), text);
}

// Every text reads back as the value the library's own 15-digit rounding gives, carries
// no trailing zero and uses exponent form exactly outside 1E-04 .. 1E+15.
void tst_Conversions::numberToTextRoundsLikeTheLibrary_data()
{
    QTest::addColumn<int>("decade");
    for (int decade = -12; decade <= 20; decade += 2)
        QTest::newRow(qPrintable(QStringLiteral("around 1E%1").arg(decade))) << decade;
}

void tst_Conversions::numberToTextRoundsLikeTheLibrary()
{
    QFETCH(int, decade);
    std::mt19937_64 random(static_cast<unsigned>(decade + 100));
    std::uniform_real_distribution<double> mantissa(-10, 10);
    for (int i = 0; i < 20000; ++i) {
        const double v = mantissa(random) * std::pow(10.0, decade);
        const std::string text = script::numberToText(v);
        char reference[40];
        const auto end = std::to_chars(reference, reference + sizeof reference, v, std::chars_format::scientific, 14).ptr;
        double expected = 0, seen = 0;
        std::from_chars(reference, end, expected);
        std::from_chars(text.data(), text.data() + text.size(), seen);
        QVERIFY2(seen == expected, (text + " for " + std::string(reference, end)).c_str());
        QCOMPARE(script::leadingNumber(text), seen); // the engine's own reading of the text
        const auto e = text.find('E');
        const std::string mantissaText = text.substr(0, e);
        if (mantissaText.find('.') != std::string::npos)
            QVERIFY2(mantissaText.back() != '0', text.c_str());
        const double magnitude = std::fabs(expected);
        QCOMPARE(e != std::string::npos, magnitude < 1e-4 || magnitude >= 1e15);
    }
}

void tst_Conversions::leadingNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");

    QTest::newRow("digits") << "12" << 12.0;
    QTest::newRow("blanks around") << "  12 " << 12.0;
    QTest::newRow("blank inside") << "1 2" << 12.0;
    QTest::newRow("tab before sign") << "\t-3.5" << -3.5;
    QTest::newRow("line feed inside") << "1\n0" << 10.0;
    QTest::newRow("CR LF inside") << "1\r\n5" << 15.0;
    QTest::newRow("blanks in exponent") << "1 e 2" << 100.0;
    QTest::newRow("plus sign") << "+7" << 7.0;
    QTest::newRow("sign then blank") << "- 5" << -5.0;
    QTest::newRow("sign alone") << "-" << 0.0;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("letters") << "abc" << 0.0;
    QTest::newRow("number then letters") << "12abc" << 12.0;
    QTest::newRow("second point ends it") << "1.2.3" << 1.2;
    QTest::newRow("exponent") << "1e3" << 1000.0;
    QTest::newRow("negative exponent") << "1E-2" << 0.01;
    QTest::newRow("E without digits") << "1e" << 1.0;
    QTest::newRow("E and sign without digits") << "1e+" << 1.0;
    QTest::newRow("E then letter") << "2e+x" << 2.0;
    QTest::newRow("leading point") << ".5" << 0.5;
    QTest::newRow("trailing point") << "5." << 5.0;
    QTest::newRow("point alone") << "." << 0.0;
    QTest::newRow("two signs") << "+-5" << 0.0;
    QTest::newRow("comma ends it") << "1,5" << 1.0;
    QTest::newRow("hex is not read") << "0x10" << 0.0;
    QTest::newRow("non-ASCII ends it") << QString::fromUtf8("12\xc3\xa9") << 12.0;
    QTest::newRow("too large clamps") << "1e400" << DBL_MAX;
    QTest::newRow("too large negative clamps") << "-1e400" << -DBL_MAX;
    QTest::newRow("too small is 0") << "1e-400" << 0.0;
    QTest::newRow("many digits") << QString(400, '9') << DBL_MAX;
    QTest::newRow("15-digit text") << "-9.99414634146341" << -9.99414634146341;
}

void tst_Conversions::leadingNumber()
{
    QFETCH(QString, text);
    QFETCH(double, value);
    const double seen = platform::LeadingNumber(text);
    QVERIFY(std::isfinite(seen));
    QCOMPARE(seen, value);
}

void tst_Conversions::formatPattern_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QString>("text");

    QTest::newRow("half away on the 15-digit form") << 2.00005 << 4 << "2.0001";
    QTest::newRow("one third") << 1.0 / 3 << 4 << "0.3333";
    QTest::newRow("minus two thirds") << -2.0 / 3 << 4 << "-0.6667";
    QTest::newRow("whole number padded") << 12.0 << 4 << "12.0000";
    QTest::newRow("more digits before the point") << 123456.789 << 4 << "123456.7890";
    QTest::newRow("very large in full") << 1e20 << 4 << "100000000000000000000.0000";
    QTest::newRow("largest negative in full") << -DBL_MAX << 4 << "-179769313486232" + QString(294, '0') + ".0000";
    QTest::newRow("15 digits then zeros") << 1234567890123456789.0 << 2 << "1234567890123460000.00";
    QTest::newRow("zero") << 0.0 << 4 << "0.0000";
    QTest::newRow("negative zero") << -0.0 << 4 << "0.0000";
    QTest::newRow("negative rounding to zero") << -0.00001 << 4 << "-0.0000";
    QTest::newRow("tiny positive") << 1e-20 << 4 << "0.0000";
    QTest::newRow("rounds up to the first decimal") << 0.00005 << 4 << "0.0001";
    QTest::newRow("carry through nines") << 9.99995 << 4 << "10.0000";
    QTest::newRow("carry to a new digit") << 0.99995 << 4 << "1.0000";
    QTest::newRow("one decimal up") << 0.05 << 1 << "0.1";
    QTest::newRow("one decimal down") << 0.04 << 1 << "0.0";
    QTest::newRow("negative half away") << -1.25 << 1 << "-1.3";
    QTest::newRow("two decimals") << 123.456 << 2 << "123.46";
    QTest::newRow("three decimals") << 2.0005 << 3 << "2.001";
    QTest::newRow("no decimals keeps the point") << 2.5 << 0 << "3.";
    QTest::newRow("exponent-form value") << 1e15 << 1 << "1000000000000000.0";
}

void tst_Conversions::formatPattern()
{
    QFETCH(double, value);
    QFETCH(int, decimals);
    QFETCH(QString, text);
    QCOMPARE(platform::FormatPattern(value, decimals), text);
}

// The table shows a number through its text read back; the value itself shows the same,
// since the text keeps the 15-digit form the pattern rounds. Over every magnitude.
void tst_Conversions::formatPatternOfTheValueIsThatOfItsText()
{
    std::mt19937_64 random(7);
    for (int i = 0; i < 100000; ++i) {
        const std::uint64_t bits = random();
        double v = 0;
        std::memcpy(&v, &bits, sizeof v);
        if (i % 2)
            v = std::ldexp(static_cast<double>(bits >> 11), -53 + static_cast<int>(bits % 80) - 30);
        if (!std::isfinite(v))
            continue;
        const double read = script::leadingNumber(script::numberToText(v));
        for (int places = 1; places <= 4; ++places) {
            if (platform::FormatPattern(v, places) != platform::FormatPattern(read, places))
                QFAIL(qPrintable(QStringLiteral("%1 with %2 places").arg(v, 0, 'g', 17).arg(places)));
        }
    }
}

// Whatever a user typed, a field that is left again shows what it showed: cleaning its own
// output, or the number form the graph fields write after it, changes nothing. Outside the
// number form only digits, one point and a leading minus (kind 1) remain.
void tst_Conversions::cleaningTwiceChangesNothing_data()
{
    QTest::addColumn<short>("kind");
    QTest::addColumn<bool>("typed");  // typed texts, or the texts of numbers
    QTest::newRow("signed, typed") << short(1) << true;
    QTest::newRow("unsigned, typed") << short(2) << true;
    QTest::newRow("signed, numbers") << short(1) << false;
    QTest::newRow("unsigned, numbers") << short(2) << false;
}

void tst_Conversions::cleaningTwiceChangesNothing()
{
    QFETCH(short, kind);
    QFETCH(bool, typed);
    static const char alphabet[] = "0123456789012345.-+eE  x,\t";
    std::mt19937_64 random(static_cast<unsigned>(kind * 2 + typed));
    for (int i = 0; i < 50000; ++i) {
        QString text;
        if (typed) {
            const int length = static_cast<int>(random() % 25);
            for (int k = 0; k < length; ++k)
                text += QLatin1Char(alphabet[random() % (sizeof alphabet - 1)]);
        } else {
            const std::uint64_t bits = random();
            double v = std::ldexp(static_cast<double>(bits >> 11), -53 + static_cast<int>(bits % 120) - 60);
            text = platform::NumberToText(kind == 2 || bits % 2 ? v : -v);
        }
        const QString cleaned = platform::CleanNumber(text, kind);
        const QString shown = cleaned.isEmpty() ? cleaned : platform::NumberToText(platform::LeadingNumber(cleaned));
        const QByteArray why = (text + QStringLiteral(" cleaned to ") + cleaned).toUtf8();
        QVERIFY2(platform::CleanNumber(cleaned, kind) == cleaned, why.constData());
        if (kind == 1)
            QVERIFY2(platform::CleanNumber(shown, kind) == shown, why.constData());
        if (!typed && !text.startsWith(QLatin1Char('-')))
            QVERIFY2(cleaned == text, why.constData());
        if (cleaned != shown) {
            const qsizetype minus = cleaned.lastIndexOf(QLatin1Char('-'));
            QVERIFY2(minus <= 0 && (kind == 1 || minus < 0), why.constData());
            QVERIFY2(cleaned.count(QLatin1Char('.')) <= 1, why.constData());
            for (const QChar c : cleaned)
                QVERIFY2(c.isDigit() || c == QLatin1Char('.') || c == QLatin1Char('-'), why.constData());
        }
    }
}

QTEST_APPLESS_MAIN(tst_Conversions)
#include "tst_conversions.moc"
