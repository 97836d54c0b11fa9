// The planner's slot arithmetic without a view: slot counts and labels, which slot takes an
// appointment, the month's columns and colours, cell texts and the settings file.

#include "testregistry.h"

#include "appointments/plannersettings.h"
#include "appointments/plannerslots.h"
#include "data/inifile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace lumkar;

namespace {

using Kind = PlannerMonth::DayKind;

QList<int> columnsOf(const PlannerMonth &month, Kind kind)
{
    QList<int> out;
    for (int c = 1; c <= month.dayCount(); ++c)
        if (month.dayKind(c) == kind)
            out << c;
    return out;
}

} // namespace

class PlannerSlotsTest : public QObject {
    Q_OBJECT
private slots:
    void slotRows_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("end");
        QTest::addColumn<QString>("period");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("last");
        QTest::newRow("working day in halves") << "09:00"
                                               << "18:30"
                                               << "00:30" << 20 << "09:00"
                                               << "18:30";
        QTest::newRow("2.5 rounds down to 2") << "09:00"
                                              << "10:15"
                                              << "00:30" << 3 << "09:00"
                                              << "10:00";
        QTest::newRow("1.5 rounds up to 2") << "09:00"
                                            << "09:45"
                                            << "00:30" << 3 << "09:00"
                                            << "10:00";
        QTest::newRow("3.5 rounds up to 4") << "09:00"
                                            << "10:45"
                                            << "00:30" << 5 << "09:00"
                                            << "11:00";
        QTest::newRow("hourly") << "08:00"
                                << "17:00"
                                << "01:00" << 10 << "08:00"
                                << "17:00";
        QTest::newRow("quarter slots") << "09:00"
                                       << "10:00"
                                       << "00:15" << 5 << "09:00"
                                       << "10:00";
        QTest::newRow("start equals end") << "10:00"
                                          << "10:00"
                                          << "00:30" << 1 << "10:00"
                                          << "10:00";
        QTest::newRow("end before start runs past midnight") << "22:00"
                                                             << "20:00"
                                                             << "00:30" << 5 << "22:00"
                                                             << "00:00";
        QTest::newRow("odd slot length") << "09:00"
                                         << "10:00"
                                         << "00:45" << 2 << "09:00"
                                         << "09:45";
        QTest::newRow("typed single-digit hour") << "09:00"
                                                 << "12:00"
                                                 << "1:00" << 4 << "09:00"
                                                 << "12:00";
    }

    void slotRows()
    {
        QFETCH(QString, start);
        QFETCH(QString, end);
        QFETCH(QString, period);
        const SlotReading reading = readSlotPlan(start, end, period);
        QVERIFY2(reading.plan.has_value(), qPrintable(reading.message));
        const QStringList labels = reading.plan->labels();
        QTEST(int(labels.size()), "count");
        QTEST(labels.first(), "first");
        QTEST(labels.last(), "last");
    }

    void labelsWrapAtMidnight()
    {
        const SlotPlan plan { 23 * 60, 60, 30 };
        QCOMPARE(plan.labels(),
            (QStringList {
                QStringLiteral("23:00"), QStringLiteral("23:30"), QStringLiteral("00:00") }));
        QCOMPARE(slotLabel(24 * 60 + 75), QStringLiteral("01:15"));
    }

    void refusedBoxes_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("end");
        QTest::addColumn<QString>("period");
        QTest::addColumn<QString>("messageStart");
        const QString badStart = QStringLiteral("Mesai başlangıç saati");
        const QString badEnd = QStringLiteral("Mesai bitiş saati");
        const QString badPeriod = QStringLiteral("Randevu periodu");
        QTest::newRow("zero period") << "09:00"
                                     << "18:30"
                                     << "00:00" << badPeriod;
        QTest::newRow("period without digits") << "09:00"
                                               << "18:30"
                                               << "ab:cd" << badPeriod;
        QTest::newRow("empty period") << "09:00"
                                      << "18:30"
                                      << "" << badPeriod;
        QTest::newRow("period minutes above 59") << "09:00"
                                                 << "18:30"
                                                 << "00:75" << badPeriod;
        QTest::newRow("negative period") << "09:00"
                                         << "18:30"
                                         << "-1:00" << badPeriod;
        QTest::newRow("period over a day") << "09:00"
                                           << "18:30"
                                           << "25:00" << badPeriod;
        QTest::newRow("blank start") << "  :  "
                                     << "18:30"
                                     << "00:30" << badStart;
        QTest::newRow("hour above 23") << "24:00"
                                       << "18:30"
                                       << "00:30" << badStart;
        QTest::newRow("minutes above 59") << "09:60"
                                          << "18:30"
                                          << "00:30" << badStart;
        QTest::newRow("garbage end") << "09:00"
                                     << "x8:3y"
                                     << "00:30" << badEnd;
        QTest::newRow("short end") << "09:00"
                                   << "18"
                                   << "00:30" << badEnd;
    }

    void refusedBoxes()
    {
        QFETCH(QString, start);
        QFETCH(QString, end);
        QFETCH(QString, period);
        QFETCH(QString, messageStart);
        const SlotReading reading = readSlotPlan(start, end, period);
        QVERIFY(!reading.plan.has_value());
        QVERIFY2(reading.message.startsWith(messageStart), qPrintable(reading.message));
    }

    void placement_data()
    {
        QTest::addColumn<int>("period");
        QTest::addColumn<QTime>("time");
        QTest::addColumn<QStringList>("rows");
        const auto list = [](const char *text) {
            return QString::fromLatin1(text).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        };
        QTest::newRow("on a slot") << 30 << QTime(10, 0) << list("10:00");
        QTest::newRow("10:15 is half a period from both") << 30 << QTime(10, 15) << list("");
        QTest::newRow("10:20 goes to 10:30") << 30 << QTime(10, 20) << list("10:30");
        QTest::newRow("10:50 finds no slot of its hour") << 30 << QTime(10, 50) << list("");
        QTest::newRow("10:05 goes to 10:00") << 30 << QTime(10, 5) << list("10:00");
        QTest::newRow("hourly 10:20 goes to 10:00") << 60 << QTime(10, 20) << list("10:00");
        QTest::newRow("hourly 10:40 finds none") << 60 << QTime(10, 40) << list("");
        QTest::newRow("before the first slot") << 30 << QTime(7, 0) << list("");
        QTest::newRow("after the last slot") << 30 << QTime(19, 0) << list("");
        QTest::newRow("quarter slots 10:20 near 10:15") << 15 << QTime(10, 20) << list("10:15");
    }

    void placement()
    {
        QFETCH(int, period);
        QFETCH(QTime, time);
        const QStringList labels = SlotPlan { 9 * 60, 570, period }.labels();
        QStringList taken;
        for (int row : rowsTaking(labels, time, period))
            taken << labels.at(row);
        QTEST(taken, "rows");
    }

    void placementIgnoresTheHeadingRow()
    {
        const QStringList labels { QStringLiteral("Saat\\Gün"), QStringLiteral("10:00") };
        QCOMPARE(rowsTaking(labels, QTime(10, 0), 30), QVector<int> { 1 });
    }

    void monthColumns_data()
    {
        QTest::addColumn<QDate>("day");
        QTest::addColumn<int>("days");
        QTest::addColumn<int>("firstSaturday");
        QTest::addColumn<QList<int>>("saturdays");
        QTest::addColumn<QList<int>>("sundays");
        QTest::addColumn<QList<int>>("holidays");
        // October 2009 begins on a Thursday; 29 October is a Thursday.
        QTest::newRow("October 2009")
            << QDate(2009, 10, 7) << 31 << 3 << QList<int> { 3, 10, 17, 24, 31 }
            << QList<int> { 4, 11, 18, 25 } << QList<int> { 29 };
        QTest::newRow("leap February")
            << QDate(2024, 2, 10) << 29 << 3 << QList<int> { 3, 10, 17, 24 }
            << QList<int> { 4, 11, 18, 25 } << QList<int> {};
        QTest::newRow("plain February")
            << QDate(2023, 2, 1) << 28 << 4 << QList<int> { 4, 11, 18, 25 }
            << QList<int> { 5, 12, 19, 26 } << QList<int> {};
        QTest::newRow("begins on Saturday")
            << QDate(2025, 11, 20) << 30 << 1 << QList<int> { 1, 8, 15, 22, 29 }
            << QList<int> { 2, 9, 16, 23, 30 } << QList<int> {};
        QTest::newRow("begins on Sunday")
            << QDate(2025, 6, 1) << 30 << 7 << QList<int> { 7, 14, 21, 28 }
            << QList<int> { 1, 8, 15, 22, 29 } << QList<int> {};
        // 23 April 2023 is a Sunday: the holiday tint wins.
        QTest::newRow("April holiday on a Sunday")
            << QDate(2023, 4, 1) << 30 << 1 << QList<int> { 1, 8, 15, 22, 29 }
            << QList<int> { 2, 9, 16, 30 } << QList<int> { 23 };
        QTest::newRow("May holiday")
            << QDate(2025, 5, 19) << 31 << 3 << QList<int> { 3, 10, 17, 24, 31 }
            << QList<int> { 4, 11, 18, 25 } << QList<int> { 19 };
        // 30 August 2025 is a Saturday.
        QTest::newRow("August holiday on a Saturday")
            << QDate(2025, 8, 1) << 31 << 2 << QList<int> { 2, 9, 16, 23 }
            << QList<int> { 3, 10, 17, 24, 31 } << QList<int> { 30 };
        QTest::newRow("January 1st is not tinted")
            << QDate(2025, 1, 1) << 31 << 4 << QList<int> { 4, 11, 18, 25 }
            << QList<int> { 5, 12, 19, 26 } << QList<int> {};
    }

    void monthColumns()
    {
        QFETCH(QDate, day);
        const PlannerMonth month(day);
        QTEST(month.dayCount(), "days");
        QTEST(month.firstSaturdayColumn(), "firstSaturday");
        QTEST(columnsOf(month, Kind::Saturday), "saturdays");
        QTEST(columnsOf(month, Kind::Sunday), "sundays");
        QTEST(columnsOf(month, Kind::Holiday), "holidays");
        for (int c = 1; c <= month.dayCount(); ++c)
            QCOMPARE(
                month.weekdayName(c), PlannerMonth::weekdayName(QDate(day.year(), day.month(), c)));
    }

    void monthTexts()
    {
        const PlannerMonth october(QDate(2009, 10, 7));
        QCOMPARE(october.monthText(), QStringLiteral("10"));
        QCOMPARE(october.yearText(), QStringLiteral("2009"));
        QCOMPARE(october.title(), QStringLiteral("Ekim 2009"));
        QCOMPARE(october.weekdayName(1), QStringLiteral("Perşembe"));
        QCOMPARE(october.weekdayName(4), QStringLiteral("Pazar"));
        QCOMPARE(PlannerMonth(QDate(2025, 8, 5)).title(), QStringLiteral("Ağustos 2025"));
        QCOMPARE(PlannerMonth(QDate(2025, 3, 5)).monthText(), QStringLiteral("03"));
        QCOMPARE(PlannerMonth::monthName(2), QStringLiteral("Şubat "));
    }

    void cellColours()
    {
        const PlannerMonth october(QDate(2009, 10, 7));
        const QColor even(249, 255, 225), odd(223, 235, 255);
        const QColor sunday(255, 221, 187), saturday(255, 234, 213);
        QCOMPARE(plannerCellColour(2, 1, october), even); // the first slot row is even
        QCOMPARE(plannerCellColour(3, 1, october), odd);
        QCOMPARE(plannerCellColour(2, 3, october), saturday);
        QCOMPARE(plannerCellColour(3, 4, october), sunday);
        QCOMPARE(plannerCellColour(5, 29, october), saturday); // the holiday
        // Before any month is laid out only the rows alternate.
        const PlannerMonth none;
        QCOMPARE(none.firstSaturdayColumn(), 0);
        QCOMPARE(plannerCellColour(2, 3, none), even);
        QCOMPARE(plannerCellColour(3, 4, none), odd);
        QCOMPARE(plannerTextColour(2), QColor(0, 0, 255));
        QCOMPARE(plannerTextColour(1), QColor(Qt::black));
    }

    void segments_data()
    {
        QTest::addColumn<QString>("paket");
        QTest::addColumn<double>("amount");
        QTest::addColumn<bool>("owner");
        QTest::addColumn<bool>("booked");
        QTest::addColumn<QString>("text");
        QTest::newRow("everything") << "Bakım" << 150.0 << false << false
                                    << "-Kişi:Ayşe Yılmaz -Paket:Bakım -Tutarı:150TL ";
        QTest::newRow("with owner") << "Bakım" << 150.5 << true << false
                                    << "R.Kime:Ece Ak -Kişi:Ayşe Yılmaz -Paket:Bakım "
                                       "-Tutarı:150,5TL ";
        QTest::newRow("no package, no amount")
            << "" << 0.0 << false << false << "-Kişi:Ayşe Yılmaz ";
        QTest::newRow("just booked") << "Bakım" << 1250.25 << false << true
                                     << "-Kişi:Ayşe Yılmaz -Paket:Bakım -Tutar:1250,25 ";
        QTest::newRow("just booked without amount")
            << "Bakım" << 0.0 << false << true << "-Kişi:Ayşe Yılmaz -Paket:Bakım ";
    }

    void segments()
    {
        QFETCH(QString, paket);
        QFETCH(double, amount);
        QFETCH(bool, owner);
        QFETCH(bool, booked);
        const CellAppointment a { QStringLiteral("Ece Ak"), QStringLiteral("Ayşe"),
            QStringLiteral("Yılmaz"), paket, amount };
        QTEST(
            cellSegment(a, owner, booked ? SegmentKind::JustBooked : SegmentKind::Placed), "text");
    }

    void bookingDay()
    {
        QCOMPARE(bookingDayText(QStringLiteral("7")), QStringLiteral("07"));
        QCOMPARE(bookingDayText(QStringLiteral("9")), QStringLiteral("09"));
        QCOMPARE(bookingDayText(QStringLiteral("12")), QStringLiteral("12"));
    }

    void settingsFile_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("end");
        QTest::addColumn<QString>("period");
        QTest::addColumn<bool>("all");
        QTest::addColumn<bool>("both");
        QTest::addColumn<bool>("held");
        QTest::newRow("missing file") << QByteArray() << "09:00"
                                      << "18:30"
                                      << "00:30" << false << false << false;
        QTest::newRow("empty file") << QByteArray("") << "09:00"
                                    << "18:30"
                                    << "00:30" << false << false << false;
        QTest::newRow("garbage") << QByteArray("\x01\xff\xfe garbage\n=[[[\n===\n") << "09:00"
                                 << "18:30"
                                 << "00:30" << false << false << false;
        QTest::newRow("stored values") << QByteArray(
            "[AYARR]\r\nmesaibaslasaat=08:15\r\nmesaibitsaat=17:45\r\n"
            "randevuperiod=00:15\r\ntumkullanici=E\r\nbekleyenvegorus=H\r\n"
            "sadecegorus=E\r\n") << "08:15"
                                       << "17:45"
                                       << "00:15" << true << false << true;
        QTest::newRow("both mode boxes")
            << QByteArray("[AYARR]\nbekleyenvegorus=E\nsadecegorus=E\n") << "09:00"
            << "18:30"
            << "00:30" << false << true << true;
        QTest::newRow("midnight and zero period keep the first texts")
            << QByteArray("[AYARR]\nmesaibaslasaat=00:00\nmesaibitsaat=00:00\n"
                          "randevuperiod=00:00\n")
            << "09:00"
            << "18:30"
            << "00:30" << false << false << false;
        QTest::newRow("broken values keep the first texts") << QByteArray(
            "[AYARR]\nmesaibaslasaat=abc9\nmesaibitsaat=25:00\n"
            "randevuperiod=xx\ntumkullanici=e\n") << "09:00"
                                                            << "18:30"
                                                            << "00:30" << false << false << false;
        QTest::newRow("other section") << QByteArray("[BASKA]\nmesaibaslasaat=08:00\n") << "09:00"
                                       << "18:30"
                                       << "00:30" << false << false << false;
    }

    void settingsFile()
    {
        QFETCH(QByteArray, content);
        QTemporaryDir dir;
        const QString path = dir.filePath(PlannerSettings::fileName());
        if (!content.isNull()) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
        }
        IniFile ini(path);
        const PlannerSettings read = PlannerSettings::read(ini);
        QTEST(read.mesaibaslasaat, "start");
        QTEST(read.mesaibitsaat, "end");
        QTEST(read.randevuperiod, "period");
        QTEST(read.tumkullanici, "all");
        QTEST(read.bekleyenvegorus, "both");
        QTEST(read.sadecegorus, "held");
        QVERIFY(readSlotPlan(read.mesaibaslasaat, read.mesaibitsaat, read.randevuperiod)
                    .plan.has_value());
    }

    void settingsWriteAndReadBack()
    {
        QTemporaryDir dir;
        IniFile ini(dir.filePath(PlannerSettings::fileName()));
        PlannerSettings s;
        s.mesaibaslasaat = QStringLiteral("07:30");
        s.randevuperiod = QStringLiteral("01:15");
        s.bekleyenvegorus = true;
        QVERIFY(s.write(ini));
        QCOMPARE(
            ini.read(QStringLiteral("AYARR"), QStringLiteral("tumkullanici")), QStringLiteral("H"));
        QCOMPARE(ini.read(QStringLiteral("AYARR"), QStringLiteral("bekleyenvegorus")),
            QStringLiteral("E"));
        const PlannerSettings back = PlannerSettings::read(ini);
        QCOMPARE(back.mesaibaslasaat, QStringLiteral("07:30"));
        QCOMPARE(back.mesaibitsaat, QStringLiteral("18:30"));
        QCOMPARE(back.randevuperiod, QStringLiteral("01:15"));
        QVERIFY(back.bekleyenvegorus && !back.sadecegorus && !back.tumkullanici);
    }

    void settingsWriteFailureIsReported()
    {
        QTemporaryDir dir;
        // A folder where the file should be: the disk refuses the write.
        QVERIFY(QDir(dir.path()).mkdir(PlannerSettings::fileName()));
        IniFile ini(dir.filePath(PlannerSettings::fileName()));
        QVERIFY(!PlannerSettings().write(ini));
        QVERIFY(!ini.errorText().isEmpty());
    }
};

LUMKAR_TEST(PlannerSlotsTest)
#include "tst_plannerslots.moc"
