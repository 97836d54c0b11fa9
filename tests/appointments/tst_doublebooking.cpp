// Double bookings: the overlap rule at a slot's edges and across midnight, the appointments a
// save meets as they are stored, the question before a save, and the planner's colour.

#include "fixture.h"
#include "statementcounter.h"
#include "testregistry.h"

#include "appointments/aylik.h"
#include "appointments/doublebooking.h"
#include "appointments/entrypanel.h"
#include "kit/maskedit.h"
#include "shell/anamenu.h"

#include <QFile>
#include <QLineEdit>
#include <QTest>

using namespace lumkar;
using namespace lumkar::test;

namespace {

const QDate kDay(2025, 3, 10);

// "owner dd.MM.yyyy HH:mm"
BookedAppointment booked(const QString &text)
{
    const QStringList part = text.split(QLatin1Char(' '));
    BookedAppointment a;
    a.owner = part[0];
    a.day = QDate::fromString(part[1], QStringLiteral("dd.MM.yyyy"));
    a.time = QTime::fromString(part[2], QStringLiteral("HH:mm"));
    return a;
}

qlonglong add(App &app, const QString &adi, const QString &when, const QVariant &visit = {},
              const QVariant &cancel = {})
{
    const BookedAppointment a = booked(when);
    AppointmentRow row;
    row.owner = a.owner;
    row.ownerName = a.owner == QLatin1String("lumkar") ? QStringLiteral("Lumkar Yönetici")
                                                       : QStringLiteral("Ece Ak");
    row.adi = adi;
    row.day = a.day;
    row.time = a.time;
    row.gorusmekodu = visit;
    row.iptalkodu = cancel;
    return app.addAppointment(row);
}

void writePeriod(App &app, const QString &period)
{
    QFile file(app.session().filePath(QStringLiteral("ayarrand.ayr")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QStringLiteral("[AYARR]\r\nrandevuperiod=%1\r\n").arg(period).toUtf8());
}

} // namespace

class DoubleBookingTest : public QObject {
    Q_OBJECT
private slots:
    void overlapMarks_data()
    {
        QTest::addColumn<QStringList>("appointments");
        QTest::addColumn<int>("slot");
        QTest::addColumn<QString>("marks");
        const auto row = [](const char *name, const QStringList &list, int slot,
                            const char *marks) {
            QTest::newRow(name) << list << slot << QString::fromLatin1(marks);
        };
        row("same time", {"ali 10.03.2025 10:00", "ali 10.03.2025 10:00"}, 30, "11");
        row("last minute of the slot", {"ali 10.03.2025 10:00", "ali 10.03.2025 10:29"}, 30, "11");
        row("touching at the slot's end", {"ali 10.03.2025 10:00", "ali 10.03.2025 10:30"}, 30,
            "00");
        row("touching, later one first", {"ali 10.03.2025 10:30", "ali 10.03.2025 10:00"}, 30,
            "00");
        row("an hour's slot", {"ali 10.03.2025 10:00", "ali 10.03.2025 10:45"}, 60, "11");
        row("across midnight", {"ali 10.03.2025 23:45", "ali 11.03.2025 00:14"}, 30, "11");
        row("across midnight, touching", {"ali 10.03.2025 23:45", "ali 11.03.2025 00:15"}, 30,
            "00");
        row("across the year's end", {"ali 01.01.2025 00:10", "ali 31.12.2024 23:50"}, 30, "11");
        row("a whole day's slot", {"ali 10.03.2025 00:00", "ali 10.03.2025 23:59"}, 1440, "11");
        row("a day apart, whole day's slot", {"ali 10.03.2025 10:00", "ali 11.03.2025 10:00"},
            1440, "00");
        row("another user", {"ali 10.03.2025 10:00", "ece 10.03.2025 10:00"}, 30, "00");
        row("a chain out of order",
            {"ali 10.03.2025 10:40", "ece 10.03.2025 10:20", "ali 10.03.2025 10:00",
             "ali 10.03.2025 10:20"},
            30, "1011");
    }
    void overlapMarks()
    {
        QFETCH(QStringList, appointments);
        QFETCH(int, slot);
        QVector<BookedAppointment> list;
        for (const QString &text : appointments)
            list << booked(text);
        QString marks;
        for (bool mark : lumkar::overlapMarks(list, slot))
            marks += mark ? QLatin1Char('1') : QLatin1Char('0');
        QTEST(marks, "marks");
    }

