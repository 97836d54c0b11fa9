// The person-accounts window: the three filters that exclude each other, the totals, the
// collection with its two questions and its writes, the hand-over from the person list and
// the two printouts.

#include "fixture.h"
#include "moneydata.h"
#include "testregistry.h"

#include "accounts/cari.h"
#include "accounts/ledger.h"
#include "persons/sicilrapor.h"
#include "reports/preview.h"
#include "shell/anamenu.h"

#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace lumkar;
using namespace lumkar::test;

namespace {

const QDate kDay(2026, 3, 10);

void addPersonRow(App &app, const QString &code, const QString &adi, const QString &soyadi)
{
    app.exec(QStringLiteral("INSERT INTO siciltablo (sicil_kodu, adi, soyadi) VALUES (?,?,?)"),
             {code, adi, soyadi});
}

// Ayşe Kaya logged in; persons 7 Ali Kaya, 8 Ali Demir, 9 Zeki Kaya, 10 Can Ak with lines
// on the 10th (7: 400 charged, 100 paid; 8: 200 charged; 9: 50 charged) and one old line of
// 10 on the 1st.
TcariF *openAccounts(App &app)
{
    app.addUser(QStringLiteral("ayse"), QString(), QStringLiteral("Ayşe"),
                QStringLiteral("Kaya"));
    addPersonRow(app, QStringLiteral("7"), QStringLiteral("Ali"), QStringLiteral("Kaya"));
    addPersonRow(app, QStringLiteral("8"), QStringLiteral("Ali"), QStringLiteral("Demir"));
    addPersonRow(app, QStringLiteral("9"), QStringLiteral("Zeki"), QStringLiteral("Kaya"));
    addPersonRow(app, QStringLiteral("10"), QStringLiteral("Can"), QStringLiteral("Ak"));
    addAccountLine(app, {QStringLiteral("7"), QStringLiteral("Ali"), QStringLiteral("Kaya"), kDay,
                         400, 100});
    addAccountLine(app, {QStringLiteral("8"), QStringLiteral("Ali"), QStringLiteral("Demir"),
                         kDay, 200, 0});
    addAccountLine(app, {QStringLiteral("9"), QStringLiteral("Zeki"), QStringLiteral("Kaya"),
                         kDay, 50, 0});
    addAccountLine(app, {QStringLiteral("7"), QStringLiteral("Ali"), QStringLiteral("Kaya"),
                         QDate(2026, 3, 1), 10, 0});
    if (!app.login(QStringLiteral("ayse")))
        return nullptr;
    TcariF *accounts = app.forms().cariF;
    for (QDateEdit *picker : {accounts->JvDateTimePicker1, accounts->JvDateTimePicker2,
                              accounts->JvDateTimePicker3, accounts->JvDateTimePicker4})
        picker->setDate(kDay);
    app.forms().anamenuf->N6Cari();
    return accounts->isVisible() ? accounts : nullptr;
}

// A click on the box itself (its middle may lie beside the box and its text).
void clickBox(QAbstractButton *box)
{
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
}

QStringList totals(TcariF *accounts)
{
    return {accounts->borcEdit->text(), accounts->alacakEdit->text(),
            accounts->bakiyeEdit->text()};
}

QStringList codesShown(DataSet *dataSet)
{
    QStringList codes;
    for (int r = 0; r < dataSet->recordCount(); ++r)
        codes << dataSet->valueAt(r, dataSet->fieldIndex(QStringLiteral("sicilkodu"))).toString();
    return codes;
}

// A collection of `amount` for the person in the code box, answered Yes with a description.
void collect(App &app, TcariF *accounts, const QString &amount, bool card = false)
{
    // Set as a paste would: the key rule is the entry rules' business.
    accounts->tahsiledilenEdit->setText(amount);
    (card ? accounts->krediKartiRadio : accounts->nakitRadio)->setChecked(true);
    app.dialogs.expectQuestion(Answer::Yes);
    app.dialogs.expectInput(true, QStringLiteral("Mart taksiti"));
    QTest::mouseClick(accounts->tahsilBut, Qt::LeftButton);
}

} // namespace

