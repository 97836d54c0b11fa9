// Two desks on one database (two connections to the same file or server): a save never
// overwrites without a word what the other desk changed since it was read, and a row the
// other desk deleted is told, never made again.

#include "fixture.h"
#include "testregistry.h"

#include "accounts/bookwrites.h"
#include "appointments/appointmentstate.h"
#include "data/asread.h"
#include "data/database.h"
#include "data/dataset.h"
#include "data/transaction.h"
#include "visits/visitposting.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

using namespace lumkar;
using namespace lumkar::test;

class TwoDesksTest : public QObject {
    Q_OBJECT
private slots:
    void aSaveMatchesTheRowAsItWasRead_data()
    {
        QTest::addColumn<QString>("meanwhile"); // what the other desk wrote
        QTest::addColumn<QString>("outcome"); // "written", "changed" or "gone"
        QTest::addColumn<QString>("told"); // a part of the message
        QTest::newRow("untouched") << QString() << "written" << QString();
        QTest::newRow("the same values again")
            << "UPDATE randevu SET adi = adi, islem_tutari = islem_tutari"
            << "written" << QString();
        QTest::newRow("another field changed") << "UPDATE randevu SET telefonu = '(212) 555 00 00'"
                                               << "changed"
                                               << "telefonu: \"(212) 555 00 00\"";
        QTest::newRow("the same field changed") << "UPDATE randevu SET adi = 'Ayşe Nur'"
                                                << "changed"
                                                << "adi: \"Ayşe Nur\"";
        QTest::newRow("an amount changed") << "UPDATE randevu SET islem_tutari = 99.5"
                                           << "changed"
                                           << "islem_tutari: \"99.5\"";
        QTest::newRow("deleted") << "DELETE FROM randevu"
                                 << "gone"
                                 << "başka bir yerden silinmiş";
        if (!usesServer()) // the server keeps one form of a date
            QTest::newRow("a date in another form")
                << "UPDATE randevu SET randevutarihi = '2026-03-10T00:00:00'"
                << "written" << QString();
    }
    void aSaveMatchesTheRowAsItWasRead()
    {
        QFETCH(QString, meanwhile);
        QFETCH(QString, outcome);
        QFETCH(QString, told);
        App app;
        AppointmentRow row;
        row.owner = QStringLiteral("lumkar");
        row.day = QDate(2026, 3, 10);
        const qlonglong rid = app.addAppointment(row);
        app.exec(
            QStringLiteral("UPDATE randevu SET islem_tutari = 1234.56 WHERE rid = ?"), { rid });
        DataSet ds(app.db());
        ds.setTable(QStringLiteral("randevu"));
        QVERIFY(ds.open());
        ds.setValue(QStringLiteral("soyadi"), QStringLiteral("Şahin"));
        {
            Database other(app.folder());
            QVERIFY2(other.open(), qPrintable(other.errorText()));
            QSqlQuery q(other.db());
            QVERIFY(meanwhile.isEmpty() || q.exec(meanwhile));
        }
        const auto stored = [&](const char *column) {
            return app.scalar(QStringLiteral("SELECT %1 FROM randevu").arg(QLatin1String(column)));
        };
        const bool written = ds.post();
        QCOMPARE(written, outcome == QLatin1String("written"));
        QVERIFY2(ds.lastError().text().contains(told), qPrintable(ds.lastError().text()));
        if (outcome == QLatin1String("written")) {
            QCOMPARE(stored("soyadi").toString(), QStringLiteral("Şahin"));
            return;
        }
        // Nothing written; the typing stays, over the row as it is now.
        QCOMPARE(ds.state(), DataSet::State::Edit);
        QCOMPARE(ds.text(QStringLiteral("soyadi")), QStringLiteral("Şahin"));
        if (outcome == QLatin1String("gone")) {
            QVERIFY(!ds.post());
            QCOMPARE(app.scalar(QStringLiteral("SELECT count(*) FROM randevu")).toInt(), 0);
            return;
        }
        QCOMPARE(stored("soyadi").toString(), QStringLiteral("Yılmaz"));
        // Saved again: the typing is written and the other desk's change of another field stays.
        const QVariant othersAdi = stored("adi");
        const QVariant othersPhone = stored("telefonu");
        QVERIFY2(ds.post(), qPrintable(ds.lastError().text()));
        QCOMPARE(stored("soyadi").toString(), QStringLiteral("Şahin"));
        QCOMPARE(stored("adi"), othersAdi);
        QCOMPARE(stored("telefonu"), othersPhone);
        QCOMPARE(app.scalar(QStringLiteral("SELECT count(*) FROM randevu")).toInt(), 1);
    }

