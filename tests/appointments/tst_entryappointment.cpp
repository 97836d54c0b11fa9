// A stored appointment as the entry form's texts for a change, begun in the day view or in the
// appointment list, and those texts read back into the same row by a save.

#include "fixture.h"
#include "testregistry.h"

#include "appointments/booking.h"
#include "appointments/entryappointment.h"
#include "data/dataset.h"

#include <QTest>

using namespace lumkar;
using namespace lumkar::test;

Q_DECLARE_METATYPE(lumkar::ChangeFrom)

class EntryAppointmentTest : public QObject {
    Q_OBJECT
private slots:
    void amountsByWhereTheChangeBegins_data()
    {
        QTest::addColumn<ChangeFrom>("from");
        QTest::addColumn<QVariant>("amount");
        QTest::addColumn<QVariant>("premium");
        QTest::addColumn<QString>("tutar");
        QTest::addColumn<QString>("prim");
        const ChangeFrom day = ChangeFrom::DayView;
        const ChangeFrom list = ChangeFrom::AppointmentList;
        QTest::newRow("day view, amounts") << day << QVariant(1250.5) << QVariant(4.5) << "1.250,50"
                                           << "4,50";
        QTest::newRow("day view, zero") << day << QVariant(0.0) << QVariant(0.0) << ""
                                        << "";
        QTest::newRow("day view, empty") << day << QVariant() << QVariant() << ""
                                         << "";
        QTest::newRow("day view, negative") << day << QVariant(-5.0) << QVariant(-1.0) << ""
                                            << "";
        QTest::newRow("list, amounts") << list << QVariant(1250.5) << QVariant(4.5) << "1250,5"
                                       << "";
        QTest::newRow("list, zero") << list << QVariant(0.0) << QVariant() << "0"
                                    << "";
        QTest::newRow("list, empty") << list << QVariant() << QVariant(2.0) << ""
                                     << "";
    }
    void amountsByWhereTheChangeBegins()
    {
        QFETCH(ChangeFrom, from);
        QFETCH(QVariant, amount);
        QFETCH(QVariant, premium);
        QFETCH(QString, tutar);
        QFETCH(QString, prim);
        App app;
        app.openDatabase();
        AppointmentRow row;
        row.owner = QStringLiteral("ece");
        row.ownerName = QStringLiteral("Ece Ak");
        row.day = QDate(2030, 3, 5);
        row.time = QTime(9, 45);
        row.sicilKodu = QStringLiteral("12");
        const qlonglong rid = app.addAppointment(row);
        app.exec(QStringLiteral("UPDATE randevu SET islem_tutari = ?, paketprim = ?, "
                                "adresi = ?, konu = ?, paketkodu = ?, paketadi = ? "
                                "WHERE rid = ?"),
            { amount, premium, QStringLiteral("Moda\r\nKadıköy\r\n"),
                QStringLiteral("bir\r\niki\r\n"), 7, QStringLiteral("Bakım"), rid });
        DataSet table(app.db());
        table.setTable(QStringLiteral("randevu"));
        QVERIFY(table.open());
        table.first();

        const EntryAppointment e = entryAppointmentOf(table, from);
        QCOMPARE(e.tutar, tutar);
        QCOMPARE(e.prim, prim);
        QCOMPARE(e.rid, QString::number(rid));
        QCOMPARE(e.sicilKodu, QStringLiteral("12"));
        QCOMPARE(e.tarih, QStringLiteral("05.03.2030"));
        QCOMPARE(e.saat, QStringLiteral("09:45"));
        QCOMPARE(e.adres, QStringLiteral("Moda\nKadıköy"));
        QCOMPARE(e.konu, QStringLiteral("bir\niki"));
        QCOMPARE(e.rkime, QStringLiteral("ece"));
        QCOMPARE(e.rkimeAdSoyad, QStringLiteral("Ece Ak"));
        QCOMPARE(e.paketKodu, QStringLiteral("7"));
        QCOMPARE(e.paketAdi, QStringLiteral("Bakım"));

        // Saved again unchanged, the texts give back the stored values.
        const BookingRow saved = bookingRow(e, QStringLiteral("Ece Ak"), QDateTime(), true);
        QVERIFY2(saved.message.isEmpty(), qPrintable(saved.message));
        QHash<QString, QVariant> fields;
        for (const auto &field : saved.fields)
            fields.insert(field.first, field.second);
        QCOMPARE(fields.value(QStringLiteral("konu")).toString(), QStringLiteral("bir\r\niki\r\n"));
        QCOMPARE(fields.value(QStringLiteral("adresi")).toString(),
            QStringLiteral("Moda\r\nKadıköy\r\n"));
        QCOMPARE(fields.value(QStringLiteral("randevutarihi")).toDateTime(),
            QDateTime(QDate(2030, 3, 5), QTime(0, 0)));
        const double stored = amount.toDouble() > 0 || from == ChangeFrom::AppointmentList
            ? amount.toDouble()
            : 0.0;
        QCOMPARE(fields.value(QStringLiteral("islem_tutari")).toDouble(), stored);
        QVERIFY(!fields.contains(QStringLiteral("rid")));
    }
};

LUMKAR_TEST(EntryAppointmentTest)
#include "tst_entryappointment.moc"
