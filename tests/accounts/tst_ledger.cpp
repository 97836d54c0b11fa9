// The cash and card windows: the period with its balance brought forward, receipts, payments
// and amount on hand, one user or all; outflows, deletions and the printout.

#include "csvreader.h"
#include "fixture.h"
#include "moneydata.h"
#include "statementcounter.h"
#include "testregistry.h"

#include "accounts/ledger.h"
#include "data/formats.h"
#include "reports/preview.h"
#include "shell/anamenu.h"

#include <QAction>
#include <QDateEdit>
#include <QDir>
#include <QMenu>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <memory>

using namespace lumkar;
using namespace lumkar::test;

namespace {

const QDate kPeriod(2026, 3, 10);

QDateTime at(int day, int hour = 0)
{
    return QDateTime(QDate(2026, 3, day), QTime(hour, 0));
}

// Ayşe Kaya (ayse) logged in, Ali Can (ali) beside her; a window with the period 10.03.2026.
LedgerWindow *openBook(App &app, bool card = false)
{
    app.addUser(QStringLiteral("ayse"), QString(), QStringLiteral("Ayşe"),
                QStringLiteral("Kaya"));
    app.addUser(QStringLiteral("ali"), QString(), QStringLiteral("Ali"), QStringLiteral("Can"));
    if (!app.login(QStringLiteral("ayse")))
        return nullptr;
    LedgerWindow *book = card ? static_cast<LedgerWindow *>(app.forms().kkartF)
                              : static_cast<LedgerWindow *>(app.forms().kasaF);
    book->DateTimePicker61->setDate(kPeriod);
    book->DateTimePicker1->setDate(kPeriod);
    return book;
}

// The movements of the hand calculation: before the period Ayşe 100 in and 30 out, Ali 1000
// in; in the period Ayşe 250 in and 40 out; the last day at 10:00 is outside; a card receipt
// of 5000 never enters the cash figures.
void addMovements(App &app)
{
    addMoneyLine(app, QStringLiteral("kasa"), {at(1), 100, 0});
    addMoneyLine(app, QStringLiteral("kasa"), {at(5), 0, 30});
    addMoneyLine(app, QStringLiteral("kasa"), {at(5), 1000, 0, QStringLiteral("ali"),
                                               QStringLiteral("Ali Can")});
    addMoneyLine(app, QStringLiteral("kasa"), {at(10), 250, 0, QStringLiteral("ayse"),
                                               QStringLiteral("Ayşe Kaya"),
                                               QStringLiteral("Cilt Bakımı - Zeki Su")});
    addMoneyLine(app, QStringLiteral("kasa"), {at(10), 0, 40});
    addMoneyLine(app, QStringLiteral("kasa"), {at(10, 10), 999, 0});
    addMoneyLine(app, QStringLiteral("kredikart"), {at(1), 5000, 0});
}

QStringList figures(LedgerWindow *book)
{
    return {book->nakliyekunEdit->text(), book->tahsilatEdit->text(), book->odemeEdit->text(),
            book->kasabakiyeEdit->text()};
}

} // namespace