    void aDeletionOfARowDeletedMeanwhileIsTold()
    {
        App app;
        AppointmentRow row;
        row.owner = QStringLiteral("lumkar");
        row.day = QDate(2026, 3, 10);
        app.addAppointment(row);
        app.addAppointment(row);
        DataSet ds(app.db());
        ds.setTable(QStringLiteral("randevu"));
        QVERIFY(ds.open());
        QCOMPARE(ds.recordCount(), 2);
        {
            Database other(app.folder());
            QVERIFY(other.open());
            QSqlQuery q(other.db());
            QVERIFY(q.exec(QStringLiteral("DELETE FROM randevu WHERE rid = (SELECT min(rid) "
                                          "FROM randevu)")));
        }
        ds.first();
        QVERIFY(!ds.remove());
        QVERIFY(ds.lastError().text().contains(QStringLiteral("başka bir yerden silinmiş")));
        QCOMPARE(ds.recordCount(), 1); // the list shows what is stored
        QVERIFY(ds.remove());
        QCOMPARE(app.scalar(QStringLiteral("SELECT count(*) FROM randevu")).toInt(), 0);
    }

    // The writers outside the data sets: a visit changed or deleted, a cash movement deleted,
    // each with the row as the desk's list read it, after the other desk wrote.
    void aWriterMatchesTheRowAsItWasRead_data()
    {
        QTest::addColumn<QString>("action"); // "change visit", "delete visit", "delete movement"
        QTest::addColumn<QString>("meanwhile");
        QTest::addColumn<QString>("outcome"); // "written", "changed" or "gone"
        QTest::addColumn<QString>("told");
        const QString visitChanged = QStringLiteral("UPDATE gorusmeler SET netice = 'Başka masa'");
        const QString movementChanged = QStringLiteral("UPDATE kasa SET borc = 75");
        for (const char *action : {"change visit", "delete visit"}) {
            const QString a = QString::fromLatin1(action);
            QTest::addRow("%s, untouched", action) << a << QString() << "written" << QString();
            QTest::addRow("%s, the same values again", action)
                << a << "UPDATE gorusmeler SET adi = adi, islem_borcu = islem_borcu"
                << "written" << QString();
            QTest::addRow("%s, changed", action)
                << a << visitChanged << "changed" << "netice: \"Başka masa\"";
            QTest::addRow("%s, deleted", action)
                << a << "DELETE FROM gorusmeler" << "gone" << "başka bir yerden silinmiş";
        }
        QTest::newRow("delete movement, untouched")
            << "delete movement" << QString() << "written" << QString();
        QTest::newRow("delete movement, changed")
            << "delete movement" << movementChanged << "changed" << "borc: \"75\"";
        QTest::newRow("delete movement, deleted")
            << "delete movement" << "DELETE FROM kasa" << "gone" << "artık kayıtlı değil";
    }
    void aWriterMatchesTheRowAsItWasRead()
    {
        QFETCH(QString, action);
        QFETCH(QString, meanwhile);
        QFETCH(QString, outcome);
        QFETCH(QString, told);
        App app;
        VisitEntry entry;
        entry.sicilkodu = QStringLiteral("7");
        entry.adi = QStringLiteral("Ayşe");
        entry.soyadi = QStringLiteral("Kaya");
        entry.tarih = QDate(2026, 3, 9);
        entry.saat = QTime(14, 30);
        entry.netice = QStringLiteral("İlk seans\r\n");
        entry.islemBorcu = 400;
        entry.tahsiledilen = 100;
        entry.rkime = QStringLiteral("lumkar");
        entry.gorusenAdSoyad = QStringLiteral("Lumkar");
        entry.odemesekli = cashPayment();
        const WriteResult posted = saveVisit(app.db(), entry);
        QVERIFY2(posted.ok, qPrintable(posted.error));
        // The row as the desk's list reads it.
        const bool movement = action == QLatin1String("delete movement");
        const QString table = movement ? QStringLiteral("kasa") : QStringLiteral("gorusmeler");
        DataSet list(app.db());
        list.setTable(table);
        QVERIFY(list.open());
        QCOMPARE(list.recordCount(), 1);
        const RowValues asRead = rowAsRead(list, table);
        QVERIFY(!valueOf(asRead, QStringLiteral("tarih")).isNull());
        {
            Database other(app.folder());
            QVERIFY2(other.open(), qPrintable(other.errorText()));
            QSqlQuery q(other.db());
            QVERIFY2(meanwhile.isEmpty() || q.exec(meanwhile), qPrintable(q.lastError().text()));
        }
        const auto count = [&](const char *t) {
            return app.scalar(QStringLiteral("SELECT count(*) FROM %1").arg(QLatin1String(t)))
                .toInt();
        };
        const int visitsBefore = count("gorusmeler");
        const int linesBefore = count("cari") + count("kasa");
        const QVariant neticeBefore = app.scalar(QStringLiteral("SELECT netice FROM gorusmeler"));
        entry.changing = posted.visitNumber;
        entry.asRead = asRead;
        entry.islemBorcu = 500;
        bool ok = false;
        bool refused = false;
        QString error;
        RowValues storedNow;
        if (action == QLatin1String("change visit")) {
            const WriteResult r = saveVisit(app.db(), entry);
            ok = r.ok, refused = r.refused, error = r.error, storedNow = r.storedNow;
        } else if (action == QLatin1String("delete visit")) {
            const WriteResult r = deleteVisit(app.db(), posted.visitNumber, QVariant(), asRead);
            ok = r.ok, refused = r.refused, error = r.error;
        } else {
            const BookWriteResult r = removeMovement(
                app.db(), QStringLiteral("kasa"), list.value(QStringLiteral("kid")), asRead);
            ok = r.ok, refused = r.refused, error = r.error;
        }
        QCOMPARE(ok, outcome == QLatin1String("written"));
        QVERIFY2(error.contains(told), qPrintable(error));
        if (ok) {
            if (action == QLatin1String("change visit"))
                QCOMPARE(app.scalar(QStringLiteral("SELECT islem_borcu FROM gorusmeler"))
                             .toDouble(), 500.0);
            else if (movement)
                QCOMPARE(count("kasa"), 0);
            else
                QCOMPARE(count("gorusmeler") + count("cari") + count("kasa"), 0);
            return;
        }
        // Refused, not failed; nothing written, nothing made again.
        QVERIFY(refused);
        QCOMPARE(count("gorusmeler"), visitsBefore);
        QCOMPARE(count("cari") + count("kasa"), linesBefore);
        if (visitsBefore > 0)
            QCOMPARE(app.scalar(QStringLiteral("SELECT netice FROM gorusmeler")), neticeBefore);
        if (action != QLatin1String("change visit") || outcome != QLatin1String("changed"))
            return;
        // The visit as stored now, taken as read, lets a second save write the typing.
        QCOMPARE(valueOf(storedNow, QStringLiteral("netice")).toString(),
                 QStringLiteral("Başka masa"));
        entry.asRead = storedNow;
        const WriteResult again = saveVisit(app.db(), entry);
        QVERIFY2(again.ok, qPrintable(again.error));
        QCOMPARE(app.scalar(QStringLiteral("SELECT islem_borcu FROM gorusmeler")).toDouble(),
                 500.0);
    }

