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

QDate march(int day)
{
    return QDate(2025, 3, day);
}

// An appointment of `person` with package `code` (0: none); its number.
qlonglong appointment(App &app, const QString &person, int code, int day,
                      const QVariant &visit = {}, const QVariant &cancel = {})
{
    const qlonglong rid = app.addAppointment({QStringLiteral("lumkar"), march(day), QTime(9, 0),
                                              QStringLiteral("Ayşe"), QStringLiteral("Kaya"),
                                              visit, cancel, QString(), person});
    app.exec(QStringLiteral("UPDATE randevu SET paketkodu = ?, paketadi = ? WHERE rid = ?"),
             {code, QStringLiteral("Paket %1").arg(code), rid});
    return rid;
}

// A visit saved as the visits window saves it, with its account and cash lines.
void visit(App &app, const QString &person, int code, int day, double charged, double paid,
           const QVariant &rid = {})
{
    VisitEntry e{0, person, QStringLiteral("Ayşe"), QStringLiteral("Kaya"), march(day),
                 QTime(10, 0)};
    e.islemBorcu = charged;
    e.tahsiledilen = paid;
    e.randevuno = rid;
    e.rkime = QStringLiteral("lumkar");
    e.gorusenAdSoyad = QStringLiteral("Lumkar Yönetici");
    e.paketkodu = code > 0 ? QVariant(code) : QVariant();
    e.paketadi = code > 0 ? QStringLiteral("Paket %1").arg(code) : QString();
    e.odemesekli = cashPayment();
    QVERIFY(saveVisit(app.db(), e).ok);
}

// Person 7: package 3 bought at a visit from an appointment (1000, 400 paid), one more session
// marked held without a visit, two waiting and one cancelled appointment; package 5 bought at
// a visit without an appointment (600, paid) and held once more free of charge; package 9
// only booked; a visit without a package (150) and a collection of 300. Person 8's package 3
// visit and appointment must not count for person 7.
void seed(App &app)
{
    app.exec(QStringLiteral("INSERT INTO siciltablo (sicil_kodu, adi, soyadi) VALUES "
                            "('7', 'Ayşe', 'Kaya'), ('8', 'Oya', 'Su')"));
    const QString p = QStringLiteral("7");
    visit(app, p, 3, 1, 1000, 400, appointment(app, p, 3, 1));
    appointment(app, p, 3, 8, 999999);
    appointment(app, p, 3, 15);
    appointment(app, p, 3, 22);
    appointment(app, p, 3, 23, {}, 999999);
    visit(app, p, 5, 5, 600, 600);
    visit(app, p, 5, 12, 0, 0);
    appointment(app, p, 9, 29);
    visit(app, p, 0, 20, 150, 0);
    QVERIFY(writeCollection(app.db(), {p, QStringLiteral("Ayşe"), QStringLiteral("Kaya"), 300,
                                       march(25), march(25), QStringLiteral("Taksit"),
                                       cashPayment(), QStringLiteral("lumkar"),
                                       QStringLiteral("Lumkar Yönetici")})
                .ok);
    visit(app, QStringLiteral("8"), 3, 2, 999, 0);
    appointment(app, QStringLiteral("8"), 3, 9);
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
            << QVariant(3) << "Paket 3" << march(1) << 1000.0 << 2 << 2;
        QTest::newRow("bought at a visit without an appointment")
            << QVariant(5) << "Paket 5" << march(5) << 600.0 << 2 << 0;
        QTest::newRow("only booked") << QVariant(9) << "Paket 9" << QDate() << 0.0 << 0 << 1;
        QTest::newRow("without a package")
            << QVariant() << packagelessName() << QDate() << 150.0 << 1 << 0;
    }
    void aPersonWithThreePackages()
    {
        QFETCH(QVariant, code);
        App app;
        seed(app);
        DataSet rows(app.db());
        const StatementCounter counter(app.db());
        QVERIFY(openPackageStatus(rows, QStringLiteral("7")));
        // Read through the indexes on the person's code (counted in the embedded engine).
        if (!usesServer())
            QCOMPARE(counter.runsWith(QStringLiteral("gorusmeler")).first().fullScanSteps, 0);
        QCOMPARE(rows.recordCount(), 4);
        if (!rows.locate(QStringLiteral("paketkodu"), code))
            rows.last(); // the row without a package comes last
        QCOMPARE(rows.isNull(QStringLiteral("paketkodu")), code.isNull());
        QTEST(rows.text(QStringLiteral("paketadi")), "name");
        QTEST(rows.value(QStringLiteral("tarih")).toDate(), "firstBought");
        QTEST(rows.value(QStringLiteral("borc")).toDouble(), "charged");
        QTEST(rows.value(QStringLiteral("yapilan")).toInt(), "held");
        QTEST(rows.value(QStringLiteral("bekleyen")).toInt(), "waiting");
        // Every field the printout names is a column of these rows.
        QCOMPARE(reports::unresolvedFields(reports::layouts::perozluk(QStringLiteral("frReport1")),
                                           {{reports::layouts::singleLink(), &rows}}),
                 QStringList());
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
                 QStringLiteral("Paket 5"));
        // Debt and credit of every account line, the collection included.
        QCOMPARE(record->paketToplamLabel->text(),
                 QStringLiteral("Toplam Borç: 1.750,00    Toplam Ödeme: 1.300,00    Kalan "
                                "Borç: 450,00"));
        QPointer<ReportPreview> preview = record->paketYazdirButClick();
        QVERIFY(preview);
        const reports::PreparedReport &pages = preview->report();
        QCOMPARE(pages.rows, 4);
        QCOMPARE(pages.pages[0].textOf(QStringLiteral("Memo5")),
                 QStringLiteral("Kişi: 7 - Ayşe Kaya"));
        QVERIFY(reports::findText(pages, QStringLiteral("Paket 9")).isValid());
        QStringList totals;
        for (const char *cell : {"Memo6", "Memo9", "Memo15"})
            totals << pages.pages.last().textOf(QString::fromLatin1(cell));
        QCOMPARE(totals, (QStringList{"1.750,00", "1.300,00", "450,00"}));

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