class LedgerTest : public QObject {
    Q_OBJECT
private slots:
    void theTwoBooksDifferOnlyByTheirData()
    {
        App app;
        LedgerWindow *cash = openBook(app);
        QVERIFY(cash);
        LedgerWindow *card = app.forms().kkartF;
        QCOMPARE(cash->windowTitle(), QStringLiteral("Lumkar Vikelmo - Kasa İşlemleri"));
        QCOMPARE(card->windowTitle(), QStringLiteral("Lumkar Vikelmo - Kredi Kartı İşlemleri"));
        QCOMPARE(cash->ledgerTable->objectName(), QStringLiteral("kasaTable"));
        QCOMPARE(card->ledgerTable->objectName(), QStringLiteral("kkartTable"));
        QCOMPARE(cash->CheckBox2->text(),
                 QStringLiteral("Tüm Kullanıcıların Kasalarını Göster"));
        QCOMPARE(card->CheckBox2->text(),
                 QStringLiteral("Tüm Kullanıcıların Kredi Kartlarını Göster"));
        QCOMPARE(cash->balanceLabel->text(), QStringLiteral("Kasa Mevcudu"));
        QCOMPARE(card->balanceLabel->text(), QStringLiteral("KK Mevcudu"));
        QCOMPARE(cash->RKimeBox->currentText(), QStringLiteral("ayse"));
        QCOMPARE(cash->RKiminAdSoyadBox->currentText(), QStringLiteral("Ayşe Kaya"));
        QStringList headings;
        for (int c = 0; c < cash->bolumgrid2->model()->columnCount(); ++c)
            headings << cash->bolumgrid2->model()->headerData(c, Qt::Horizontal).toString();
        QCOMPARE(headings, (QStringList{"Tarih", "Açıklama", "Borç", "Alacak", "İşlem Yapan",
                                        "Paket"}));
    }

    void emptyPeriod()
    {
        App app;
        LedgerWindow *cash = openBook(app);
        QVERIFY(cash);
        QTest::mouseClick(cash->BitBtn2, Qt::LeftButton);
        QCOMPARE(figures(cash), (QStringList{",00", "0,00", "0,00", "0,00"}));
        QCOMPARE(cash->ledgerTable->recordCount(), 0);
    }

    void figuresOfOneUserAndOfAll()
    {
        App app;
        LedgerWindow *cash = openBook(app);
        QVERIFY(cash);
        addMovements(app);
        // Opened from the main window: both computed.
        app.forms().anamenuf->N9Kasa();
        QVERIFY(cash->isVisible());
        // Brought forward 100 - 30 = 70; on hand 70 + 250 - 40 = 280. Ali's 1000 and the
        // movement at 10:00 on the last day are in no figure.
        QCOMPARE(figures(cash), (QStringList{"70,00", "250,00", "40,00", "280,00"}));
        QCOMPARE(cash->ledgerTable->recordCount(), 2);
        QCOMPARE(cash->bolumgrid2->gridModel()->cellText(0, 1),
                 QStringLiteral("Cilt Bakımı - Zeki Su"));
        QCOMPARE(cash->bolumgrid2->gridModel()->cellText(0, 2), QStringLiteral("250,00"));
        // The cursor is left on the last row.
        QCOMPARE(cash->ledgerTable->currentRow(), 1);

        // A changed choice counts only with "BİLGİLERİ YÜKLE".
        cash->CheckBox2->setChecked(true);
        QCOMPARE(cash->nakliyekunEdit->text(), QStringLiteral("70,00"));
        QTest::mouseClick(cash->BitBtn2, Qt::LeftButton);
        QCOMPARE(figures(cash), (QStringList{"1.070,00", "250,00", "40,00", "1.280,00"}));

        // Ali's book alone.
        cash->CheckBox2->setChecked(false);
        setPickerText(cash->RKiminAdSoyadBox, QStringLiteral("Ali Can"));
        QCOMPARE(cash->RKimeBox->currentText(), QStringLiteral("ali"));
        QTest::mouseClick(cash->BitBtn2, Qt::LeftButton);
        QCOMPARE(figures(cash), (QStringList{"1.000,00", "0,00", "0,00", "1.000,00"}));

        // The card book counts only card movements.
        LedgerWindow *card = app.forms().kkartF;
        card->DateTimePicker61->setDate(kPeriod);
        card->DateTimePicker1->setDate(kPeriod);
        app.forms().anamenuf->N10KrediKarti();
        QCOMPARE(figures(card), (QStringList{"5.000,00", "0,00", "0,00", "5.000,00"}));
    }

