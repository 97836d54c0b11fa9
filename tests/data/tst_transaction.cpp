// A transaction keeps the writes of one action together; the table writer writes single rows
// with bound values; the day totals of the money books follow every write.

#include "fixture.h"
#include "moneydata.h"
#include "statementcounter.h"
#include "testregistry.h"

#include "data/dataset.h"
#include "data/entryrules.h"
#include "data/moneytotals.h"
#include "data/namestarts.h"
#include "data/textorder.h"
#include "data/schema.h"
#include "data/serverkeys.h"
#include "data/tablewriter.h"
#include "data/transaction.h"
#include "data/values.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

using namespace lumkar;
using namespace lumkar::test;

namespace {

QDateTime day(int d, int hour = 0)
{
    return QDateTime(QDate(2026, 3, d), QTime(hour, 0));
}

} // namespace

class TransactionTest : public QObject {
    Q_OBJECT
private slots:
    void commitKeepsWhatRollbackDrops()
    {
        App app;
        QSqlDatabase &db = app.db();
        {
            Transaction t(db);
            QVERIFY(t.isActive());
            TableWriter writer(db);
            QVERIFY(writer.insert(QStringLiteral("kasa"), {{QStringLiteral("borc"), 10.0}}) > 0);
            QVERIFY(t.commit());
            QVERIFY(!t.isActive());
        }
        {
            Transaction t(db);
            TableWriter writer(db);
            QVERIFY(writer.insert(QStringLiteral("kasa"), {{QStringLiteral("borc"), 20.0}}) > 0);
            QCOMPARE(countRows(app, QStringLiteral("kasa")), 2); // seen inside
        } // not committed: gone
        QCOMPARE(countRows(app, QStringLiteral("kasa")), 1);
        QCOMPARE(app.scalar(QStringLiteral("SELECT borc FROM kasa")).toDouble(), 10.0);
        // A new transaction can begin after a rolled-back one.
        Transaction again(db);
        QVERIFY(again.isActive());
        again.rollback();
        QVERIFY(!again.commit());
        QVERIFY(!again.errorText().isEmpty());
    }

    void aSecondBeginIsReported()
    {
        App app;
        Transaction outer(app.db());
        QVERIFY(outer.isActive());
        Transaction inner(app.db());
        QVERIFY(!inner.isActive());
        QVERIFY(
            inner.errorText().startsWith(QStringLiteral("Veritabanı işlemi başlatılamadı")));
        QVERIFY(!inner.commit());
        QVERIFY(outer.commit());
    }

    void closedDatabaseIsReported()
    {
        QSqlDatabase none;
        Transaction t(none);
        QVERIFY(!t.isActive());
        QCOMPARE(t.errorText(), QStringLiteral("Veritabanı açık değil; kayıt yapılamadı."));
    }