    void storedOverlaps_data()
    {
        QTest::addColumn<QString>("when");
        QTest::addColumn<int>("slot");
        QTest::addColumn<QString>("itself");
        QTest::addColumn<QStringList>("named");
        QTest::newRow("between two") << "lumkar 10.03.2025 10:15" << 30 << ""
                                     << QStringList{"Ada", "Bora"};
        QTest::newRow("touching the earlier one's end")
            << "lumkar 10.03.2025 10:30" << 30 << "" << QStringList{"Bora"};
        QTest::newRow("held and cancelled never count")
            << "lumkar 10.03.2025 10:15" << 10 << "" << QStringList{};
        QTest::newRow("only the same user's") << "ece 10.03.2025 10:00" << 30 << ""
                                              << QStringList{"Ece"};
        QTest::newRow("a change does not meet itself")
            << "lumkar 10.03.2025 10:00" << 30 << "Ada" << QStringList{};
        QTest::newRow("a change moved onto another")
            << "lumkar 10.03.2025 10:40" << 30 << "Ada" << QStringList{"Bora"};
        QTest::newRow("across midnight, forwards")
            << "lumkar 11.03.2025 00:05" << 30 << "" << QStringList{"Fulya", "Hale"};
        QTest::newRow("across midnight, backwards")
            << "lumkar 10.03.2025 00:10" << 30 << "" << QStringList{"Gizem"};
        QTest::newRow("a two-hour slot") << "lumkar 10.03.2025 12:00" << 120 << ""
                                         << QStringList{"Bora"};
    }
    void storedOverlaps()
    {
        QFETCH(QString, when);
        QFETCH(int, slot);
        QFETCH(QString, itself);
        App app;
        QHash<QString, qlonglong> rid;
        rid[QStringLiteral("Ada")] = add(app, QStringLiteral("Ada"), "lumkar 10.03.2025 10:00");
        add(app, QStringLiteral("Bora"), "lumkar 10.03.2025 10:30");
        add(app, QStringLiteral("Cem"), "lumkar 10.03.2025 10:15", 999999);
        add(app, QStringLiteral("Deniz"), "lumkar 10.03.2025 10:15", {}, 999999);
        add(app, QStringLiteral("Ece"), "ece 10.03.2025 10:15");
        add(app, QStringLiteral("Fulya"), "lumkar 10.03.2025 23:50");
        add(app, QStringLiteral("Gizem"), "lumkar 09.03.2025 23:45");
        add(app, QStringLiteral("Hale"), "lumkar 11.03.2025 00:10");
        const BookedAppointment at = booked(when);
        const StatementCounter counter(app.db());
        const OverlapReading reading =
            lumkar::storedOverlaps(app.db(), at.owner, at.day, at.time, slot, rid.value(itself));
        QVERIFY2(reading.error.isEmpty(), qPrintable(reading.error));
        QStringList named;
        for (const BookedAppointment &other : reading.others)
            named << other.adi;
        QTEST(named, "named");
        // One read, through the index of days.
        const QVector<StatementCounter::Run> reads = counter.runsWith(QStringLiteral("randevu"));
        QCOMPARE(reads.size(), 1);
        QCOMPARE(reads[0].fullScanSteps, 0);
    }

    // The entry form asks before a save that overlaps, with the slot length of the planner's
    // settings file; "Hayır" writes nothing and keeps the boxes.
    void saveAsksBeforeADoubleBooking_data()
    {
        QTest::addColumn<QString>("period"); // the settings file's slot length, "" for none
        QTest::addColumn<QString>("time");
        QTest::addColumn<bool>("change"); // Ada's appointment changed, not a new one
        QTest::addColumn<int>("answer"); // -1: no question
        QTest::addColumn<int>("stored");
        QTest::newRow("default slot, far enough") << "" << "10:40" << false << -1 << 2;
        QTest::newRow("an hour's slot, no") << "01:00" << "10:40" << false << int(Answer::No)
                                            << 1;
        QTest::newRow("an hour's slot, yes") << "01:00" << "10:40" << false << int(Answer::Yes)
                                             << 2;
        QTest::newRow("a change of itself") << "" << "10:10" << true << -1 << 1;
    }
    void saveAsksBeforeADoubleBooking()
    {
        QFETCH(QString, period);
        QFETCH(QString, time);
        QFETCH(bool, change);
        QFETCH(int, answer);
        App app;
        app.exec(QStringLiteral("INSERT INTO siciltablo (sicil_kodu, adi, soyadi) "
                                "VALUES ('1', 'Ada', 'Yılmaz')"));
        const qlonglong ada = add(app, QStringLiteral("Ada"), "lumkar 10.03.2025 10:00");
        if (!period.isEmpty())
            writePeriod(app, period);
        QVERIFY(app.login(QStringLiteral("lumkar")));
        EntryForm *entry = app.forms().entryForm;
        entry->setEntryPerson({QStringLiteral("1"), QStringLiteral("Ada"),
                               QStringLiteral("Yılmaz"), {}, {}, {}, {}});
        if (change)
            entry->randevunoEdit->setText(QString::number(ada));
        entry->setEntryDayAndTime(QStringLiteral("10.03.2025"), time);
        if (answer >= 0)
            app.dialogs.expectQuestion(Answer(answer));
        entry->save();
        QVERIFY(app.dialogs.allConsumed());
        QCOMPARE(app.dialogs.shown().size(), answer >= 0 ? 1 : 0);
        if (answer >= 0)
            QCOMPARE(app.dialogs.lastText(),
                     QStringLiteral("Lumkar Yönetici kullanıcısının bu saatle çakışan bekleyen "
                                    "bir randevusu var:\n10.03.2025 10:00 Ada Yılmaz\n"
                                    "Randevu yine de kaydedilsin mi?"));
        QTEST(app.scalar(QStringLiteral("SELECT count(*) FROM randevu")).toInt(), "stored");
        // Refused, the boxes keep what was typed; saved, they are emptied.
        QCOMPARE(entry->AdiEdit->text().isEmpty(), answer != int(Answer::No));
    }