    // A long book shows its period by pages: the movements of the period and user in number
    // order, whatever order their days were written in, with the figures of exactly those,
    // read on the date index and never over the whole book.
    void aLongBookShowsItsPeriodByPages_data()
    {
        QTest::addColumn<bool>("card");
        QTest::addColumn<bool>("allUsers");
        QTest::newRow("cash, one user") << false << false;
        QTest::newRow("cash, every user") << false << true;
        QTest::newRow("card, every user") << true << true;
    }
    void aLongBookShowsItsPeriodByPages()
    {
        QFETCH(bool, card);
        QFETCH(bool, allUsers);
        App app;
        LedgerWindow *book = openBook(app, card);
        QVERIFY(book);
        const QString table = card ? QStringLiteral("kredikart") : QStringLiteral("kasa");
        QList<qlonglong> expected;
        double in = 0, out = 0;
        for (int i = 0; i < 620; ++i) {
            const int day = 1 + i * 7 % 31; // days out of the numbers' order
            const bool ayse = i % 3 != 0;
            const MoneyLine line{at(day), double(i % 50), i % 4 == 0 ? 5.0 : 0.0,
                                 ayse ? QStringLiteral("ayse") : QStringLiteral("ali"),
                                 ayse ? QStringLiteral("Ayşe Kaya") : QStringLiteral("Ali Can")};
            const qlonglong kid = addMoneyLine(app, table, line);
            if (day >= 10 && day <= 20 && (allUsers || ayse)) {
                expected << kid;
                in += line.borc;
                out += line.alacak;
            }
        }
        card ? app.forms().anamenuf->N10KrediKarti() : app.forms().anamenuf->N9Kasa();
        book->DateTimePicker1->setDate(QDate(2026, 3, 20));
        book->CheckBox2->setChecked(allUsers);
        std::unique_ptr<StatementCounter> counter;
        if (!usesServer())
            counter = std::make_unique<StatementCounter>(app.db());
        QTest::mouseClick(book->BitBtn2, Qt::LeftButton);
        DataSet *rows = book->ledgerTable;
        QCOMPARE(rows->recordCount(), int(expected.size()));
        QCOMPARE(rows->currentRow(), int(expected.size()) - 1);
        QList<qlonglong> shown;
        for (int r = 0; r < rows->recordCount(); ++r)
            shown << rows->valueAt(r, rows->fieldIndex(QStringLiteral("kid"))).toLongLong();
        QCOMPARE(shown, expected);
        QCOMPARE(book->tahsilatEdit->text(), formats::amountTotal(in));
        QCOMPARE(book->odemeEdit->text(), formats::amountTotal(out));
        if (!counter)
            return;
        const QVector<StatementCounter::Run> reads = counter->runsWith(QStringLiteral("FROM ") + table);
        QVERIFY(!reads.isEmpty());
        for (const StatementCounter::Run &run : reads)
            QVERIFY2(run.fullScanSteps == 0, qPrintable(run.sql));
    }

