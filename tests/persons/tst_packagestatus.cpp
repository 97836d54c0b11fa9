// What a person has of the packages: a person with three packages, visits with and without
// an appointment, a session marked held, waiting and cancelled appointments, a collection, and
// another person's lines beside them; the person record's grid and the printout.

#include "fixture.h"
#include "statementcounter.h"
#include "testregistry.h"

#include "accounts/collection.h"
#include "data/dataset.h"
#include "persons/packagestatus.h"
#include "persons/perozluk.h"
#include "persons/sicilrapor.h"
#include "reports/layouts.h"
#include "reports/runner.h"
#include "reports/preview.h"
#include "visits/visitposting.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QTest>

using namespace lumkar;
using namespace lumkar::test;

namespace {

struct Package {
    int code;
    QString name;
};
const Package kMasaj{3, QStringLiteral("Masaj")};
const Package kCilt{5, QStringLiteral("Cilt Bakımı")};
const Package kManikur{9, QStringLiteral("Manikür")};

QDate march(int day)
{
    return QDate(2025, 3, day);
}

qlonglong appointment(App &app, const QString &person, const Package &package, int day,
                      const QVariant &visit = {}, const QVariant &cancel = {})
{
    AppointmentRow row;
    row.owner = QStringLiteral("lumkar");
    row.sicilKodu = person;
    row.day = march(day);
    row.gorusmekodu = visit;
    row.iptalkodu = cancel;
    const qlonglong rid = app.addAppointment(row);
    app.exec(QStringLiteral("UPDATE randevu SET paketkodu = ?, paketadi = ? WHERE rid = ?"),
             {package.code, package.name, rid});
    return rid;
}

void visit(App &app, const QString &person, const Package *package, int day, double charged,
           double paid, const QVariant &rid = {})
{
    VisitEntry e;
    e.sicilkodu = person;
    e.adi = QStringLiteral("Ayşe");
    e.soyadi = QStringLiteral("Kaya");
    e.tarih = march(day);
    e.saat = QTime(10, 0);
    e.islemBorcu = charged;
    e.tahsiledilen = paid;
    e.randevuno = rid;
    e.rkime = QStringLiteral("lumkar");
    e.gorusenAdSoyad = QStringLiteral("Lumkar Yönetici");
    if (package) {
        e.paketkodu = package->code;
        e.paketadi = package->name;
    }
    e.odemesekli = cashPayment();
    QVERIFY(saveVisit(app.db(), e).ok);
}

// Person 7, Ayşe Kaya: Masaj bought at a visit from an appointment (1000, 400 paid), one more
// session marked held without a visit, two waiting and one cancelled appointment; Cilt Bakımı
// bought at a visit without an appointment (600, paid) and held once more free of charge;
// Manikür only booked; a visit without a package (150) and a collection of 300. Person 8 has a
// Masaj visit and a waiting Masaj appointment that must not count for person 7.
void seed(App &app)
{
    app.exec(QStringLiteral("INSERT INTO siciltablo (sicil_kodu, adi, soyadi) VALUES "
                            "('7', 'Ayşe', 'Kaya'), ('8', 'Oya', 'Su')"));
    const QString p = QStringLiteral("7");
    visit(app, p, &kMasaj, 1, 1000, 400, appointment(app, p, kMasaj, 1));
    appointment(app, p, kMasaj, 8, 999999);
    appointment(app, p, kMasaj, 15);
    appointment(app, p, kMasaj, 22);
    appointment(app, p, kMasaj, 23, {}, 999999);
    visit(app, p, &kCilt, 5, 600, 600);
    visit(app, p, &kCilt, 12, 0, 0);
    appointment(app, p, kManikur, 29);
    visit(app, p, nullptr, 20, 150, 0);
    CollectionEntry collection{p, QStringLiteral("Ayşe"), QStringLiteral("Kaya"), 300,
                               march(25), march(25), QStringLiteral("Taksit"), cashPayment(),
                               QStringLiteral("lumkar"), QStringLiteral("Lumkar Yönetici")};
    QVERIFY(writeCollection(app.db(), collection).ok);
    visit(app, QStringLiteral("8"), &kMasaj, 2, 999, 0);
    appointment(app, QStringLiteral("8"), kMasaj, 9);
}

} // namespace