    // An appointment deleted from the list: only as the list read it, and only without a visit.
    void anAppointmentIsDeletedOnlyAsItWasRead_data()
    {
        QTest::addColumn<QString>("meanwhile");
        QTest::addColumn<int>("change"); // StateChange
        QTest::addColumn<QString>("told");
        QTest::newRow("untouched") << QString() << int(StateChange::Done) << QString();
        QTest::newRow("the same values again") << "UPDATE randevu SET adi = adi"
                                               << int(StateChange::Done) << QString();
        QTest::newRow("changed") << "UPDATE randevu SET telefonu = '(212) 555 00 00'"
                                 << int(StateChange::Changed)
                                 << "silinmedi. Kayıtta şimdi: telefonu: \"(212) 555 00 00\"";
        QTest::newRow("a visit recorded") << "UPDATE randevu SET gorusmekodu = 5"
                                          << int(StateChange::HasVisit) << "görüşme kaydı var";
        QTest::newRow("deleted") << "DELETE FROM randevu" << int(StateChange::Gone)
                                 << "başka bir yerden silinmiş";
    }
    void anAppointmentIsDeletedOnlyAsItWasRead()
    {
        QFETCH(QString, meanwhile);
        QFETCH(int, change);
        QFETCH(QString, told);
        App app;
        AppointmentRow row;
        row.owner = QStringLiteral("lumkar");
        row.day = QDate(2026, 3, 10);
        const qlonglong rid = app.addAppointment(row);
        DataSet list(app.db());
        list.setTable(QStringLiteral("randevu"));
        QVERIFY(list.open());
        const RowValues asRead = rowAsRead(list, QStringLiteral("randevu"));
        {
            Database other(app.folder());
            QVERIFY(other.open());
            QSqlQuery q(other.db());
            QVERIFY2(meanwhile.isEmpty() || q.exec(meanwhile), qPrintable(q.lastError().text()));
        }
        const int before = app.scalar(QStringLiteral("SELECT count(*) FROM randevu")).toInt();
        const StateResult result = deleteAppointment(app.db(), rid, asRead);
        QCOMPARE(int(result.change), change);
        QVERIFY2(result.message().contains(told), qPrintable(result.message()));
        QCOMPARE(app.scalar(QStringLiteral("SELECT count(*) FROM randevu")).toInt(),
                 change == int(StateChange::Done) ? 0 : before);
    }

    // On the file a transaction of writes holds the write lock from its start: a desk that
    // read first and wrote later would otherwise find another desk's lock and fail at once.
    void aTransactionOnTheFileTakesTheWriteLockAtItsStart()
    {
        if (usesServer())
            QSKIP("the server locks rows, not the database");
        App app;
        Database other(app.folder());
        QVERIFY(other.open());
        QSqlQuery q(other.db());
        QVERIFY(q.exec(QStringLiteral("PRAGMA busy_timeout = 0")));
        {
            Transaction transaction(app.db());
            QVERIFY(transaction.isActive());
            QVERIFY(!q.exec(QStringLiteral("BEGIN IMMEDIATE")));
            QVERIFY2(q.lastError().text().contains(QStringLiteral("locked")),
                     qPrintable(q.lastError().text()));
        }
        QVERIFY2(q.exec(QStringLiteral("BEGIN IMMEDIATE")), qPrintable(q.lastError().text()));
        QVERIFY(q.exec(QStringLiteral("ROLLBACK")));
    }
};

LUMKAR_TEST(TwoDesksTest)
#include "tst_desks.moc"
