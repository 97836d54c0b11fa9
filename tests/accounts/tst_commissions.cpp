// The commission report on a small month worked out by hand, and its window: the lists, the
// totals, the printout and the spreadsheet export.

#include "fixture.h"
#include "testregistry.h"

#include "accounts/commissions.h"
#include "accounts/primrapor.h"
#include "data/formats.h"
#include "reports/preview.h"
#include "shell/anamenu.h"

#include <QAction>
#include <QDateEdit>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>

using namespace lumkar;
using namespace lumkar::test;

namespace {

// March 2026 with a visit on each side of it. By hand, the commission is charged x rate / 100:
//   ayse 01.03  1.000,00 at 10 %    ->  100,00   (600 collected)
//   ayse 05.03    350,00 at 12,5 %  ->   43,75   (350 collected)
//   ali  10.03    333,33 at 12,5 %  ->   41,67   (41,66625; 100 collected)
//   ali  15.03   nothing charged    ->    0,00   (rate 7 %)
//   ayse 31.03    200,00 no package ->    0,00
//   ayse 28.02 (500 at 10 %) and ali 01.04 (999 at 10 % -> 99,90) lie outside March.
void seedMonth(App &app)
{
    const QString sql = QStringLiteral(
        "INSERT INTO gorusmeler (tarih, RKime, gorusenadsoyad, adi, soyadi, paketadi, paketprim, "
        "islem_borcu, tahsiledilen) VALUES (?, ?, ?, 'Zeki', 'Su', ?, ?, ?, ?)");
    const QVariant none;
    struct Visit {
        int month, day;
        const char *user;
        QVariant rate, charged, collected;
    };
    const QVector<Visit> visits { { 2, 28, "ayse", 10, 500, 0 }, { 3, 1, "ayse", 10, 1000, 600 },
        { 3, 5, "ayse", 12.5, 350, 350 }, { 3, 10, "ali", 12.5, 333.33, 100 },
        { 3, 15, "ali", 7, none, 0 }, { 3, 31, "ayse", none, 200, 0 },
        { 4, 1, "ali", 10, 999, 0 } };
    for (const Visit &v : visits) {
        const QString user = QString::fromLatin1(v.user);
        app.exec(sql,
            { QStringLiteral("2026-%1-%2 00:00:00")
                    .arg(v.month, 2, 10, QLatin1Char('0'))
                    .arg(v.day, 2, 10, QLatin1Char('0')),
                user,
                user == QLatin1String("ali") ? QStringLiteral("Ali Can")
                                             : QStringLiteral("Ayşe Kaya"),
                v.rate.isNull() ? QString() : QStringLiteral("Paket"), v.rate, v.charged,
                v.collected });
    }
}

// "user day commission" per line, "user visits charged collected commission" per user.
QStringList lineTexts(DataSet &lines)
{
    QStringList out;
    for (lines.first(); !lines.eof(); lines.next())
        out << lines.text(QStringLiteral("RKime")) + QLatin1Char(' ')
                + formats::date(lines.value(QStringLiteral("tarih"))) + QLatin1Char(' ')
                + formats::amountTotal(lines.value(QStringLiteral("prim")).toDouble());
    return out;
}

QStringList totalTexts(DataSet &totals)
{
    QStringList out;
    for (totals.first(); !totals.eof(); totals.next()) {
        QStringList fields { totals.text(QStringLiteral("RKime")),
            totals.text(QStringLiteral("gorusmesayisi")) };
        for (const char *amount : { "islem_borcu", "tahsiledilen", "prim" })
            fields << formats::amountTotal(totals.value(QString::fromLatin1(amount)).toDouble());
        out << fields.join(QLatin1Char(' '));
    }
    return out;
}

} // namespace