    void writerConvertsFindsAndReportsFailures()
    {
        App app;
        TableWriter writer(app.db());
        const qlonglong mid = writer.insert(
            QStringLiteral("cari"), {{QStringLiteral("tarih"), QDate(2026, 3, 5)},
                                     {QStringLiteral("gorusme_no"), QStringLiteral("12")},
                                     {QStringLiteral("paketkodu"), QVariant()},
                                     {QStringLiteral("not_a_column_value_kept"), 1}});
        // The unknown column fails the statement, and the message names the table.
        QCOMPARE(mid, -1);
        QVERIFY(writer.errorText().startsWith(QStringLiteral("\"cari\" tablosuna yazılamadı")));

        TableWriter ok(app.db());
        const qlonglong line = ok.insert(
            QStringLiteral("cari"), {{QStringLiteral("tarih"), QDate(2026, 3, 5)},
                                     {QStringLiteral("gorusme_no"), QStringLiteral("12")},
                                     {QStringLiteral("paketkodu"), QVariant()}});
        QVERIFY(line > 0);
        QCOMPARE(values::fromDatabase(app.scalar(QStringLiteral("SELECT tarih FROM cari")),
                                      FieldType::DateTime)
                     .toDateTime(),
                 QDateTime(QDate(2026, 3, 5), QTime(0, 0)));
        if (!usesServer()) // the file keeps what it is given; the server's column is typed
            QCOMPARE(app.scalar(QStringLiteral("SELECT typeof(gorusme_no) FROM cari")).toString(),
                     QStringLiteral("integer"));
        QVERIFY(app.scalar(QStringLiteral("SELECT paketkodu IS NULL FROM cari")).toBool());
        QCOMPARE(ok.findKey(QStringLiteral("cari"), QStringLiteral("gorusme_no"), 12).toLongLong(),
                 line);
        QVERIFY(!ok.findKey(QStringLiteral("cari"), QStringLiteral("gorusme_no"), 13).isValid());
        QVERIFY(ok.update(QStringLiteral("cari"), QStringLiteral("mid"), line,
                          {{QStringLiteral("borc"), 7.5}}));
        QCOMPARE(app.scalar(QStringLiteral("SELECT borc FROM cari")).toDouble(), 7.5);
        QVERIFY(ok.remove(QStringLiteral("cari"), QStringLiteral("gorusme_no"), 99)); // none
        QCOMPARE(countRows(app, QStringLiteral("cari")), 1);
        QVERIFY(ok.remove(QStringLiteral("cari"), QStringLiteral("gorusme_no"), 12));
        QCOMPARE(countRows(app, QStringLiteral("cari")), 0);
        QVERIFY(ok.ok());
        failWrites(app, QStringLiteral("cari"), QStringLiteral("INSERT"));
        QCOMPARE(ok.insert(QStringLiteral("cari"), {{QStringLiteral("borc"), 1.0}}), -1);
        QVERIFY(ok.errorText().contains(QStringLiteral("disk dolu")));
    }

    // The appointments' day totals count what their rows hold under every condition they
    // answer, through booking, holding, cancelling, moving and deleting; a condition on an
    // appointment's numbers that their classes do not keep is not theirs to answer.
    void appointmentTotalsCountWhatTheRowsHold_data()
    {
        QTest::addColumn<QString>("condition");
        QTest::addColumn<bool>("answered");
        const QString period = QStringLiteral("randevutarihi >= ? AND randevutarihi <= ? AND ");
        QTest::newRow("booked") << period + "iptalkodu IS NULL" << true;
        QTest::newRow("waiting") << period + "iptalkodu IS NULL AND (gorusmekodu IS NULL OR "
                                             "gorusmekodu < 1)"
                                 << true;
        QTest::newRow("held, one user") << period + "iptalkodu IS NULL AND gorusmekodu > 0 AND "
                                                    "RKime = ?"
                                        << true;
        QTest::newRow("a text written in") << period + "RKime = 'a'" << false;
        QTest::newRow("cancelled") << period + "NOT iptalkodu IS NULL" << true;
        QTest::newRow("a visit's number") << period + "gorusmekodu = 7" << false;
        QTest::newRow("below ten") << period + "gorusmekodu < 10" << false;
        QTest::newRow("another column") << period + "konu IS NULL" << false;
    }
    void appointmentTotalsCountWhatTheRowsHold()
    {
        QFETCH(QString, condition);
        QFETCH(bool, answered);
        QCOMPARE(moneytotals::answers(QStringLiteral("randevu"), condition), answered);
        QCOMPARE(moneytotals::answers(QStringLiteral("siciltablo"), QStringLiteral("tarih IS NULL")),
                 false); // the persons are counted, by no column of theirs
        if (!answered)
            return;
        App app;
        const auto book = [&](int d, const QVariant &user, const QVariant &held,
                              const QVariant &cancelled) {
            app.exec(QStringLiteral("INSERT INTO randevu (randevutarihi, RKime, gorusmekodu, "
                                    "iptalkodu) VALUES (?, ?, ?, ?)"),
                     {values::toDatabase(day(d), FieldType::DateTime), user, held, cancelled});
        };
        const QVariant none;
        book(1, QStringLiteral("a"), none, none);
        book(1, QStringLiteral("a"), 7, none);
        book(1, QStringLiteral("b"), 0, none);
        book(2, QStringLiteral("a"), none, 3);
        book(2, none, -1, none);
        book(3, QStringLiteral("b"), 15, none);
        QVariantList period{values::toDatabase(day(1), FieldType::DateTime),
                            values::toDatabase(day(2), FieldType::DateTime)};
        if (condition.endsWith(QLatin1Char('?')))
            period << QStringLiteral("b");
        const auto counted = [&] {
            return moneytotals::rowCount(app.db(), QStringLiteral("randevu"), condition, period)
                == countRows(app, QStringLiteral("randevu"), condition, period);
        };
        QVERIFY(counted());
        for (const char *write :
             {"UPDATE randevu SET gorusmekodu = 9 WHERE rid = 1",
              "UPDATE randevu SET iptalkodu = 1 WHERE rid = 3",
              "UPDATE randevu SET iptalkodu = NULL WHERE rid = 4",
              "UPDATE randevu SET gorusmekodu = NULL, RKime = 'b' WHERE rid = 2",
              "UPDATE randevu SET randevutarihi = (SELECT randevutarihi FROM randevu WHERE rid = 6) "
              "WHERE rid = 5",
              "DELETE FROM randevu WHERE rid = 1"}) {
            app.exec(QLatin1String(write));
            QVERIFY2(counted(), write);
        }
    }

