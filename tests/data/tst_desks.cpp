// Two desks on one database (two connections to the same file or server): a save never
// overwrites without a word what the other desk changed since it was read, and a row the
// other desk deleted is told, never made again.

#include "fixture.h"
#include "testregistry.h"

#include "data/database.h"
#include "data/dataset.h"

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
};

LUMKAR_TEST(TwoDesksTest)
#include "tst_desks.moc"