class CommissionsTest : public QObject {
    Q_OBJECT
private slots:
    void seededMonth_data()
    {
        QTest::addColumn<QDate>("first");
        QTest::addColumn<QDate>("last");
        QTest::addColumn<QString>("user"); // empty: every user
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QStringList>("totals");
        QTest::addColumn<QString>("all"); // visits, charged, collected, commission
        const QString ayse = QStringLiteral("ayse 3 1.550,00 950,00 143,75");
        const QString ali = QStringLiteral("ali 2 333,33 100,00 41,67");
        QTest::newRow("March, every user")
            << QDate(2026, 3, 1) << QDate(2026, 3, 31) << ""
            << QStringList { "ali 10.03.2026 41,67", "ali 15.03.2026 0,00",
                   "ayse 01.03.2026 100,00", "ayse 05.03.2026 43,75", "ayse 31.03.2026 0,00" }
            << QStringList { ali, ayse } << "5 1.883,33 1.050,00 185,42";
        QTest::newRow("March, Ayşe") << QDate(2026, 3, 1) << QDate(2026, 3, 31) << "ayse"
                                     << QStringList { "ayse 01.03.2026 100,00",
                                            "ayse 05.03.2026 43,75", "ayse 31.03.2026 0,00" }
                                     << QStringList { ayse } << "3 1.550,00 950,00 143,75";
        QTest::newRow("the last and the first day")
            << QDate(2026, 3, 31) << QDate(2026, 4, 1) << ""
            << QStringList { "ali 01.04.2026 99,90", "ayse 31.03.2026 0,00" }
            << QStringList { "ali 1 999,00 0,00 99,90", "ayse 1 200,00 0,00 0,00" }
            << "2 1.199,00 0,00 99,90";
        QTest::newRow("a user without visits")
            << QDate(2026, 3, 1) << QDate(2026, 3, 31) << "selin" << QStringList {}
            << QStringList {} << "0 0,00 0,00 0,00";
    }
    void seededMonth()
    {
        QFETCH(QDate, first);
        QFETCH(QDate, last);
        QFETCH(QString, user);
        App app;
        seedMonth(app);
        const CommissionFilter filter { first, last, user.isEmpty(), user };
        DataSet lines(app.db());
        lines.setQuery(commissionLinesQuery(filter));
        QVERIFY(lines.openBound(filter.values()));
        DataSet totals(app.db());
        totals.setQuery(commissionTotalsQuery(filter));
        QVERIFY(totals.openBound(filter.values()));
        QTEST(lineTexts(lines), "lines");
        QTEST(totalTexts(totals), "totals");
        const CommissionTotals sum = sumCommissionTotals(totals);
        QTEST(QStringLiteral("%1 %2 %3 %4")
                  .arg(sum.visits)
                  .arg(formats::amountTotal(sum.charged), formats::amountTotal(sum.collected),
                      formats::amountTotal(sum.commission)),
            "all");
    }

    // The window over the same month: the lists, the totals, the printout with how the
    // commission is computed, and both lists offered as spreadsheet files.
    void window()
    {
        App app;
        app.addUser(
            QStringLiteral("ayse"), QString(), QStringLiteral("Ayşe"), QStringLiteral("Kaya"));
        app.addUser(QStringLiteral("ali"), QString(), QStringLiteral("Ali"), QStringLiteral("Can"));
        QVERIFY(app.login(QStringLiteral("ayse")));
        seedMonth(app);
        TprimF *window = app.forms().primF;
        window->JvDateTimePicker1->setDate(QDate(2026, 3, 1));
        window->JvDateTimePicker2->setDate(QDate(2026, 3, 31));
        window->CheckBox2->setChecked(true);
        app.forms().anamenuf->N13PrimRaporu();
        QVERIFY(window->isVisible());
        QCOMPARE(window->primTable->recordCount(), 5);
        QCOMPARE(window->toplamTable->recordCount(), 2);
        QCOMPARE((QStringList { window->gorusmeSayisiEdit->text(), window->islemTutariEdit->text(),
                     window->tahsilEdit->text(), window->primEdit->text() }),
            (QStringList { "5", "1.883,33", "1.050,00", "185,42" }));
        window->CheckBox2->setChecked(false);
        QTest::mouseClick(window->yukleBut, Qt::LeftButton);
        QCOMPARE(window->primEdit->text(), QStringLiteral("143,75"));

        ReportPreview *preview = window->yazButClick();
        QVERIFY(preview);
        QCOMPARE(preview->windowTitle(), QStringLiteral("Lumkar Rapor Önizleme - Prim Raporu"));
        const reports::PreparedPage &page = preview->report().pages.first();
        QCOMPARE(page.textOf(QStringLiteral("Memo5")),
            QStringLiteral("01.03.2026 - 31.03.2026 PRİM RAPORU, Ayşe Kaya"));
        QCOMPARE(page.textOf(QStringLiteral("Memo14")), QStringLiteral("143,75"));
        QCOMPARE(page.textOf(QStringLiteral("Memo20")), commissionBasisText());
        QVERIFY(page.texts().contains(QStringLiteral("43,75")));
        QCOMPARE(page.itemsNamed(QStringLiteral("S2Field1")).size(), 1); // one user's totals
        preview->close();
        for (GridView *grid : { window->primGrid, window->toplamGrid }) {
            QStringList offered;
            for (QAction *action : grid->contextMenu()->actions())
                offered << action->text();
            QVERIFY(offered.contains(QStringLiteral("Listeyi Dışa Aktar (CSV)...")));
        }
    }
};

LUMKAR_TEST(CommissionsTest)
#include "tst_commissions.moc"
