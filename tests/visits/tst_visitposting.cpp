// What a visit save and a visit deletion write, without windows: the visit row, the account,
// cash and card lines, the appointment link, and the box readings they start from.

#include "testregistry.h"

#include "data/entryrules.h"
#include "visits/visitposting.h"

#include <QTest>

using namespace lumkar;

namespace {

VisitEntry sampleVisit()
{
    VisitEntry e;
    e.sicilkodu = QStringLiteral("7");
    e.adi = QStringLiteral("Ayşe");
    e.soyadi = QStringLiteral("Kaya");
    e.tarih = QDate(2026, 3, 9);
    e.saat = QTime(14, 30);
    e.netice = QStringLiteral("İlk seans\r\n");
    e.islemBorcu = 400;
    e.tahsiledilen = 100;
    e.randevuno = 12;
    e.randevuyualan = QStringLiteral("Can Ak");
    e.rkime = QStringLiteral("selin");
    e.gorusenAdSoyad = QStringLiteral("Selin Ak");
    e.paketkodu = 3;
    e.paketadi = QStringLiteral("Cilt Bakımı");
    e.paketprim = 5;
    e.odemesekli = cashPayment();
    return e;
}

} // namespace

class VisitPostingTest : public QObject {
    Q_OBJECT
private slots:
    void boxReadings_data()
    {
        QTest::addColumn<QString>("date");
        QTest::addColumn<QDate>("expected");
        QTest::newRow("whole") << "09.03.2026" << QDate(2026, 3, 9);
        QTest::newRow("day typed as one digit") << "9 .03.2026" << QDate();
        QTest::newRow("blank box") << "  .  .    " << QDate();
        QTest::newRow("31 February") << "31.02.2026" << QDate();
        QTest::newRow("29 February of a leap year") << "29.02.2028" << QDate(2028, 2, 29);
    }
    void boxReadings()
    {
        QFETCH(QString, date);
        QFETCH(QDate, expected);
        QCOMPARE(boxDate(date), expected);
    }

    void timeReadings()
    {
        QCOMPARE(boxTime(QStringLiteral("14:30")), QTime(14, 30));
        QVERIFY(!boxTime(QStringLiteral("1 :30")).isValid());
        QVERIFY(!boxTime(QStringLiteral("25:00")).isValid());
        QVERIFY(!boxTime(QStringLiteral("  :  ")).isValid());
    }

    void visitRowCopiesTheEntry()
    {
        const VisitEntry e = sampleVisit();
        const RowValues row = visitRow(e);
        QCOMPARE(valueOf(row, QStringLiteral("tarih")).toDate(), e.tarih);
        QCOMPARE(valueOf(row, QStringLiteral("saat")).toTime(), e.saat);
        QCOMPARE(valueOf(row, QStringLiteral("RKime")).toString(), QStringLiteral("selin"));
        QCOMPARE(valueOf(row, QStringLiteral("gorusenadsoyad")).toString(),
                 QStringLiteral("Selin Ak"));
        QCOMPARE(valueOf(row, QStringLiteral("odemesekli")).toString(), QStringLiteral("Nakit"));
        // Neither the note nor the package price is written, nor the number.
        QVERIFY(!valueOf(row, QStringLiteral("not")).isValid());
        QVERIFY(!valueOf(row, QStringLiteral("pakettutari")).isValid());
        QVERIFY(!valueOf(row, QStringLiteral("mid")).isValid());
    }

