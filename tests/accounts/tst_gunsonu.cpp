// The day-end window: the day's figures, the drawer counted piece by piece, "GÜNÜ KAPAT", the
// printout, the card book without a count; and a closed day's line in the cash window, refused
// to a user without the right and asked about with it.

#include "fixture.h"
#include "moneydata.h"
#include "testregistry.h"

#include "accounts/dayclose.h"
#include "accounts/gunsonu.h"
#include "accounts/ledger.h"
#include "reports/preview.h"
#include "shell/anamenu.h"

#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>

using namespace lumkar;
using namespace lumkar::test;

namespace {

const QDate kDay(2026, 3, 10);

QStringList figures(TgunsonuF *w)
{
    return { w->nakliyekunEdit->text(), w->tahsilatEdit->text(), w->odemeEdit->text(),
        w->mevcutEdit->text(), w->sayilanEdit->text(), w->farkEdit->text(), w->farkLabel->text() };
}

// Ayşe (logged in, with or without the right to change everyone's records) has 100 from
// before the day, 250 in and 40 out on it; Ali 1000 in on it.
TgunsonuF *openDay(App &app, const QString &herkesidegistir)
{
    Rights rights;
    rights.herkesidegistir = herkesidegistir;
    app.addUser(
        QStringLiteral("ayse"), QString(), QStringLiteral("Ayşe"), QStringLiteral("Kaya"), rights);
    app.addUser(QStringLiteral("ali"), QString(), QStringLiteral("Ali"), QStringLiteral("Can"));
    if (!app.login(QStringLiteral("ayse")))
        return nullptr;
    addMoneyLine(app, cashBook(), { QDateTime(kDay.addDays(-2), QTime()), 100, 0 });
    addMoneyLine(app, cashBook(), { QDateTime(kDay, QTime()), 250, 0 });
    addMoneyLine(app, cashBook(), { QDateTime(kDay, QTime()), 0, 40 });
    addMoneyLine(app, cashBook(),
        { QDateTime(kDay, QTime()), 1000, 0, QStringLiteral("ali"), QStringLiteral("Ali Can") });
    TgunsonuF *window = app.forms().gunsonuF;
    window->gunPicker->setDate(kDay);
    app.forms().anamenuf->N12GunSonu();
    return window;
}

} // namespace