class CariTest : public QObject {
    Q_OBJECT
private slots:
    void datesAtStartThenOnePerson()
    {
        App app;
        TcariF *accounts = openAccounts(app);
        QVERIFY(accounts);
        QVERIFY(accounts->tarihBox->isChecked());
        QCOMPARE(codesShown(accounts->cariTable), (QStringList{"7", "8", "9"}));
        QCOMPARE(totals(accounts), (QStringList{"650,00", "100,00", "550,00"}));
        QCOMPARE(accounts->raporTuru, QStringLiteral("tarih"));
        QCOMPARE(accounts->raporIlkTarih, QStringLiteral("10.03.2026"));
        // The balance of every line, computed.
        QCOMPARE(accounts->JvDBUltimGrid1->gridModel()->cellText(0, 8), QStringLiteral("300,00"));

        // "Kodu Sınırla" after the dates: the date box is cleared, all dates of person 7.
        accounts->kisinoedit->setText(QStringLiteral("7"));
        clickBox(accounts->firmakoduBox);
        QVERIFY(accounts->firmakoduBox->isChecked());
        QVERIFY(!accounts->tarihBox->isChecked());
        QVERIFY(!accounts->firmaadiBox->isChecked());
        // Nothing changes before "Yenile".
        QCOMPARE(codesShown(accounts->cariTable), (QStringList{"7", "8", "9"}));
        QTest::mouseClick(accounts->yenileBut, Qt::LeftButton);
        QCOMPARE(codesShown(accounts->cariTable), (QStringList{"7", "7"}));
        QCOMPARE(totals(accounts), (QStringList{"410,00", "100,00", "310,00"}));
        QCOMPARE(accounts->raporTuru, QStringLiteral("firma"));
        QCOMPARE(accounts->AdiEdit->text(), QStringLiteral("Ali"));
        QCOMPARE(accounts->raporSoyadi, QStringLiteral("Kaya"));

        // A box left by the keyboard clears the others too.
        accounts->activateWindow();
        accounts->firmaadiBox->setFocus();
        QTRY_VERIFY(accounts->firmaadiBox->hasFocus());
        accounts->firmaadiBox->setChecked(true);
        accounts->yenileBut->setFocus();
        QTRY_VERIFY(!accounts->firmakoduBox->isChecked());
    }

    void nameFilterAliOrKaya()
    {
        App app;
        TcariF *accounts = openAccounts(app);
        QVERIFY(accounts);
        accounts->AdiEdit->setText(QStringLiteral("Ali"));
        accounts->SoyadiEdit->setText(QStringLiteral("Kaya"));
        clickBox(accounts->firmaadiBox);
        QTest::mouseClick(accounts->yenileBut, Qt::LeftButton);
        QCOMPARE(codesShown(accounts->cariTable), (QStringList{"7", "8", "9", "7"}));

        // A filter that leaves nothing: the surname box emptied, the first name kept.
        accounts->AdiEdit->setText(QStringLiteral("Veli"));
        accounts->SoyadiEdit->setText(QStringLiteral("Yok"));
        QTest::mouseClick(accounts->yenileBut, Qt::LeftButton);
        QCOMPARE(accounts->cariTable->recordCount(), 0);
        QCOMPARE(accounts->AdiEdit->text(), QStringLiteral("Veli"));
        QVERIFY(accounts->SoyadiEdit->text().isEmpty());
        QCOMPARE(totals(accounts), (QStringList{"0,00", "0,00", "0,00"}));
    }

    void cashCollectionForPerson7()
    {
        App app;
        TcariF *accounts = openAccounts(app);
        QVERIFY(accounts);
        accounts->kisinoedit->setText(QStringLiteral("7"));
        clickBox(accounts->firmakoduBox);
        QTest::mouseClick(accounts->yenileBut, Qt::LeftButton);
        QCOMPARE(accounts->bakiyeEdit->text(), QStringLiteral("310,00"));
        collect(app, accounts, QStringLiteral("150"));
        const QStringList shown = app.dialogs.texts();
        QCOMPARE(shown.value(0),
                 QStringLiteral("AliKaya na 10.03.2026 tarihli işlemine istinaden 10.03.2026 "
                                "tarihinde 10.03.2026 işlem vadeli 150 tutarında tahsilat "
                                "girilecektir. Devam edilsin mi?"));
        QCOMPARE(app.dialogs.shown().value(1).title, QStringLiteral("Açıklama Girişi"));
        const qlonglong line = app.scalar(
            QStringLiteral("SELECT mid FROM cari WHERE alacak = 150 AND odemesekli = 'Nakit' AND "
                           "sicilkodu = '7' AND aciklama = 'Mart taksiti' AND gorusen = "
                           "'Ayşe Kaya' AND borc IS NULL")).toLongLong();
        QVERIFY(line > 0);
        QCOMPARE(countRows(app, QStringLiteral("kasa"),
                           QStringLiteral("borc = 150 AND tahsilatno = ? AND gorusen_kodu = "
                                          "'ayse' AND tarih = '2026-03-10 00:00:00'"),
                           {line}),
                 1);
        QCOMPARE(countRows(app, QStringLiteral("kredikart")), 0);
        // The balance falls by 150.
        QCOMPARE(accounts->bakiyeEdit->text(), QStringLiteral("160,00"));
        QCOMPARE(accounts->cariTable->recordCount(), 3);
    }