    void linesOfAVisit_data()
    {
        QTest::addColumn<double>("collected");
        QTest::addColumn<QString>("payment");
        QTest::addColumn<QString>("book");
        QTest::newRow("cash") << 100.0 << cashPayment() << "kasa";
        QTest::newRow("card") << 100.0 << cardPayment() << "kredikart";
        QTest::newRow("nothing collected") << 0.0 << cashPayment() << "";
        QTest::newRow("nothing collected by card") << 0.0 << cardPayment() << "";
    }
    void linesOfAVisit()
    {
        QFETCH(double, collected);
        QFETCH(QString, payment);
        QFETCH(QString, book);
        VisitEntry e = sampleVisit();
        e.tahsiledilen = collected;
        e.odemesekli = payment;
        const VisitLines lines = visitLines(e, 55);
        QCOMPARE(lines.moneyTable, book);
        QCOMPARE(lines.money.isEmpty(), book.isEmpty());
        if (!book.isEmpty()) {
            QCOMPARE(valueOf(lines.money, QStringLiteral("borc")).toDouble(), collected);
            QCOMPARE(valueOf(lines.money, QStringLiteral("gorusme_no")).toLongLong(), 55);
            QCOMPARE(valueOf(lines.money, QStringLiteral("aciklama")).toString(),
                     QStringLiteral("Cilt Bakımı - Ayşe Kaya"));
            QCOMPARE(valueOf(lines.money, QStringLiteral("gorusen_kodu")).toString(),
                     QStringLiteral("selin"));
            QCOMPARE(valueOf(lines.money, QStringLiteral("tarih")).toDate(), e.tarih);
            QCOMPARE(valueOf(lines.money, QStringLiteral("pakettutari")).toDouble(), 0.0);
        }
        // An account line for every visit: price as debt, collection as credit.
        QCOMPARE(valueOf(lines.account, QStringLiteral("borc")).toDouble(), 400.0);
        QCOMPARE(valueOf(lines.account, QStringLiteral("alacak")).toDouble(), collected);
        QCOMPARE(valueOf(lines.account, QStringLiteral("gorusme_no")).toLongLong(), 55);
        QCOMPARE(valueOf(lines.account, QStringLiteral("aciklama")).toString(),
                 QStringLiteral("Yapılan işe istinaden borç/alacak."));
        QCOMPARE(valueOf(lines.account, QStringLiteral("odemesekli")).toString(), payment);
        QCOMPARE(valueOf(lines.appointment, QStringLiteral("gorusmekodu")).toLongLong(), 55);
        QCOMPARE(valueOf(lines.appointment, QStringLiteral("Rkimeadsoyad")).toString(),
                 QStringLiteral("Selin Ak"));
    }

    void dueDateAndPackage()
    {
        VisitEntry e = sampleVisit();
        VisitLines lines = visitLines(e, 1);
        // No due date: the visit date.
        QCOMPARE(valueOf(lines.account, QStringLiteral("islem_vadesi")).toDate(), e.tarih);
        e.vade = QDate(2026, 4, 1);
        lines = visitLines(e, 1);
        QCOMPARE(valueOf(lines.account, QStringLiteral("islem_vadesi")).toDate(), e.vade);
        // No package: empty in the visit and the account, 0 in the money line.
        e.paketkodu = QVariant();
        e.paketadi.clear();
        lines = visitLines(e, 1);
        QVERIFY(valueOf(visitRow(e), QStringLiteral("paketkodu")).isNull());
        QVERIFY(valueOf(lines.account, QStringLiteral("paketkodu")).isNull());
        QCOMPARE(valueOf(lines.money, QStringLiteral("paketkodu")).toInt(), 0);
        QCOMPARE(valueOf(lines.money, QStringLiteral("aciklama")).toString(),
                 QStringLiteral(" - Ayşe Kaya"));
    }

    void deletionOrder()
    {
        const VisitRemoval removal = visitRemoval(55, 12);
        QCOMPARE(removal.appointment.toLongLong(), 12);
        QStringList order;
        for (const RowDeletion &d : removal.deletions) {
            order << d.table + QLatin1Char('.') + d.column;
            QCOMPARE(d.value.toLongLong(), 55);
        }
        QCOMPARE(order, (QStringList{"gorusmeler.mid", "kasa.gorusme_no", "kredikart.gorusme_no",
                                     "cari.gorusme_no"}));
        QVERIFY(visitRemoval(55, QVariant()).appointment.isNull());
    }
};

LUMKAR_TEST(VisitPostingTest)
#include "tst_visitposting.moc"
