// Every printout of the money and visit windows runs over its window's own data set, and every
// field its layout names is a column of that data set, the computed balance included.

#include "fixture.h"
#include "moneydata.h"
#include "testregistry.h"

#include "accounts/cari.h"
#include "accounts/gunsonu.h"
#include "accounts/ledger.h"
#include "accounts/primrapor.h"
#include "reports/layouts.h"
#include "reports/runner.h"
#include "visits/gorusme.h"

#include <QTest>

using namespace lumkar;
using namespace lumkar::test;
using namespace lumkar::reports;

class LayoutFieldsTest : public QObject {
    Q_OBJECT
private slots:
    void everyFieldResolves_data()
    {
        QTest::addColumn<QString>("layout");
        QTest::newRow("person accounts by dates") << "cari.frReport5";
        QTest::newRow("one person's account") << "cari.frReport1";
        QTest::newRow("visits") << "gorusme.frReport5";
        QTest::newRow("cash") << "kasa.frReport5";
        QTest::newRow("card") << "kkart.frReport5";
        QTest::newRow("cash day close") << "gunsonu.frReport1";
        QTest::newRow("card day close") << "gunsonu.frReport2";
        QTest::newRow("commissions") << "prim.frReport1";
    }
    void everyFieldResolves()
    {
        QFETCH(QString, layout);
        App app;
        QVERIFY(app.login(QStringLiteral("lumkar")));
        Forms &forms = app.forms();
        // The windows open their data sets as their users would.
        forms.cariF->openAccounts();
        forms.gorusmeF->reopenVisits();
        forms.kasaF->openBook();
        forms.kkartF->openBook();
        forms.gunsonuF->openDay();
        forms.primF->openReport();
        const QHash<QString, DataSet *> windowData{
            {QStringLiteral("cari"), forms.cariF->cariTable},
            {QStringLiteral("gorusme"), forms.gorusmeF->gorusmeTable},
            {QStringLiteral("kasa"), forms.kasaF->ledgerTable},
            {QStringLiteral("kkart"), forms.kkartF->ledgerTable},
            {QStringLiteral("gunsonu"), forms.gunsonuF->hareketTable},
            {QStringLiteral("prim"), forms.primF->primTable}};
        DataSet *dataSet = windowData.value(layout.section(QLatin1Char('.'), 0, 0));
        QVERIFY(dataSet && dataSet->isOpen());
        const Layout plan = layouts::byName(layout);
        QVERIFY(!plan.isEmpty());
        // The commissions print a second list, the totals of each user.
        DataLinks links{{layouts::singleLink(), dataSet}};
        if (layout.startsWith(QLatin1String("prim.")))
            links.insert(layouts::userTotalsLink(), forms.primF->toplamTable);
        QCOMPARE(unresolvedFields(plan, links), QStringList());
    }

    void aMisspeltFieldIsCaught()
    {
        App app;
        QVERIFY(app.login(QStringLiteral("lumkar")));
        app.forms().cariF->openAccounts();
        Layout plan = layouts::cari(QStringLiteral("frReport5"));
        for (Band &band : plan.bands)
            for (Cell &cell : band.cells)
                cell.text.replace(QStringLiteral("[bakiye]"), QStringLiteral("[bakiyee]"));
        QCOMPARE(unresolvedFields(plan, {{layouts::singleLink(), app.forms().cariF->cariTable}}),
                 QStringList{QStringLiteral("frDBDataSet1.bakiyee")});
        // A data band without its data set resolves nothing.
        QVERIFY(!unresolvedFields(layouts::kasa(QStringLiteral("frReport5")), {}).isEmpty());
    }
};

LUMKAR_TEST(LayoutFieldsTest)
#include "tst_layoutfields.moc"