    void cardCollectionCarriesTheRoundedAmount()
    {
        App app;
        TcariF *accounts = openAccounts(app);
        QVERIFY(accounts);
        accounts->kisinoedit->setText(QStringLiteral("9"));
        LedgerWindow *card = app.forms().kkartF;
        card->DateTimePicker61->setDate(kDay);
        card->DateTimePicker1->setDate(kDay);
        app.forms().anamenuf->N10KrediKarti();
        collect(app, accounts, QStringLiteral("20,125"), true);
        QVERIFY(app.dialogs.texts().value(0).contains(QStringLiteral(" 20,12 tutarında")));
        QCOMPARE(app.scalar(QStringLiteral("SELECT alacak FROM cari WHERE sicilkodu = '9' AND "
                                           "alacak > 0")).toDouble(), 20.12);
        QCOMPARE(app.scalar(QStringLiteral("SELECT borc FROM kredikart")).toDouble(), 20.12);
        QCOMPARE(countRows(app, QStringLiteral("kasa")), 0);
        // The card window shows the new line at once.
        QCOMPARE(card->ledgerTable->recordCount(), 1);
    }

    void refusalsWriteNothing()
    {
        App app;
        TcariF *accounts = openAccounts(app);
        QVERIFY(accounts);
        // Below a kuruş: silently ignored.
        typeText(accounts->tahsiledilenEdit, QStringLiteral("0"));
        QTest::mouseClick(accounts->tahsilBut, Qt::LeftButton);
        QVERIFY(app.dialogs.shown().isEmpty());
        // No code.
        accounts->tahsiledilenEdit->setText(QStringLiteral("50"));
        app.dialogs.expectNotice();
        QTest::mouseClick(accounts->tahsilBut, Qt::LeftButton);
        QCOMPARE(app.dialogs.lastText(),
                 QStringLiteral("Tahsilat için kişi girmelisiniz. Kayıt yapılmadı"));
        // A code without a person.
        accounts->kisinoedit->setText(QStringLiteral("77"));
        app.dialogs.expectNotice();
        QTest::mouseClick(accounts->tahsilBut, Qt::LeftButton);
        QCOMPARE(app.dialogs.lastText(),
                 QStringLiteral("Kişi Kaydı Bulunamadı. Kayıt yapılamadı."));
        // The question answered No.
        accounts->kisinoedit->setText(QStringLiteral("7"));
        app.dialogs.expectQuestion(Answer::No);
        QTest::mouseClick(accounts->tahsilBut, Qt::LeftButton);
        // A cancelled description still collects.
        app.dialogs.expectQuestion(Answer::Yes);
        app.dialogs.expectInput(false, QString());
        QTest::mouseClick(accounts->tahsilBut, Qt::LeftButton);
        QCOMPARE(countRows(app, QStringLiteral("cari"), QStringLiteral("alacak = 50")), 1);
        const QString noDescription = QStringLiteral("COALESCE(aciklama, '') = ''");
        QCOMPARE(countRows(app, QStringLiteral("kasa"), noDescription), 1);
        QVERIFY(app.dialogs.allConsumed());
    }

    void aFilteredPersonListDoesNotHideThePerson()
    {
        App app;
        TcariF *accounts = openAccounts(app);
        QVERIFY(accounts);
        Tsicrapor *list = app.forms().sicrapor;
        list->JvDotNetEdit3->setText(QStringLiteral("8"));
        QVERIFY(list->sicrapQuery->open());
        list->araButtonClick();
        QCOMPARE(list->sicrapQuery->recordCount(), 1);
        accounts->kisinoedit->setText(QStringLiteral("7"));
        collect(app, accounts, QStringLiteral("10"));
        QCOMPARE(countRows(app, QStringLiteral("cari"), QStringLiteral("alacak = 10")), 1);
    }