    // The planner colours the cells of overlapping waiting appointments of one user, and a
    // booking straight from a cell asks first and colours its cell when it is made all the
    // same.
    void plannerColoursDoubleBookings()
    {
        App app;
        app.addUser(QStringLiteral("ece"), QString(), QStringLiteral("Ece"), QStringLiteral("Ak"));
        app.exec(QStringLiteral("INSERT INTO siciltablo (sicil_kodu, adi, soyadi) "
                                "VALUES ('5', 'Zeynep', 'Kaya')"));
        add(app, QStringLiteral("Bir"), "lumkar 07.10.2009 09:30");
        add(app, QStringLiteral("İki"), "lumkar 07.10.2009 09:45");
        add(app, QStringLiteral("Üç"), "lumkar 07.10.2009 11:00");
        add(app, QStringLiteral("Dört"), "ece 07.10.2009 11:00");
        add(app, QStringLiteral("Beş"), "lumkar 08.10.2009 12:00");
        add(app, QStringLiteral("Altı"), "lumkar 08.10.2009 12:10", 999999);
        QVERIFY(app.login(QStringLiteral("lumkar")));
        TaylikF *planner = app.forms().aylikF;
        planner->CheckBox2->setChecked(true); // every user's
        planner->CheckBox1->setChecked(true); // waiting and held
        app.forms().anamenuf->setWorkingDate(QDate(2009, 10, 7));
        app.forms().anamenuf->N5Aylik();
        const auto rowOf = [planner](const QString &label) {
            for (int r = 2; r < planner->rowCount(); ++r)
                if (planner->cellText(0, r) == label)
                    return r;
            return -1;
        };
        QAbstractItemModel *model = planner->StringGrid1->model();
        const auto colour = [model](int column, int row) {
            return model->data(model->index(row - 2, column - 1), Qt::BackgroundRole)
                .value<QColor>();
        };
        QVERIFY(planner->isDoubleBooked(7, rowOf(QStringLiteral("09:30"))));
        QCOMPARE(colour(7, rowOf(QStringLiteral("09:30"))), doubleBookingColour());
        QVERIFY(!planner->isDoubleBooked(7, rowOf(QStringLiteral("11:00"))));
        QVERIFY(!planner->isDoubleBooked(8, rowOf(QStringLiteral("12:00"))));
        QVERIFY(colour(8, rowOf(QStringLiteral("12:00"))) != doubleBookingColour());

        planner->RKiminAdSoyadBox->setCurrentText(QStringLiteral("Lumkar Yönetici"));
        planner->setCurrentCell(8, rowOf(QStringLiteral("12:00")));
        planner->setPickedPackage({});
        EntryForm *entry = app.forms().entryForm;
        entry->setEntryPerson({QStringLiteral("5"), QStringLiteral("Zeynep"),
                               QStringLiteral("Kaya"), {}, {}, {}, {}});
        app.dialogs.expectInput(true, QStringLiteral("50"));
        app.dialogs.expectQuestion(Answer::Yes);
        planner->GirisHazirla();
        QVERIFY(app.dialogs.allConsumed());
        QVERIFY(app.dialogs.lastText().contains(QStringLiteral("08.10.2009 12:00 Beş Yılmaz")));
        QVERIFY(planner->isDoubleBooked(8, rowOf(QStringLiteral("12:00"))));
        QCOMPARE(app.scalar(QStringLiteral("SELECT count(*) FROM randevu")).toInt(), 7);
    }
};

LUMKAR_TEST(DoubleBookingTest)
#include "tst_doublebooking.moc"
