// The copy of every table from one database into another: a database holding every table
// (keys with gaps, Turkish letters, NULLs, amounts, days and times) copied into a new file
// and from there into a database that held other rows (a server in the server pass) arrives
// value for value, its keys go on after the highest key copied and its day totals follow the
// movements; a copy refused half-way or cancelled leaves the target as it was.

#include "fixture.h"
#include "tabledump.h"
#include "testregistry.h"

#include "data/moneytotals.h"
#include "data/schema.h"
#include "data/tablecopy.h"

#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

using namespace lumkar;
using namespace lumkar::test;

namespace {

// The day totals of both books and of the person accounts hold what the rows add up to.
void checkDayTotals(QSqlDatabase &db)
{
    QSqlQuery q(db);
    for (const QString &book : moneytotals::totalledTables()) {
        QVERIFY(q.exec(QStringLiteral("SELECT count(*) FROM %1").arg(book)));
        QVERIFY(q.next());
        QCOMPARE(moneytotals::rowCount(db, book), q.value(0).toLongLong());
        if (book == QLatin1String("randevu") || book == QLatin1String("siciltablo"))
            continue; // counted alone
        // A visit's debit and credit are its price and what was collected.
        const bool visits = book == QLatin1String("gorusmeler");
        QVERIFY(q.exec(QStringLiteral("SELECT COALESCE(SUM(%2), 0), COALESCE(SUM(%3), 0) "
                                      "FROM %1 WHERE tarih IS NOT NULL")
                           .arg(book, visits ? QStringLiteral("islem_borcu") : QStringLiteral("borc"),
                                visits ? QStringLiteral("tahsiledilen") : QStringLiteral("alacak"))));
        QVERIFY(q.next());
        const moneytotals::Sums sums = moneytotals::before(db, book, QDate(2200, 1, 1), true);
        QVERIFY2(sums.ok, qPrintable(sums.error));
        QCOMPARE(sums.borc, q.value(0).toDouble());
        QCOMPARE(sums.alacak, q.value(1).toDouble());
    }
}

} // namespace

class TableCopyTest : public QObject {
    Q_OBJECT

private slots:
    void everyValueArrivesBothWays()
    {
        App desk;
        fillEveryTable(desk.db(), 4);
        const TableDump original = dumpTables(desk.db());
        QTemporaryDir folder;
        const QString file = folder.filePath(QStringLiteral("Tovaskel.mdb"));
        const TableCopy out = copyIntoNewFile(desk.db(), file);
        QVERIFY2(out.ok, qPrintable(out.errorText));
        QCOMPARE(out.copied.size(), schema::tables().size());
        for (const TableRows &rows : out.copied)
            QCOMPARE(rows.rows, qlonglong(original.value(rows.table).size()));

        FileConnection copy(file, true);
        QVERIFY2(copy.open(), qPrintable(copy.errorText()));
        QCOMPARE(firstDifference(original, dumpTables(copy.db())), QString());
        checkDayTotals(copy.db());

        // Back into a database that held rows of its own, which are all replaced.
        App other;
        fillEveryTable(other.db(), 3, 1);
        const TableCopy back = copyTables(copy.db(), other.db());
        QVERIFY2(back.ok, qPrintable(back.errorText));
        QCOMPARE(firstDifference(original, dumpTables(other.db())), QString());
        checkDayTotals(other.db());
        // The totals go on following the book, and new keys come after the highest copied.
        other.exec(QStringLiteral("INSERT INTO kasa (tarih, borc, alacak, gorusen_kodu) VALUES "
                                  "(?, 12.34, 0, 'ayse')"),
            { QStringLiteral("2030-05-05 00:00:00") });
        checkDayTotals(other.db());
        other.exec(QStringLiteral("INSERT INTO randevu (adi) VALUES ('Yeni')"));
        QVERIFY(other.scalar(QStringLiteral("SELECT max(rid) FROM randevu")).toLongLong() > 43);
    }

    void aCopyThatStopsLeavesTheTargetAsItWas_data()
    {
        QTest::addColumn<bool>("refused"); // else cancelled
        QTest::newRow("the third table refuses its rows") << true;
        QTest::newRow("cancelled at the first rows") << false;
    }

    void aCopyThatStopsLeavesTheTargetAsItWas()
    {
        QFETCH(bool, refused);
        App desk;
        fillEveryTable(desk.db(), 3);
        QTemporaryDir folder;
        const QString file = folder.filePath(QStringLiteral("Tovaskel.mdb"));
        QVERIFY(copyIntoNewFile(desk.db(), file).ok);
        FileConnection source(file, true);
        QVERIFY(source.open());

        App target;
        fillEveryTable(target.db(), 2, 1);
        const TableDump before = dumpTables(target.db());
        if (refused)
            target.failWrites(QStringLiteral("cari"), QStringLiteral("INSERT"));
        // Cancelled, the copy stops when its first rows are written.
        const TableCopy copy = copyTables(
            source.db(), target.db(), [refused](qlonglong, qlonglong) { return refused; });
        QVERIFY(!copy.ok);
        QCOMPARE(copy.canceled, !refused);
        QVERIFY(copy.copied.isEmpty());
        if (refused) {
            QVERIFY2(copy.errorText.startsWith(QStringLiteral("\"cari\" tablosu aktarılamadı.")),
                qPrintable(copy.errorText));
            QVERIFY2(
                copy.errorText.contains(QStringLiteral("disk dolu")), qPrintable(copy.errorText));
            target.allowWrites(QStringLiteral("cari"), QStringLiteral("INSERT"));
        }
        QCOMPARE(firstDifference(before, dumpTables(target.db())), QString());
        // The day totals and their triggers are there as before.
        target.exec(QStringLiteral("INSERT INTO kredikart (tarih, borc, alacak) VALUES "
                                   "(?, 0, 99.99)"),
            { QStringLiteral("2031-01-02 00:00:00") });
        checkDayTotals(target.db());
    }

    void rowsAreToldPerTable()
    {
        QCOMPARE(tableRowsText({ { QStringLiteral("randevu"), 200000 },
                     { QStringLiteral("master"), 1 }, { QStringLiteral("cari"), 0 } }),
            QStringLiteral("randevu: 200.000 satır\nmaster: 1 satır\ncari: 0 satır"));
        QCOMPARE(totalRows({ { QStringLiteral("a"), 1234567890123 }, { QStringLiteral("b"), 7 } }),
            qlonglong(1234567890130));
    }
};

LUMKAR_TEST(TableCopyTest)
#include "tst_tablecopy.moc"
