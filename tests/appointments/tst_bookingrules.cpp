// The rows a save of the entry form writes, without widgets or a database.

#include "testregistry.h"

#include "appointments/booking.h"
#include "data/entryrules.h"

#include <QTest>

using namespace lumkar;

namespace {

EntryAppointment entry()
{
    EntryAppointment e;
    e.sicilKodu = QStringLiteral("12");
    e.adi = QStringLiteral("Ayşe");
    e.soyadi = QStringLiteral("Kaya");
    e.tarih = QStringLiteral("05.03.2030");
    e.saat = QStringLiteral("09:45");
    e.konu = QStringLiteral("bir\niki");
    e.tutar = QStringLiteral("1.250,50");
    e.rkime = QStringLiteral("ece");
    e.rkimeAdSoyad = QStringLiteral("Ece Ak");
    return e;
}

QVariant field(const BookingRow &row, const QString &name, bool *present = nullptr)
{
    for (const auto &f : row.fields)
        if (f.first == name) {
            if (present)
                *present = true;
            return f.second;
        }
    if (present)
        *present = false;
    return QVariant();
}

} // namespace

class BookingRulesTest : public QObject {
    Q_OBJECT
private slots:
    void days_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDate>("day");
        QTest::newRow("plain") << QStringLiteral("05.03.2030") << QDate(2030, 3, 5);
        QTest::newRow("leap day") << QStringLiteral("29.02.2028") << QDate(2028, 2, 29);
        QTest::newRow("no leap day") << QStringLiteral("29.02.2029") << QDate();
        QTest::newRow("31 February") << QStringLiteral("31.02.2030") << QDate();
        QTest::newRow("month 13") << QStringLiteral("01.13.2030") << QDate();
        QTest::newRow("blank") << QStringLiteral("  .  .    ") << QDate();
    }

    void days()
    {
        QFETCH(QString, text);
        QFETCH(QDate, day);
        QCOMPARE(boxDate(text), day);
    }

    void newRowHoldsEveryColumn()
    {
        const QDateTime now(QDate(2030, 1, 1), QTime(8, 0));
        const BookingRow row = bookingRow(entry(), QStringLiteral("Lumkar Yönetici"), now, false);
        QVERIFY(row.message.isEmpty());
        QCOMPARE(field(row, QStringLiteral("randevutarihi")).toDateTime(),
                 QDateTime(QDate(2030, 3, 5), QTime(0, 0)));
        QCOMPARE(field(row, QStringLiteral("randevusaati")).toDateTime(),
                 QDateTime(QDate(1899, 12, 30), QTime(9, 45)));
        QCOMPARE(field(row, QStringLiteral("konu")).toString(), QStringLiteral("bir\r\niki\r\n"));
        QCOMPARE(field(row, QStringLiteral("islem_tutari")).toDouble(), 1250.5);
        QCOMPARE(field(row, QStringLiteral("randevuyualan")).toString(),
                 QStringLiteral("Lumkar Yönetici"));
        QCOMPARE(field(row, QStringLiteral("kayittarihi")).toDateTime(), now);
        bool present = false;
        QVERIFY(field(row, QStringLiteral("paketprim"), &present).isNull());
        QVERIFY(present);
        QVERIFY(field(row, QStringLiteral("paketkodu")).isNull());
        // The state and the keys are never written.
        for (const char *never : {"rid", "gorusmekodu", "iptalkodu", "iptalnedeni", "not",
                                  "pakettutari", "gorustudiyenkodu", "iptaldiyenkodu"}) {
            field(row, QString::fromLatin1(never), &present);
            QVERIFY2(!present, never);
        }
    }

    void changeKeepsAnEmptyPremiumOut()
    {
        EntryAppointment e = entry();
        e.prim = QStringLiteral(",00");
        bool present = true;
        field(bookingRow(e, {}, {}, true), QStringLiteral("paketprim"), &present);
        QVERIFY(!present);
        e.prim = QStringLiteral("2,50");
        QCOMPARE(field(bookingRow(e, {}, {}, true), QStringLiteral("paketprim")).toDouble(), 2.5);
    }

    // Who the appointment is given to, and the package name that belongs to its code.
    void ownerAndPackageName_data()
    {
        QTest::addColumn<bool>("change");
        QTest::addColumn<QString>("rkime");
        QTest::addColumn<QString>("rkimeAdSoyad");
        QTest::addColumn<QString>("paketKodu");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("owner"); // "-" when the owner columns are left out
        QTest::addColumn<QString>("paketadi");
        const QString noUser =
            QStringLiteral("Randevunun verileceği kullanıcı seçilmemiş! Randevu kaydedilmedi.");
        QTest::newRow("new, user chosen") << false << "ece" << "Ece Ak" << "3" << QString()
                                          << "ece/Ece Ak" << "Masaj";
        QTest::newRow("new, no user") << false << "" << "" << "3" << noUser << "" << "";
        QTest::newRow("new, name not held") << false << "ece" << "" << "3" << noUser << "" << "";
        QTest::newRow("change, user chosen") << true << "ece" << "Ece Ak" << "3" << QString()
                                             << "ece/Ece Ak" << "Masaj";
        QTest::newRow("change keeps the stored owner")
            << true << "" << "" << "3" << QString() << "-" << "Masaj";
        QTest::newRow("package code cleared")
            << false << "ece" << "Ece Ak" << "" << QString() << "ece/Ece Ak" << "";
    }

    void ownerAndPackageName()
    {
        QFETCH(bool, change);
        QFETCH(QString, paketKodu);
        EntryAppointment e = entry();
        QFETCH(QString, rkime);
        QFETCH(QString, rkimeAdSoyad);
        e.rkime = rkime;
        e.rkimeAdSoyad = rkimeAdSoyad;
        e.paketKodu = paketKodu;
        e.paketAdi = QStringLiteral("Masaj");
        const BookingRow row = bookingRow(e, {}, {}, change);
        QTEST(row.message, "message");
        if (!row.message.isEmpty()) {
            QVERIFY(row.fields.isEmpty());
            return;
        }
        bool present = false;
        const QString owner = field(row, QStringLiteral("RKime"), &present).toString()
            + QLatin1Char('/') + field(row, QStringLiteral("Rkimeadsoyad")).toString();
        QTEST(present ? owner : QStringLiteral("-"), "owner");
        QTEST(field(row, QStringLiteral("paketadi")).toString(), "paketadi");
    }

    void unreadableBoxesAreNamed_data()
    {
        QTest::addColumn<QString>("tarih");
        QTest::addColumn<QString>("tutar");
        QTest::addColumn<QString>("paket");
        QTest::addColumn<QString>("start");
        QTest::newRow("no such day") << QStringLiteral("31.02.2030") << QString() << QString()
                                     << QStringLiteral("31.02.2030 diye bir tarih yok!");
        QTest::newRow("two commas") << QStringLiteral("05.03.2030") << QStringLiteral("1,2,3")
                                    << QString() << QStringLiteral("İşlem tutarı okunamadı");
        QTest::newRow("package too large")
            << QStringLiteral("05.03.2030") << QString() << QStringLiteral("40000")
            << QStringLiteral("Paket kodu 40000 kaydedilemez!");
    }

    void unreadableBoxesAreNamed()
    {
        QFETCH(QString, tarih);
        QFETCH(QString, tutar);
        QFETCH(QString, paket);
        QFETCH(QString, start);
        EntryAppointment e = entry();
        e.tarih = tarih;
        e.tutar = tutar;
        e.paketKodu = paket;
        const BookingRow row = bookingRow(e, {}, {}, false);
        QVERIFY2(row.message.startsWith(start), qPrintable(row.message));
        QVERIFY(row.fields.isEmpty());
    }
};

LUMKAR_TEST(BookingRulesTest)
#include "tst_bookingrules.moc"