class GunSonuTest : public QObject {
    Q_OBJECT
private slots:
    void countCloseAndPrint()
    {
        App app;
        TgunsonuF *window = openDay(app, QStringLiteral("E"));
        QVERIFY(window && window->isVisible());
        QCOMPARE(window->hareketTable->recordCount(), 2);
        QCOMPARE(window->durumLabel->text(), QStringLiteral("Bu gün kapatılmamıştır."));
        // One 200, one 100, and a 5 kr coin short of 5 TL: 304,95 against 310.
        window->adetBoxes[0]->setValue(1);
        window->adetBoxes[1]->setValue(1);
        window->adetBoxes[10]->setValue(99);
        QCOMPARE(figures(window),
            (QStringList {
                "100,00", "250,00", "40,00", "310,00", "304,95", "-5,05", "Kasa açığı" }));
        app.dialogs.expectQuestion(Answer::Yes);
        QTest::mouseClick(window->gunuKapatBut, Qt::LeftButton);
        QVERIFY(app.dialogs.lastText().startsWith(
            QStringLiteral("10.03.2026 günü Ayşe Kaya için kapatılacak. Kasa Mevcudu 310,00, "
                           "sayılan 304,95, fark -5,05 (Kasa açığı).")));
        QCOMPARE(countRows(app, QStringLiteral("gunsonu"),
                     QStringLiteral("kullanici = 'ayse' AND mevcut = 310 AND "
                                    "sayilan = 304.95 AND fark = -5.05 AND sayim = ?"),
                     { QStringLiteral("200 TL x 1, 100 TL x 1, 5 kr x 99") }),
            1);
        QVERIFY(window->durumLabel->text().contains(QStringLiteral("Ayşe Kaya tarafından")));

        ReportPreview *preview = window->yazButClick();
        QVERIFY(preview);
        const reports::PreparedPage &page = preview->report().pages.first();
        QCOMPARE(page.textOf(QStringLiteral("Memo1")), QStringLiteral("10.03.2026 KASA GÜN SONU"));
        QCOMPARE(page.textOf(QStringLiteral("Memo15")), QStringLiteral("310,00"));
        QCOMPARE(page.textOf(QStringLiteral("Memo21")), QStringLiteral("-5,05"));
        QCOMPARE(page.textOf(QStringLiteral("Memo21Label")), QStringLiteral("FARK (Kasa açığı)"));
        QCOMPARE(page.textOf(QStringLiteral("Memo22")),
            QStringLiteral("SAYIM: 200 TL x 1, 100 TL x 1, 5 kr x 99"));
        // The closing as the window states it, wrapped on the page.
        QCOMPARE(page.textOf(QStringLiteral("Memo23")).replace(QLatin1Char('\n'), QLatin1Char(' ')),
            window->durumLabel->text());
        preview->close();

        // The card book is closed without a count.
        window->kkartRadio->setChecked(true);
        QVERIFY(window->sayimGroup->isHidden());
        QCOMPARE(window->mevcutEdit->text(), QStringLiteral("0,00"));
        app.dialogs.expectQuestion(Answer::Yes);
        QTest::mouseClick(window->gunuKapatBut, Qt::LeftButton);
        QCOMPARE(countRows(app, QStringLiteral("gunsonu"),
                     QStringLiteral("defter = 'kredikart' AND sayilan IS NULL")),
            1);
    }

    // A closed day's outflow in the cash window: without the right a notice, with it a question
    // naming the day; only Yes deletes.
    void closedDayInTheCashWindow_data()
    {
        QTest::addColumn<QString>("right");
        QTest::addColumn<int>("answer"); // -1: no question
        QTest::addColumn<int>("left"); // Ayşe's lines of the day afterwards
        QTest::newRow("without the right") << "H" << -1 << 2;
        QTest::newRow("with it, No") << "E" << int(Answer::No) << 2;
        QTest::newRow("with it, Yes") << "E" << int(Answer::Yes) << 1;
    }
    void closedDayInTheCashWindow()
    {
        QFETCH(QString, right);
        QFETCH(int, answer);
        App app;
        TgunsonuF *window = openDay(app, right);
        QVERIFY(window);
        window->tutarRadio->setChecked(true);
        typeText(window->tutarEdit, QStringLiteral("310"));
        app.dialogs.expectQuestion(Answer::Yes);
        QTest::mouseClick(window->gunuKapatBut, Qt::LeftButton);
        QCOMPARE(countRows(app, QStringLiteral("gunsonu"), QStringLiteral("fark = 0")), 1);

        LedgerWindow *cash = app.forms().kasaF;
        cash->DateTimePicker61->setDate(kDay);
        cash->DateTimePicker1->setDate(kDay);
        app.forms().anamenuf->N9Kasa();
        QVERIFY(cash->ledgerTable->locate(QStringLiteral("alacak"), 40.0));
        app.dialogs.expectQuestion(Answer::Yes); // "Bu kasa hareketini silmek ..."
        if (answer < 0)
            app.dialogs.expectNotice();
        else
            app.dialogs.expectQuestion(Answer(answer));
        cash->deleteMovement();
        QCOMPARE(
            app.dialogs.lastText(), answer < 0 ? closedDayRefusal(kDay) : closedDayQuestion(kDay));
        QTEST(countRows(app, cashBook(), QStringLiteral("tarih = ? AND gorusen_kodu = 'ayse'"),
                  { QStringLiteral("2026-03-10 00:00:00") }),
            "left");
        QVERIFY(app.dialogs.allConsumed());
    }
};

LUMKAR_TEST(GunSonuTest)
#include "tst_gunsonu.moc"