    void outflow()
    {
        App app;
        LedgerWindow *cash = openBook(app);
        QVERIFY(cash);
        addMovements(app);
        app.forms().anamenuf->N9Kasa();
        cash->DateTimePicker2->setDate(kPeriod);
        typeText(cash->tahsiledilenEdit, QStringLiteral("1250,5"));
        QCOMPARE(cash->tahsiledilenEdit->text(), QStringLiteral("1.250,5"));
        typeText(cash->paketadiEdit, QStringLiteral("Kira"));
        // No: nothing written, the boxes keep their text.
        app.dialogs.expectQuestion(Answer::No);
        QTest::mouseClick(cash->BitBtn6, Qt::LeftButton);
        QCOMPARE(app.dialogs.lastText(),
                 QStringLiteral("Bu kasa çıkışını kayıt etmek istediğinize eminmisiniz?"));
        QCOMPARE(countRows(app, QStringLiteral("kasa")), 6);
        QCOMPARE(cash->paketadiEdit->text(), QStringLiteral("Kira"));
        app.dialogs.expectQuestion(Answer::Yes);
        QTest::mouseClick(cash->BitBtn6, Qt::LeftButton);
        QCOMPARE(countRows(app, QStringLiteral("kasa"),
                           QStringLiteral("alacak = 1250.5 AND aciklama = 'Kira' AND "
                                          "gorusen_kodu = 'ayse' AND gorusen = 'Ayşe Kaya' AND "
                                          "tarih = '2026-03-10 00:00:00'")),
                 1);
        QVERIFY(cash->tahsiledilenEdit->text().isEmpty());
        QVERIFY(cash->paketadiEdit->text().isEmpty());
        QCOMPARE(cash->DateTimePicker2->date(), QDate::currentDate());
        QCOMPARE(figures(cash), (QStringList{"70,00", "250,00", "1.290,50", "-970,50"}));

        // An empty amount writes zero, as before; the card book asks its own question.
        LedgerWindow *card = app.forms().kkartF;
        app.dialogs.expectQuestion(Answer::Yes);
        QTest::mouseClick(card->BitBtn6, Qt::LeftButton);
        const QString question = QStringLiteral("Bu kredi kartı çıkışını kayıt etmek "
                                                "istediğinize eminmisiniz?");
        QCOMPARE(app.dialogs.lastText(), question);
        QCOMPARE(countRows(app, QStringLiteral("kredikart"),
                           QStringLiteral("alacak = 0 AND borc IS NULL")),
                 1);
    }

    void deleteAMovement()
    {
        App app;
        LedgerWindow *cash = openBook(app);
        QVERIFY(cash);
        addMovements(app);
        const qlonglong collection = addAccountLine(app, {QStringLiteral("7"), {}, {}, kPeriod,
                                                          0, 250});
        app.exec(QStringLiteral("UPDATE kasa SET tahsilatno = ? WHERE borc = 250"),
                 {collection});
        app.forms().anamenuf->N9Kasa();
        // The collection's line is refused without a question; nothing is deleted.
        cash->ledgerTable->moveTo(0);
        app.dialogs.expectNotice();
        cash->deleteMovement();
        QCOMPARE(app.dialogs.lastText(), postedLineRefusal(QVariant(), collection));
        QCOMPARE(countRows(app, QStringLiteral("kasa")), 6);
        QCOMPARE(countRows(app, QStringLiteral("cari")), 1);
        // The outflow of 40 is the book's own.
        cash->ledgerTable->moveTo(1);
        app.dialogs.expectQuestion(Answer::Cancel);
        cash->deleteMovement();
        QCOMPARE(app.dialogs.lastText(),
                 QStringLiteral("Bu kasa hareketini silmek istediğinize eminmisiniz?"));
        QCOMPARE(countRows(app, QStringLiteral("kasa")), 6);
        app.dialogs.expectQuestion(Answer::Yes);
        cash->deleteMovement();
        QCOMPARE(countRows(app, QStringLiteral("kasa"), QStringLiteral("alacak = 40")), 0);
        QCOMPARE(figures(cash), (QStringList{"70,00", "250,00", "0,00", "320,00"}));
    }