    // The persons' count follows every person added and deleted, in its sixteen parts.
    void thePersonsAreCounted()
    {
        App app;
        const auto counted = [&] {
            return moneytotals::rowCount(app.db(), QStringLiteral("siciltablo"))
                == countRows(app, QStringLiteral("siciltablo"));
        };
        QVERIFY(counted());
        for (int i = 1; i <= 40; ++i)
            app.exec(QStringLiteral("INSERT INTO siciltablo (sicil_kodu, adi) VALUES (?, 'Ali')"),
                     {QString::number(i)});
        QVERIFY(counted());
        app.exec(QStringLiteral("DELETE FROM siciltablo WHERE hid % 3 = 0"));
        QVERIFY(counted());
        QVERIFY(countRows(app, QStringLiteral("siciltablo_sayi")) <= 16);
    }

    // The counts by names' beginnings, kept by the triggers (one statement per beginning on
    // the file, one grouped statement on the server), are after every write those a fresh
    // count of the persons makes: short, missing, Turkish and foreign names, first names and
    // surnames that begin alike, renames and deletions.
    void nameBeginningsFollowEveryWrite()
    {
        App app;
        const Engine engine = schema::engineOf(app.db());
        const auto kept = [&] {
            QStringList rows;
            QSqlQuery q(app.db());
            if (!q.exec(QStringLiteral("SELECT bas, adi, soyadi, ikisi FROM %1 WHERE adi <> 0 OR "
                                       "soyadi <> 0 OR ikisi <> 0 ORDER BY bas")
                            .arg(namestarts::table())))
                return QStringList{q.lastError().text()};
            while (q.next())
                rows << QStringLiteral("%1 %2 %3 %4")
                            .arg(QLatin1String(q.value(0).toByteArray().toHex()),
                                 q.value(1).toString(), q.value(2).toString(),
                                 q.value(3).toString());
            return rows;
        };
        const QString add = QStringLiteral(
            "INSERT INTO siciltablo (sicil_kodu, adi, soyadi) VALUES (?, ?, ?)");
        const QList<std::pair<QString, QVariantList>> writes = {
            {add, {QStringLiteral("1"), QStringLiteral("Kaan"), QStringLiteral("KAYA")}},
            {add, {QStringLiteral("2"), QStringLiteral("k"), QVariant()}},
            {add, {QStringLiteral("3"), QStringLiteral("Şule"), QStringLiteral("şu")}},
            {add, {QStringLiteral("4"), QStringLiteral("İlker"), QStringLiteral("ılgın")}},
            {add, {QStringLiteral("5"), QStringLiteral(" Ali"), QStringLiteral("Ωmega")}},
            {add, {QStringLiteral("6"), QString(), QStringLiteral("Kaya")}},
            {QStringLiteral("UPDATE siciltablo SET adi = 'Kamil', soyadi = 'Kara' WHERE "
                            "sicil_kodu IN ('1', '5')"), {}},
            {QStringLiteral("UPDATE siciltablo SET adi = NULL WHERE sicil_kodu = '3'"), {}},
            {QStringLiteral("UPDATE siciltablo SET tel1 = '1' WHERE sicil_kodu = '4'"), {}},
            {QStringLiteral("DELETE FROM siciltablo WHERE sicil_kodu IN ('1', '2')"), {}}};
        for (const auto &[sql, values] : writes) {
            app.exec(sql, values);
            const QStringList written = kept();
            for (const QString &remake :
                 namestarts::dropStatements(engine) + namestarts::createStatements(engine))
                app.exec(remake);
            QVERIFY2(!written.isEmpty(), qPrintable(sql));
            QCOMPARE(written, kept());
        }
    }

