// Double bookings: the overlap rule at a slot's edges and across midnight, the appointments a
// save meets as they are stored, the question before a save, and the planner's colour.

#include "fixture.h"
#include "statementcounter.h"
#include "testregistry.h"

#include "appointments/aylik.h"
#include "appointments/doublebooking.h"
#include "appointments/entrypanel.h"
#include "shell/anamenu.h"

#include <QFile>
#include <QLineEdit>
#include <QTest>

using namespace lumkar;
using namespace lumkar::test;

namespace {

// "owner dd.MM.yyyy HH:mm"
BookedAppointment booked(const QString &text)
{
    const QStringList part = text.split(QLatin1Char(' '));
    return {0, part[0], {}, {}, {}, QDate::fromString(part[1], QStringLiteral("dd.MM.yyyy")),
            QTime::fromString(part[2], QStringLiteral("HH:mm"))};
}

qlonglong add(App &app, const QString &adi, const QString &when, const QVariant &visit = {},
              const QVariant &cancel = {})
{
    const BookedAppointment a = booked(when);
    const QString name = a.owner == QLatin1String("ece") ? QStringLiteral("Ece Ak")
                                                         : QStringLiteral("Lumkar Yönetici");
    return app.addAppointment({a.owner, a.day, a.time, adi, QStringLiteral("Yılmaz"), visit,
                               cancel, name});
}

} // namespace

class DoubleBookingTest : public QObject {
    Q_OBJECT
private slots:
    void overlapMarks_data()
    {
        QTest::addColumn<QString>("appointments"); // "|" between them
        QTest::addColumn<int>("slot");
        QTest::addColumn<QString>("marks");
        QTest::newRow("same time") << "a 10.03.2025 10:00|a 10.03.2025 10:00" << 30 << "11";
        QTest::newRow("last minute") << "a 10.03.2025 10:00|a 10.03.2025 10:29" << 30 << "11";
        QTest::newRow("touching") << "a 10.03.2025 10:30|a 10.03.2025 10:00" << 30 << "00";
        QTest::newRow("hour slot") << "a 10.03.2025 10:00|a 10.03.2025 10:45" << 60 << "11";
        QTest::newRow("midnight") << "a 10.03.2025 23:45|a 11.03.2025 00:14" << 30 << "11";
        QTest::newRow("midnight, touching") << "a 10.03.2025 23:45|a 11.03.2025 00:15" << 30
                                            << "00";
        QTest::newRow("year's end") << "a 01.01.2025 00:10|a 31.12.2024 23:50" << 30 << "11";
        QTest::newRow("day slot") << "a 10.03.2025 00:00|a 10.03.2025 23:59" << 1440 << "11";
        QTest::newRow("another user") << "a 10.03.2025 10:00|e 10.03.2025 10:00" << 30 << "00";
        QTest::newRow("a chain out of order") << "a 10.03.2025 10:40|e 10.03.2025 10:20|"
                                                 "a 10.03.2025 10:00|a 10.03.2025 10:20"
                                              << 30 << "1011";
    }
    void overlapMarks()
    {
        QFETCH(QString, appointments);
        QFETCH(int, slot);
        QVector<BookedAppointment> list;
        for (const QString &text : appointments.split(QLatin1Char('|')))
            list << booked(text);
        QString marks;
        for (bool mark : lumkar::overlapMarks(list, slot))
            marks += QLatin1Char(mark ? '1' : '0');
        QTEST(marks, "marks");
    }

    void storedOverlaps_data()
    {
        QTest::addColumn<QString>("when");
        QTest::addColumn<int>("slot");
        QTest::addColumn<bool>("changingAda");
        QTest::addColumn<QString>("named");
        QTest::newRow("between two") << "lumkar 10.03.2025 10:15" << 30 << false << "Ada Bora";
        QTest::newRow("touching one") << "lumkar 10.03.2025 10:30" << 30 << false << "Bora";
        QTest::newRow("held, cancelled") << "lumkar 10.03.2025 10:15" << 10 << false << "";
        QTest::newRow("another user") << "ece 10.03.2025 10:00" << 30 << false << "Ece";
        QTest::newRow("a change, itself") << "lumkar 10.03.2025 10:00" << 30 << true << "";
        QTest::newRow("a change, moved") << "lumkar 10.03.2025 10:40" << 30 << true << "Bora";
        QTest::newRow("midnight, forwards") << "lumkar 11.03.2025 00:05" << 30 << false
                                            << "Fulya Hale";
        QTest::newRow("midnight, backwards") << "lumkar 10.03.2025 00:10" << 30 << false
                                             << "Gizem";
        QTest::newRow("two-hour slot") << "lumkar 10.03.2025 12:00" << 120 << false << "Bora";
    }
    void storedOverlaps()
    {
        QFETCH(QString, when);
        QFETCH(int, slot);
        QFETCH(bool, changingAda);
        App app;
        const qlonglong ada = add(app, QStringLiteral("Ada"), "lumkar 10.03.2025 10:00");
        add(app, QStringLiteral("Bora"), "lumkar 10.03.2025 10:30");
        add(app, QStringLiteral("Cem"), "lumkar 10.03.2025 10:15", 999999);
        add(app, QStringLiteral("Deniz"), "lumkar 10.03.2025 10:15", {}, 999999);
        add(app, QStringLiteral("Ece"), "ece 10.03.2025 10:15");
        add(app, QStringLiteral("Fulya"), "lumkar 10.03.2025 23:50");
        add(app, QStringLiteral("Gizem"), "lumkar 09.03.2025 23:45");
        add(app, QStringLiteral("Hale"), "lumkar 11.03.2025 00:10");
        const BookedAppointment at = booked(when);
        const StatementCounter counter(app.db());
        const OverlapReading reading = lumkar::storedOverlaps(app.db(), at.owner, at.day,
                                                              at.time, slot, changingAda ? ada : 0);
        QVERIFY2(reading.error.isEmpty(), qPrintable(reading.error));
        QStringList named;
        for (const BookedAppointment &other : reading.others)
            named << other.adi;
        QTEST(named.join(QLatin1Char(' ')), "named");
        // One read, through the index of days (counted in the embedded engine).
        if (!usesServer()) {
            QCOMPARE(counter.runsWith(QStringLiteral("randevu")).size(), 1);
            QCOMPARE(counter.runsWith(QStringLiteral("randevu")).first().fullScanSteps, 0);
        }
    }