    void aFailedMoneyLineKeepsNoAccountLine()
    {
        App app;
        TcariF *accounts = openAccounts(app);
        QVERIFY(accounts);
        failWrites(app, QStringLiteral("kasa"), QStringLiteral("INSERT"));
        accounts->kisinoedit->setText(QStringLiteral("7"));
        app.dialogs.expectNotice();
        collect(app, accounts, QStringLiteral("150"));
        QCOMPARE(app.dialogs.shown().last().kind, QStringLiteral("error"));
        QVERIFY(
            app.dialogs.lastText().startsWith(QStringLiteral("\"kasa\" tablosuna yazılamadı")));
        QVERIFY(app.dialogs.lastText().contains(QStringLiteral("disk dolu")));
        QCOMPARE(countRows(app, QStringLiteral("cari"), QStringLiteral("alacak = 150")), 0);
        QCOMPARE(countRows(app, QStringLiteral("kasa")), 0);
        QCOMPARE(accounts->cariTable->recordCount(), 3);
    }

    void personListHandsThePersonOver()
    {
        App app;
        TcariF *accounts = openAccounts(app);
        QVERIFY(accounts);
        accounts->kisinoedit->setText(QStringLiteral("9"));
        clickBox(accounts->firmakoduBox);
        QTest::mouseDClick(accounts->kisinoedit, Qt::LeftButton);
        Tsicrapor *list = app.forms().sicrapor;
        QVERIFY(list->isVisible());
        QVERIFY(list->isChoosing());
        QVERIFY(list->sicrapQuery->locate(QStringLiteral("sicil_kodu"), QStringLiteral("7")));
        list->Button1Click();
        QVERIFY(!list->isVisible());
        QCOMPARE(accounts->kisinoedit->text(), QStringLiteral("7"));
        QCOMPARE(codesShown(accounts->cariTable), (QStringList{"7", "7"}));
        QCOMPARE(totals(accounts), (QStringList{"410,00", "100,00", "310,00"}));
    }

    void anEmptyRegisterOffersANewPerson()
    {
        App app;
        app.addUser(QStringLiteral("ayse"), QString(), QStringLiteral("Ayşe"),
                    QStringLiteral("Kaya"));
        QVERIFY(app.login(QStringLiteral("ayse")));
        TcariF *accounts = app.forms().cariF;
        app.dialogs.expectQuestion(Answer::No);
        accounts->openPersonList();
        QCOMPARE(app.dialogs.shown().last().title, QStringLiteral("Lumkar Selvaron"));
        QCOMPARE(app.dialogs.lastText(),
                 QStringLiteral("Kişi kaydı mevcut değil! Açmak istermisiniz?"));
        QVERIFY(!app.forms().sicrapor->isVisible());
    }

    void printouts()
    {
        App app;
        TcariF *accounts = openAccounts(app);
        QVERIFY(accounts);
        ReportPreview *preview = accounts->yazButClick();
        QVERIFY(preview);
        QCOMPARE(preview->windowTitle(),
                 QStringLiteral("Lumkar Rapor Önizleme - Borç Alacak Raporu"));
        const reports::PreparedPage &byDates = preview->report().pages.first();
        QCOMPARE(byDates.textOf(QStringLiteral("Memo1")),
                 QStringLiteral("KİŞİLER BORÇ-ALACAK HAREKET RAPORU"));
        QCOMPARE(byDates.textOf(QStringLiteral("Memo5")),
                 QStringLiteral("10.03.2026-10.03.2026 TARİHLERİ ARASI"));
        QCOMPARE(byDates.textOf(QStringLiteral("Memo6")), QStringLiteral("650,00"));
        QCOMPARE(byDates.textOf(QStringLiteral("Memo9")), QStringLiteral("100,00"));
        QCOMPARE(byDates.textOf(QStringLiteral("Memo14")), QStringLiteral("550,00"));
        QCOMPARE(byDates.textOf(QStringLiteral("Memo19")), QStringLiteral("Ayşe Kaya"));
        // The balance of each line is printed: 400 - 100.
        QVERIFY(byDates.texts().contains(QStringLiteral("300,00")));
        preview->close();

        accounts->kisinoedit->setText(QStringLiteral("7"));
        clickBox(accounts->firmakoduBox);
        preview = accounts->yazButClick();
        QVERIFY(preview);
        const reports::PreparedPage &person = preview->report().pages.first();
        QCOMPARE(person.textOf(QStringLiteral("Memo1")),
                 QStringLiteral("BORÇ-ALACAK HAREKET RAPORU"));
        QCOMPARE(person.textOf(QStringLiteral("Memo5")), QStringLiteral("Ali Kaya"));
        QCOMPARE(person.textOf(QStringLiteral("Memo14")), QStringLiteral("310,00"));
        preview->close();
    }
};

LUMKAR_TEST(CariTest)
#include "tst_cari.moc"