    void dayTotalsFollowEveryWrite()
    {
        App app;
        addMoneyLine(app, QStringLiteral("kasa"), {day(1), 100, 0});
        addMoneyLine(app, QStringLiteral("kasa"), {day(1, 10), 0, 30});
        addMoneyLine(app, QStringLiteral("kasa"), {day(2), 50, 0, QStringLiteral("ali"),
                                                   QStringLiteral("Ali Can")});
        const qlonglong late = addMoneyLine(app, QStringLiteral("kasa"), {day(4), 7, 0});
        addMoneyLine(app, QStringLiteral("kredikart"), {day(1), 1000, 0});
        QSqlDatabase &db = app.db();
        // The count of the book's rows kept with the totals, after every kind of write.
        const auto rowsKept = [&] {
            return moneytotals::rowCount(db, QStringLiteral("kasa"))
                == countRows(app, QStringLiteral("kasa"));
        };
        QVERIFY(rowsKept());
        auto net = [&db](int firstDay, bool all, const QString &user = QString()) {
            const moneytotals::Sums sums = moneytotals::before(
                db, QStringLiteral("kasa"), QDate(2026, 3, firstDay), all, user);
            return sums.ok ? sums.borc - sums.alacak : -99999.0;
        };
        QCOMPARE(net(1, true), 0.0);
        QCOMPARE(net(2, true), 70.0); // the 10:00 outflow of the 1st is before the 2nd
        QCOMPARE(net(3, true), 120.0);
        QCOMPARE(net(3, false, QStringLiteral("ayse")), 70.0);
        QCOMPARE(net(3, false, QStringLiteral("ali")), 50.0);
        QCOMPARE(net(3, false, QString()), 0.0); // an empty code is a user of its own
        QCOMPARE(net(9, true), 127.0);
        // Changed, moved to another day and user, deleted: the totals follow.
        app.exec(QStringLiteral("UPDATE kasa SET borc = 17 WHERE kid = ?"), {late});
        QCOMPARE(net(9, true), 137.0);
        app.exec(QStringLiteral("UPDATE kasa SET tarih = '2026-03-02 00:00:00', gorusen_kodu = "
                                "'ali' WHERE kid = ?"),
                 {late});
        QCOMPARE(net(3, false, QStringLiteral("ali")), 67.0);
        QCOMPARE(net(3, false, QStringLiteral("ayse")), 70.0);
        QVERIFY(rowsKept());
        app.exec(QStringLiteral("DELETE FROM kasa WHERE kid = ?"), {late});
        QCOMPARE(net(9, true), 120.0);
        QVERIFY(rowsKept());
        QCOMPARE(moneytotals::rowCount(db, QStringLiteral("kasa")), 3);
        // The card book's totals are its own.
        const moneytotals::Sums card =
            moneytotals::before(db, QStringLiteral("kredikart"), QDate(2026, 3, 9), true);
        QCOMPARE(card.borc, 1000.0);
    }