    // The slot length comes from the planner's settings file; "Hayır" writes nothing and
    // keeps the boxes.
    void saveAsksBeforeADoubleBooking_data()
    {
        QTest::addColumn<QString>("period"); // the settings file's slot length, "" for none
        QTest::addColumn<QString>("time");
        QTest::addColumn<bool>("changingAda");
        QTest::addColumn<int>("answer"); // -1: no question
        QTest::addColumn<int>("stored");
        QTest::newRow("default slot") << "" << "10:40" << false << -1 << 2;
        QTest::newRow("hour slot, no") << "01:00" << "10:40" << false << int(Answer::No) << 1;
        QTest::newRow("hour slot, yes") << "01:00" << "10:40" << false << int(Answer::Yes) << 2;
        QTest::newRow("a change of itself") << "" << "10:10" << true << -1 << 1;
    }
    void saveAsksBeforeADoubleBooking()
    {
        QFETCH(QString, period);
        QFETCH(int, answer);
        App app;
        app.exec(QStringLiteral("INSERT INTO siciltablo (sicil_kodu, adi, soyadi) "
                                "VALUES ('1', 'Ada', 'Yılmaz')"));
        const qlonglong ada = add(app, QStringLiteral("Ada"), "lumkar 10.03.2025 10:00");
        QFile settings(app.session().filePath(QStringLiteral("ayarrand.ayr")));
        if (!period.isEmpty())
            QVERIFY(settings.open(QIODevice::WriteOnly)
                    && settings.write("[AYARR]\r\nrandevuperiod=" + period.toLatin1()) > 0);
        settings.close();
        QVERIFY(app.login(QStringLiteral("lumkar")));
        EntryForm *entry = app.forms().entryForm;
        entry->setEntryPerson({QStringLiteral("1"), QStringLiteral("Ada"),
                               QStringLiteral("Yılmaz"), {}, {}, {}, {}});
        QFETCH(bool, changingAda);
        if (changingAda)
            entry->randevunoEdit->setText(QString::number(ada));
        QFETCH(QString, time);
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
        QCOMPARE(entry->AdiEdit->text().isEmpty(), answer != int(Answer::No));
    }

    // Overlapping waiting appointments of one user are coloured, not those of two users nor a
    // held one; a booking straight from a cell asks first and colours its cell when made.
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
        const int at0930 = 3, at1100 = 6, at1200 = 8; // grid rows from 09:00 on
        QCOMPARE(planner->cellText(0, at1200), QStringLiteral("12:00"));
        const auto colour = [planner](int column, int row) {
            const QAbstractItemModel *model = planner->StringGrid1->model();
            return model->index(row - 2, column - 1).data(Qt::BackgroundRole).value<QColor>();
        };
        QVERIFY(planner->isDoubleBooked(7, at0930));
        QCOMPARE(colour(7, at0930), doubleBookingColour());
        QVERIFY(!planner->isDoubleBooked(7, at1100));
        QVERIFY(colour(8, at1200) != doubleBookingColour());

        planner->RKiminAdSoyadBox->setCurrentText(QStringLiteral("Lumkar Yönetici"));
        planner->setCurrentCell(8, at1200);
        app.forms().entryForm->setEntryPerson({QStringLiteral("5"), QStringLiteral("Zeynep"),
                                               QStringLiteral("Kaya"), {}, {}, {}, {}});
        app.dialogs.expectInput(true, QStringLiteral("50"));
        app.dialogs.expectQuestion(Answer::Yes);
        planner->GirisHazirla();
        QVERIFY(app.dialogs.allConsumed());
        QVERIFY(app.dialogs.lastText().contains(QStringLiteral("08.10.2009 12:00 Beş Yılmaz")));
        QCOMPARE(colour(8, at1200), doubleBookingColour());
        QCOMPARE(app.scalar(QStringLiteral("SELECT count(*) FROM randevu")).toInt(), 7);
    }
};

LUMKAR_TEST(DoubleBookingTest)
#include "tst_doublebooking.moc"
