// Amounts as boxes, grids and totals show them: grouped with ".", two decimals after ",",
// and honest however large the number.

#include "testregistry.h"

#include "data/entryrules.h"
#include "data/formats.h"

#include <QTest>
#include <cmath>
#include <limits>

using namespace lumkar;

class AmountFormatTest : public QObject {
    Q_OBJECT
private slots:
    void amounts_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("shown"); // "#,###.00"
        QTest::addColumn<QString>("total"); // "#,##0.00"
        QTest::newRow("zero") << 0.0 << ",00" << "0,00";
        QTest::newRow("half") << 0.5 << ",50" << "0,50";
        QTest::newRow("grouped") << 1234.5 << "1.234,50" << "1.234,50";
        QTest::newRow("negative") << -1234567.891 << "-1.234.567,89" << "-1.234.567,89";
        QTest::newRow("rounded to cents") << 2.675 << "2,68" << "2,68";
        QTest::newRow("negative below a cent") << -0.001 << ",00" << "0,00";
        QTest::newRow("fifteen digits") << 123456789012345.0 << "123.456.789.012.345,00"
                                        << "123.456.789.012.345,00";
        QTest::newRow("just below the whole-cent limit")
            << 8.9999999999999984e16 << "89.999.999.999.999.984,00" << "89.999.999.999.999.984,00";
        QTest::newRow("9.2e16") << 9.2e16 << "92.000.000.000.000.000,00"
                                << "92.000.000.000.000.000,00";
        QTest::newRow("2^63 cents") << 9.2233720368547758e16 << "92.233.720.368.547.760,00"
                                    << "92.233.720.368.547.760,00";
        QTest::newRow("1e17, negative") << -1e17 << "-100.000.000.000.000.000,00"
                                        << "-100.000.000.000.000.000,00";
        QTest::newRow("1e20") << 1e20 << "100.000.000.000.000.000.000,00"
                              << "100.000.000.000.000.000.000,00";
    }
    void amounts()
    {
        QFETCH(double, value);
        QFETCH(QString, shown);
        QFETCH(QString, total);
        QCOMPARE(formats::amount(value), shown);
        QCOMPARE(formats::amountTotal(value), total);
        QCOMPARE(formats::byName(value, QStringLiteral("#,###.00")), shown);
        // What a box shows reads back as the amount.
        const NumberReading reading = SayiyaCevir(shown);
        QVERIFY(reading.ok);
        const double allowed = std::max(0.005 + 1e-9, std::fabs(value) * 1e-15);
        QVERIFY(std::fabs(reading.value - value) <= allowed);
    }

    void notANumberIsNotShownAsOne()
    {
        QCOMPARE(formats::amount(std::numeric_limits<double>::infinity()), QStringLiteral("inf"));
        QCOMPARE(formats::amountTotal(-std::numeric_limits<double>::infinity()),
                 QStringLiteral("-inf"));
        QCOMPARE(formats::amount(std::numeric_limits<double>::quiet_NaN()), QStringLiteral("nan"));
    }
};

LUMKAR_TEST(AmountFormatTest)
#include "tst_formats.moc"