class PackageStatusTest : public QObject {
    Q_OBJECT
private slots:
    void aPersonWithThreePackages_data()
    {
        QTest::addColumn<QVariant>("code");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QDate>("firstBought");
        QTest::addColumn<double>("charged");
        QTest::addColumn<int>("held");
        QTest::addColumn<int>("waiting");
        QTest::newRow("bought at a visit from an appointment")
            << QVariant(3) << "Masaj" << march(1) << 1000.0 << 2 << 2;
        QTest::newRow("bought at a visit without an appointment")
            << QVariant(5) << "Cilt Bakımı" << march(5) << 600.0 << 2 << 0;
        QTest::newRow("only booked") << QVariant(9) << "Manikür" << QDate() << 0.0 << 0 << 1;
        QTest::newRow("without a package")
            << QVariant() << packagelessName() << QDate() << 150.0 << 1 << 0;
    }
    void aPersonWithThreePackages()
    {
        QFETCH(QVariant, code);
        App app;
        seed(app);
        DataSet rows(app.db());
        QVERIFY(openPackageStatus(rows, QStringLiteral("7")));
        QCOMPARE(rows.recordCount(), 4);
        QVERIFY(rows.locate(QStringLiteral("paketkodu"), code) || code.isNull());
        if (code.isNull())
            rows.last(); // the row without a package comes last
        QVERIFY(rows.isNull(QStringLiteral("paketkodu")) == code.isNull());
        QTEST(rows.text(QStringLiteral("paketadi")), "name");
        QTEST(rows.value(QStringLiteral("tarih")).toDate(), "firstBought");
        QTEST(rows.value(QStringLiteral("borc")).toDouble(), "charged");
        QTEST(rows.value(QStringLiteral("yapilan")).toInt(), "held");
        QTEST(rows.value(QStringLiteral("bekleyen")).toInt(), "waiting");
    }

    // Debt and credit of every account line, the collection included; read through the
    // indexes on the person's code.
    void totalsAndTheBalanceOwed()
    {
        App app;
        seed(app);
        DataSet rows(app.db());
        const StatementCounter counter(app.db());
        QVERIFY(openPackageStatus(rows, QStringLiteral("7")));
        QCOMPARE(counter.runsWith(QStringLiteral("gorusmeler")).size(), 1);
        QCOMPARE(counter.runsWith(QStringLiteral("gorusmeler")).first().fullScanSteps, 0);
        // Every field the printout names is a column of these rows.
        QCOMPARE(reports::unresolvedFields(reports::layouts::perozluk(QStringLiteral("frReport1")),
                                           {{reports::layouts::singleLink(), &rows}}),
                 QStringList());
        const PackageTotals totals = packageTotals(rows);
        QCOMPARE(totals.borc, 1750.0);
        QCOMPARE(totals.alacak, 1300.0);
        QCOMPARE(totals.balance(), 450.0);
        QCOMPARE(totals.yapilan, 5);
        QCOMPARE(totals.bekleyen, 3);
        QCOMPARE(totalsText(totals), QStringLiteral("Toplam Borç: 1.750,00    Toplam Ödeme: "
                                                    "1.300,00    Kalan Borç: 450,00"));
        QVERIFY(openPackageStatus(rows, QStringLiteral("8")));
        QCOMPARE(packageTotals(rows).balance(), 999.0);
    }

    // The record shows the person it stands on, and another after a step; its printout and the
    // person list's menu entry print the same person's packages.
    void recordGridAndPrintouts()
    {
        App app;
        seed(app);
        QVERIFY(app.login(QStringLiteral("lumkar")));
        Tozluk *record = app.forms().ozluk;
        record->openOn(QStringLiteral("7"));
        QCOMPARE(record->paketGrid->model()->rowCount(), 4);
        QCOMPARE(record->paketGrid->model()->index(1, 1).data().toString(),
                 QStringLiteral("Cilt Bakımı"));
        QVERIFY(record->paketToplamLabel->text().endsWith(QStringLiteral("Kalan Borç: 450,00")));
        QPointer<ReportPreview> preview = record->paketYazdirButClick();
        QVERIFY(preview);
        const reports::PreparedReport &pages = preview->report();
        QCOMPARE(pages.rows, 4);
        QCOMPARE(pages.pages[0].textOf(QStringLiteral("Memo5")),
                 QStringLiteral("Kişi: 7 - Ayşe Kaya"));
        QVERIFY(reports::findText(pages, QStringLiteral("Manikür")).isValid());
        QCOMPARE(pages.pages.last().textOf(QStringLiteral("Memo15")), QStringLiteral("450,00"));
        preview->close();

        record->JvXPButton6Click(); // the next person
        QCOMPARE(record->paketGrid->model()->rowCount(), 1);
        QVERIFY(record->paketToplamLabel->text().endsWith(QStringLiteral("Kalan Borç: 999,00")));

        Tsicrapor *list = app.forms().sicrapor;
        QVERIFY(list->readPersons());
        list->show();
        QVERIFY(list->sicrapQuery->locate(QStringLiteral("sicil_kodu"), QStringLiteral("7")));
        QAction *entry = list->bolumgrid->contextMenu()->actions().value(0);
        QVERIFY(entry && entry->text() == QStringLiteral("Paket Durumu..."));
        preview = list->PaketDurumu1Click();
        QVERIFY(preview);
        QCOMPARE(preview->report().pages[0].textOf(QStringLiteral("Memo5")),
                 QStringLiteral("Kişi: 7 - Ayşe Kaya"));
        QVERIFY(app.dialogs.shown().isEmpty());
    }
};

LUMKAR_TEST(PackageStatusTest)
#include "tst_packagestatus.moc"