    // A long period of a book in the order of its key, counted from the day totals and walked
    // along the key between the period's first and last key, holds the rows the list read
    // whole holds, in both directions, with lines written late for earlier days; a short one
    // holds its keys. Rows are found, added and deleted in place.
    void aPeriodIsWalkedAlongItsKey_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("order");
        QTest::addColumn<QString>("condition");
        QTest::addColumn<QVariantList>("values");
        QTest::addColumn<bool>("walked");
        const QVariantList period{values::dayKey(QDate(2026, 3, 5)),
                                  values::dayKey(QDate(2026, 3, 15))};
        QTest::newRow("a period") << "kasa" << "kid" << "tarih >= ? AND tarih <= ?" << period
                                  << true;
        QTest::newRow("a period, down") << "kasa" << "kid DESC" << "tarih >= ? AND tarih <= ?"
                                        << period << true;
        QTest::newRow("one user, short") << "kasa" << "kid DESC" << "tarih >= ? AND tarih <= ? "
                                                                    "AND gorusen_kodu = ?"
                                         << period + QVariantList{QStringLiteral("ali")} << false;
        QTest::newRow("no row") << "kasa" << "kid" << "tarih >= ?"
                                << QVariantList{values::dayKey(QDate(2030, 1, 1))} << true;
        QTest::newRow("visits of a period") << "gorusmeler" << "mid"
                                            << "tarih >= ? AND tarih <= ?" << period << true;
        QTest::newRow("visits of one user, short")
            << "gorusmeler" << "mid" << "tarih >= ? AND tarih <= ? AND gorusenadsoyad = ?"
            << period + QVariantList{QStringLiteral("ali")} << false;
    }
    void aPeriodIsWalkedAlongItsKey()
    {
        QFETCH(QString, table);
        QFETCH(QString, order);
        QFETCH(QString, condition);
        QFETCH(QVariantList, values);
        QFETCH(bool, walked);
        App app;
        const bool visits = table == QLatin1String("gorusmeler");
        const QString key = visits ? QStringLiteral("mid") : QStringLiteral("kid");
        const QString user = visits ? QStringLiteral("gorusenadsoyad") : QStringLiteral("gorusen_kodu");
        // 1,200 rows a day for twenty days, written day by day; a third of them Ali's; three
        // written late for earlier days.
        const auto dayOf = [](const QString &days) {
            return (usesServer() ? QStringLiteral("TIMESTAMP '2026-03-01' + (%1) * INTERVAL '1 day'")
                                 : QStringLiteral("datetime('2026-03-01', '+' || (%1) || ' days')"))
                .arg(days);
        };
        app.exec(QStringLiteral("INSERT INTO %1 (tarih, %2, %3) WITH RECURSIVE n(i) AS (SELECT 0 "
                                "UNION ALL SELECT i + 1 FROM n WHERE i < 24002) SELECT CASE WHEN "
                                "i < 24000 THEN %4 ELSE %5 END, i, CASE WHEN i % 3 = 0 THEN "
                                "'ali' ELSE 'ayse' END FROM n")
                     .arg(table, visits ? QStringLiteral("islem_borcu") : QStringLiteral("borc"),
                          user, dayOf(QStringLiteral("i / 1200")),
                          dayOf(QStringLiteral("(i - 24000) * 5 + 1"))));
        const auto keysShown = [&key](DataSet &set) {
            QList<qint64> keys;
            for (int row = 0; row < set.recordCount(); ++row)
                keys << set.valueAt(row, set.fieldIndex(key)).toLongLong();
            return keys;
        };
        DataSet whole(app.db());
        whole.setTable(table, {order});
        whole.setPrefilter(condition, values);
        QVERIFY(whole.open());
        QList<qint64> expected = keysShown(whole);
        std::unique_ptr<StatementCounter> counter;
        if (!usesServer())
            counter = std::make_unique<StatementCounter>(app.db());
        DataSet paged(app.db());
        paged.setTable(table, {order});
        paged.setPrefilter(condition, values);
        paged.readByPages({});
        QVERIFY(paged.open());
        QCOMPARE(paged.recordCount(), expected.size());
        const int count = int(expected.size());
        for (const int row : {count - 1, 0, 7000, 6999, 3000})
            if (row >= 0 && row < count)
                QCOMPARE(paged.valueAt(row, paged.fieldIndex(key)).toLongLong(), expected[row]);
        QCOMPARE(keysShown(paged), expected);
        if (counter) {
            const QVector<StatementCounter::Run> walks = counter->runsWith(QStringLiteral("IS TRUE"));
            QCOMPARE(!walks.isEmpty(), walked);
            for (const StatementCounter::Run &run : walks)
                QVERIFY2(run.fullScanSteps == 0 && run.sorts == 0, qPrintable(run.sql));
        }
        if (expected.isEmpty())
            return;
        for (const int row : {0, count / 2, count - 1}) {
            QVERIFY(paged.locate(key, expected[row]));
            QCOMPARE(paged.currentRow(), row);
        }
        // A line added for a day of the period and one deleted: the list stays the whole
        // list's, on the line added.
        paged.moveTo(count / 3);
        QVERIFY(paged.remove());
        paged.append();
        paged.setValue(QStringLiteral("tarih"), values.constFirst());
        paged.setValue(user, QStringLiteral("ali"));
        QVERIFY(paged.post());
        const qint64 added = paged.value(key).toLongLong();
        QVERIFY(whole.reopen());
        expected = keysShown(whole);
        QCOMPARE(keysShown(paged), expected);
        QCOMPARE(paged.currentRow(), int(expected.indexOf(added)));
    }

    // The server's key reader binds each kind of value as the query layer does, leaves a mark
    // inside a quoted text alone, and reads the keys in the order the statement gives.
    void theServerKeyReaderBindsEveryKindOfValue_data()
    {
        QTest::addColumn<QString>("condition");
        QTest::addColumn<QVariantList>("values");
        QTest::addColumn<QList<qint64>>("expected"); // by the lines' order of writing
        QTest::newRow("a day and time") << "tarih >= ? AND tarih < ?"
                                       << QVariantList{day(2), day(2, 12)} << QList<qint64>{1};
        QTest::newRow("an amount") << "borc = ?" << QVariantList{12.25} << QList<qint64>{2};
        QTest::newRow("a whole number, a text") << "kid > ? AND gorusen_kodu = ?"
                                               << QVariantList{1, QStringLiteral("ali")}
                                               << QList<qint64>{2};
        QTest::newRow("a mark in quotes, an empty value")
            << "COALESCE(aciklama, '') <> '?' AND (gorusen_kodu = ? OR ? IS NULL)"
            << QVariantList{QStringLiteral("ali"), QVariant(QMetaType(QMetaType::QString))}
            << QList<qint64>{1, 2};
        QTest::newRow("bytes") << "convert_to(gorusen_kodu, 'UTF8') = ?"
                               << QVariantList{QByteArray("ali")} << QList<qint64>{2};
        QTest::newRow("true") << "(borc > 0) = ?" << QVariantList{true} << QList<qint64>{1, 2};
    }
    void theServerKeyReaderBindsEveryKindOfValue()
    {
        if (!usesServer())
            QSKIP("the server's own reader");
        QFETCH(QString, condition);
        QFETCH(QVariantList, values);
        QFETCH(QList<qint64>, expected);
        App app;
        const qint64 lines[] = {
            addMoneyLine(app, QStringLiteral("kasa"), {day(2, 9), 7, 0}),
            addMoneyLine(app, QStringLiteral("kasa"), {day(3), 12.25, 0, QStringLiteral("ali")}),
            addMoneyLine(app, QStringLiteral("kasa"), {day(4), 0, 3, QStringLiteral("ayse"),
                                                       QString(), QStringLiteral("?")})};
        QVector<qint64> keys;
        QSqlError error;
        QCOMPARE(serverkeys::read(app.db(),
                                  QStringLiteral("SELECT kid FROM kasa WHERE %1 ORDER BY kid DESC")
                                      .arg(condition),
                                  values, keys, error),
                 serverkeys::Outcome::Read);
        QVector<qint64> wanted;
        for (qint64 line : expected)
            wanted.prepend(lines[line - 1]);
        QCOMPARE(keys, wanted);
        // While the query layer still reads a result on the connection, the keys are left to it
        // (it finishes that read first); once that query is gone they are the reader's again.
        {
            QSqlQuery pending(app.db());
            pending.setForwardOnly(true);
            QVERIFY(pending.exec(QStringLiteral("SELECT kid FROM kasa")) && pending.next());
            keys.clear();
            QCOMPARE(serverkeys::read(app.db(), QStringLiteral("SELECT kid FROM kasa"), {}, keys,
                                      error),
                     serverkeys::Outcome::NotServer);
        }
        // A statement the server refuses is told as the query layer tells it.
        QCOMPARE(serverkeys::read(app.db(), QStringLiteral("SELECT kid FROM yok"), {}, keys, error),
                 serverkeys::Outcome::Failed);
        QCOMPARE(error.nativeErrorCode(), QStringLiteral("42P01"));
    }

    void aDatabaseWithoutTotalsGetsThemFilled()
    {
        App app;
        addMoneyLine(app, QStringLiteral("kasa"), {day(1), 40, 5});
        addMoneyLine(app, QStringLiteral("kasa"), {day(1), 60, 0});
        addAccountLine(app, {QStringLiteral("7"), {}, {}, day(1).date(), 30, 0});
        // As a database made before the day totals existed.
        for (const QString &table : moneytotals::totalledTables())
            for (const QString &sql : moneytotals::dropStatements(table, schema::engineOf(app.db())))
                app.exec(sql);
        QString error;
        QVERIFY(moneytotals::ensure(app.db(), &error));
        QVERIFY(error.isEmpty());
        QCOMPARE(countRows(app, QStringLiteral("kasa_gunluk")), 1);
        const moneytotals::Sums sums =
            moneytotals::before(app.db(), QStringLiteral("kasa"), QDate(2026, 3, 2), true);
        QCOMPARE(sums.borc, 100.0);
        QCOMPARE(sums.alacak, 5.0);
        QCOMPARE(moneytotals::within(app.db(), QStringLiteral("cari"), {}, {}).borc, 30.0);
        // Made once: a second call changes nothing.
        QVERIFY(moneytotals::ensure(app.db(), &error));
        QCOMPARE(countRows(app, QStringLiteral("kasa_gunluk")), 1);
        addMoneyLine(app, QStringLiteral("kasa"), {day(1), 1, 0});
        QCOMPARE(app.scalar(QStringLiteral("SELECT borc FROM kasa_gunluk")).toDouble(), 101.0);
        // Persons counted before they were counted by their names' beginnings too.
        const QString addPerson = QStringLiteral(
            "INSERT INTO siciltablo (sicil_kodu, adi, soyadi) VALUES (?, ?, ?)");
        app.exec(addPerson, {QStringLiteral("1"), QStringLiteral("Kaan"), QStringLiteral("Kaya")});
        for (const QString &sql : namestarts::dropStatements(schema::engineOf(app.db())))
            app.exec(sql);
        app.exec(addPerson, {QStringLiteral("2"), QStringLiteral("Ali"), QStringLiteral("KARA")});
        QVERIFY(moneytotals::ensure(app.db(), &error));
        QVariantList start;
        const QString beginningWithKa
            = namestarts::personsBeginningWith(turkishSortPrefix(QStringLiteral("ka")), start);
        QCOMPARE(app.scalar(QStringLiteral("SELECT ") + beginningWithKa, start).toInt(), 2);
        // Day totals of an older program, without the rows' count (on a server with its older
        // function, which matched the day and user with IS NOT DISTINCT FROM), are made anew.
        const Engine engine = schema::engineOf(app.db());
        for (const QString &sql : moneytotals::dropStatements(QStringLiteral("cari"), engine))
            app.exec(sql);
        app.exec(QStringLiteral("CREATE TABLE cari_gunluk (tarih TIMESTAMP, gorusen_kodu TEXT, "
                                "borc DOUBLE PRECISION NOT NULL, alacak DOUBLE PRECISION NOT "
                                "NULL)"));
        app.exec(QStringLiteral("INSERT INTO cari_gunluk VALUES (NULL, NULL, 999, 0)"));
        if (usesServer()) {
            app.exec(QStringLiteral(
                "CREATE FUNCTION cari_gunluk_ekle(d TIMESTAMP, u TEXT, b DOUBLE PRECISION, a "
                "DOUBLE PRECISION) RETURNS void AS $$ BEGIN UPDATE cari_gunluk SET borc = borc "
                "+ b, alacak = alacak + a WHERE tarih IS NOT DISTINCT FROM d AND gorusen_kodu IS "
                "NOT DISTINCT FROM u; END $$ LANGUAGE plpgsql"));
            // And a trigger that took a change's two totals in the order of the change
            // (here one that kept nothing, so that a line written under it is missed).
            app.exec(QStringLiteral("CREATE OR REPLACE FUNCTION kasa_gunluk_tetik() RETURNS "
                                    "trigger AS $$ BEGIN RETURN NULL; END $$ LANGUAGE plpgsql"));
            addMoneyLine(app, QStringLiteral("kasa"), {day(2), 5, 0});
        }
        QVERIFY(moneytotals::ensure(app.db(), &error));
        QCOMPARE(moneytotals::rowCount(app.db(), QStringLiteral("kasa")),
                 qint64(countRows(app, QStringLiteral("kasa"))));
        addAccountLine(app, {QStringLiteral("7"), {}, {}, day(1).date(), 12, 0});
        QCOMPARE(moneytotals::within(app.db(), QStringLiteral("cari"), {}, {}).borc, 42.0);
        QCOMPARE(moneytotals::rowCount(app.db(), QStringLiteral("cari")), 2);
        if (!usesServer())
            return;
        QCOMPARE(countRows(app, QStringLiteral("pg_proc"),
                           QStringLiteral("proname = 'cari_gunluk_ekle'")),
                 1);
        // So is a text function of an older program, and its results are the program's own.
        app.exec(QStringLiteral("CREATE OR REPLACE FUNCTION lumkar_kucuk(t text) RETURNS text "
                                "LANGUAGE sql IMMUTABLE AS $$ SELECT lower(t) $$"));
        // And a date index that does not order a day's rows by their key.
        app.exec(QStringLiteral("DROP INDEX kasa_tarih"));
        app.exec(QStringLiteral("CREATE INDEX kasa_tarih ON kasa (tarih) INCLUDE (kid, gorusen_kodu)"));
        QVERIFY(!schema::upgrade(app.db()).isValid());
        QCOMPARE(countRows(app, QStringLiteral("pg_indexes"),
                           QStringLiteral("indexname = 'kasa_tarih' AND indexdef LIKE "
                                          "'%(tarih, kid) INCLUDE (gorusen_kodu)'")),
                 1);
        const QString text = QStringLiteral("\t IŞIK İnce ÇĞÖÜŞ Émile ");
        QCOMPARE(app.scalar(QStringLiteral("SELECT lumkar_kucuk(?)"), {text}).toString(),
                 KucukHarfTr(text));
    }
};

LUMKAR_TEST(TransactionTest)
#include "tst_transaction.moc"