    // The period as a spreadsheet file: the rows and columns of the grid, cell by cell, with
    // the description's quote, ";" and line break and a negative amount read back intact.
    void periodExportsToSpreadsheet()
    {
        App app;
        LedgerWindow *cash = openBook(app);
        QVERIFY(cash);
        addMovements(app);
        const QString odd = QStringLiteral("\"Özel\" indirim; İğdır şubesi\nikinci satır");
        addMoneyLine(app, QStringLiteral("kasa"),
                     {at(10, 0), -75.5, 0, QStringLiteral("ayse"), QStringLiteral("Ayşe Kaya"),
                      odd});
        app.forms().anamenuf->N9Kasa();
        QCOMPARE(cash->ledgerTable->recordCount(), 3);

        QAction *exportAction = nullptr;
        for (QAction *action : cash->bolumgrid2->contextMenu()->actions())
            if (action->text() == QStringLiteral("Listeyi Dışa Aktar (CSV)..."))
                exportAction = action;
        QVERIFY(exportAction);
        const QString path = QDir(app.folder()).filePath(QStringLiteral("kasa dökümü.csv"));
        app.dialogs.expectFile(path);
        exportAction->trigger();
        QVERIFY(app.dialogs.allConsumed());

        const CsvFile csv = readCsv(readFile(path));
        QVERIFY(csv.byteOrderMark);
        QVERIFY(csv.onlyCrLf);
        GridModel *model = cash->bolumgrid2->gridModel();
        QStringList headings;
        QVector<int> shown;
        for (int c = 0; c < model->columnCount(); ++c)
            if (!cash->bolumgrid2->isColumnHidden(c)) {
                shown << c;
                headings << model->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
            }
        QCOMPARE(csv.records.size(), 1 + cash->ledgerTable->recordCount());
        QCOMPARE(csv.records[0], headings);
        bool sawOdd = false;
        for (int row = 0; row < cash->ledgerTable->recordCount(); ++row) {
            QStringList cells;
            for (int c : std::as_const(shown))
                cells << model->cellText(row, c);
            QCOMPARE(csv.records[row + 1], cells);
            if (cells.contains(odd)) {
                sawOdd = true;
                QVERIFY(cells.contains(QStringLiteral("-75,50")));
            }
        }
        QVERIFY(sawOdd);
    }

    void printout()
    {
        App app;
        LedgerWindow *cash = openBook(app);
        QVERIFY(cash);
        addMovements(app);
        cash->DateTimePicker61->setDate(QDate(2026, 3, 9));
        ReportPreview *preview = cash->BitBtn28Click();
        QVERIFY(preview);
        QCOMPARE(preview->windowTitle(), QStringLiteral("Lumkar Rapor Önizleme - Kasa"));
        const reports::PreparedPage &page = preview->report().pages.first();
        QCOMPARE(page.textOf(QStringLiteral("Memo1")),
                 QStringLiteral("09.03.2026 - 10.03.2026 KASA HAREKETLERİ"));
        QCOMPARE(page.textOf(QStringLiteral("Memo17")), QStringLiteral("RAPOR : Ayşe Kaya"));
        QCOMPARE(page.textOf(QStringLiteral("Memo19")), QStringLiteral("Ayşe Kaya"));
        QCOMPARE(page.textOf(QStringLiteral("Memo6")), QStringLiteral("70,00"));
        QCOMPARE(page.textOf(QStringLiteral("Memo9")), QStringLiteral("250,00"));
        QCOMPARE(page.textOf(QStringLiteral("Memo10")), QStringLiteral("40,00"));
        QCOMPARE(page.textOf(QStringLiteral("Memo15")), QStringLiteral("280,00"));
        QVERIFY(page.texts().contains(QStringLiteral("Cilt Bakımı - Zeki Su")));
        preview->close();

        LedgerWindow *card = app.forms().kkartF;
        card->DateTimePicker61->setDate(kPeriod);
        card->DateTimePicker1->setDate(kPeriod);
        card->CheckBox2->setChecked(true);
        preview = card->BitBtn28Click();
        QVERIFY(preview);
        QCOMPARE(preview->windowTitle(), QStringLiteral("Lumkar Rapor Önizleme - Kredi Kartı"));
        const reports::PreparedPage &cardPage = preview->report().pages.first();
        QCOMPARE(cardPage.textOf(QStringLiteral("Memo1")),
                 QStringLiteral("10.03.2026 - 10.03.2026 KREDİ KARTI HAREKETLERİ"));
        QCOMPARE(cardPage.textOf(QStringLiteral("Memo17")),
                 QStringLiteral("TÜM KULLANICILARA AİT RAPOR"));
        QCOMPARE(cardPage.textOf(QStringLiteral("Memo6")), QStringLiteral("5.000,00"));
        preview->close();
    }
};

LUMKAR_TEST(LedgerTest)
#include "tst_ledger.moc"
