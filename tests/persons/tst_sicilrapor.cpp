// The person list window: filter, searches, sorting, the printout, closing, and handing the
// chosen person to each window that opens the list.

#include "fixture.h"
#include "persondata.h"
#include "testregistry.h"

#include "accounts/cari.h"
#include "appointments/dayview.h"
#include "appointments/entrypanel.h"
#include "kit/maskedit.h"
#include "notes/notespanes.h"
#include "persons/perozluk.h"
#include "persons/sicilrapor.h"
#include "reports/preview.h"
#include "shell/anamenu.h"
#include "shell/yardim.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>

using namespace lumkar;
using namespace lumkar::test;

namespace {

// Sorted by first name in the Turkish alphabet, capitals and small letters alike: Ali Akay,
// Ali Kaya, AYLİN, Ayşe, İsmail, Kamil, Kaya, Mehmet, Zeki.
const QStringList kByName{"4", "5", "12", "11", "10", "3", "1", "2", "13"};

// Logs in as Selin Ak with the sample persons and opens the list from the main window.
Tsicrapor *openList(App &app)
{
    addSamplePersons(app);
    app.addUser(QStringLiteral("selin"), QString(), QStringLiteral("Selin"),
                QStringLiteral("Ak"));
    if (!app.login(QStringLiteral("selin")))
        return nullptr;
    app.forms().anamenuf->N2KisiListeleri();
    Tsicrapor *list = app.forms().sicrapor;
    return list->isVisible() ? list : nullptr;
}

QString currentCode(Tsicrapor *list)
{
    return list->sicrapQuery->text(QStringLiteral("sicil_kodu"));
}

void selectRow(Tsicrapor *list, int row)
{
    list->bolumgrid->setCurrentIndex(list->bolumgrid->model()->index(row, 1));
}

void doubleClickRow(Tsicrapor *list, int row)
{
    GridView *grid = list->bolumgrid;
    const QRect cell = grid->visualRect(grid->model()->index(row, 1));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
}

void clickTitle(Tsicrapor *list, int column)
{
    QHeaderView *header = list->bolumgrid->horizontalHeader();
    const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                    header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
}

} // namespace

class PersonListTest : public QObject {
    Q_OBJECT
private slots:
    void windowShowsTheRegisterByName()
    {
        App app;
        Tsicrapor *list = openList(app);
        QVERIFY(list);
        QCOMPARE(list->windowTitle(), QStringLiteral("Lumkar Vikelmo - Kişi Kayıt Bilgileri"));
        QCOMPARE(codesShown(*list->sicrapQuery), kByName);
        QStringList headings;
        for (int c = 0; c < list->bolumgrid->model()->columnCount(); ++c)
            headings << list->bolumgrid->model()->headerData(c, Qt::Horizontal).toString();
        QCOMPARE(headings, (QStringList{"Kodu", "Adı", "Soyadı", "Telefon 1", "Cep Telefonu",
                                        "Faks", "eMail", "Telefon 2", "Cep Telefonu 2"}));
        QCOMPARE(maskedText(list->Telefon1Edit), Tsicrapor::emptyPhoneText());
        // The address of the row under the cursor, read-only.
        selectRow(list, 4);
        QCOMPARE(list->JvDotNetDBMemo4->toPlainText(), QStringLiteral("Moda Cad. 5\nKadıköy"));
        QVERIFY(list->JvDotNetDBMemo4->isReadOnly());
        list->JvDotNetDBMemo4->setFocus();
        QTest::keyClicks(list->JvDotNetDBMemo4, QStringLiteral("xyz"));
        QCOMPARE(list->JvDotNetDBMemo4->toPlainText(), QStringLiteral("Moda Cad. 5\nKadıköy"));
        QCOMPARE(list->sicrapQuery->state(), DataSet::State::Browse);
        // Enter in the read-only address moves on like everywhere else in the list.
        QVERIFY(activate(list));
        list->JvDotNetDBMemo4->setFocus();
        QTRY_VERIFY(list->JvDotNetDBMemo4->hasFocus());
        QTest::keyClick(list->JvDotNetDBMemo4, Qt::Key_Return);
        QVERIFY(!list->JvDotNetDBMemo4->hasFocus());
    }

    void filterByNameCodeAndPhone()
    {
        App app;
        Tsicrapor *list = openList(app);
        QVERIFY(list);
        typeText(list->JvDotNetEdit1, QStringLiteral("ka"));
        QCOMPARE(list->JvDotNetEdit1->text(), QStringLiteral("Ka"));
        // Typing alone does not filter.
        QCOMPARE(list->sicrapQuery->recordCount(), 9);
        QTest::mouseClick(list->araButton, Qt::LeftButton);
        QCOMPARE(codesShown(*list->sicrapQuery), (QStringList{"5", "3", "1", "2"}));
        QCOMPARE(list->bolumgrid->model()->rowCount(), 4);

        list->JvDotNetEdit1->clear();
        typeText(list->JvDotNetEdit1, QStringLiteral("ali k"));
        QCOMPARE(list->JvDotNetEdit1->text(), QStringLiteral("Ali K"));
        QTest::mouseClick(list->araButton, Qt::LeftButton);
        QCOMPARE(codesShown(*list->sicrapQuery), QStringList{"5"});

        // A code passes only itself, not 10, 11, 12 or 13.
        typeText(list->JvDotNetEdit3, QStringLiteral("1"));
        QTest::mouseClick(list->araButton, Qt::LeftButton);
        QCOMPARE(codesShown(*list->sicrapQuery), QStringList{"1"});

        QTest::mouseClick(list->yeniBut, Qt::LeftButton);
        QVERIFY(list->JvDotNetEdit1->text().isEmpty());
        QVERIFY(list->JvDotNetEdit3->text().isEmpty());
        QCOMPARE(maskedText(list->Telefon1Edit), Tsicrapor::emptyPhoneText());
        QVERIFY(!list->sicrapQuery->isFiltered());
        QCOMPARE(codesShown(*list->sicrapQuery), kByName);

        list->Telefon1Edit->setFocus();
        list->Telefon1Edit->setCursorPosition(0);
        typeText(list->Telefon1Edit, QStringLiteral("5321234567"));
        QCOMPARE(maskedText(list->Telefon1Edit), samplePhone());
        QTest::mouseClick(list->araButton, Qt::LeftButton);
        QCOMPARE(codesShown(*list->sicrapQuery), (QStringList{"11", "10"}));
        QVERIFY(app.dialogs.shown().isEmpty());
    }

    void searchStepByStep()
    {
        App app;
        Tsicrapor *list = openList(app);
        QVERIFY(list);
        typeText(list->JvDotNetEdit1, QStringLiteral("ka"));
        QStringList visited;
        for (int i = 0; i < 7; ++i) {
            QTest::mouseClick(list->SpeedButton1, Qt::LeftButton);
            visited << currentCode(list);
        }
        // Inside words too (Ali Akay); Zeki's empty phone mask meets the empty phone box;
        // round to the start.
        QCOMPARE(visited, (QStringList{"5", "3", "1", "2", "13", "4", "5"}));
        QCOMPARE(list->bolumgrid->currentIndex().row(), 1);

        // From a filtered list: the whole list comes back, the search goes on from the row.
        QTest::mouseClick(list->araButton, Qt::LeftButton);
        QCOMPARE(currentCode(list), QStringLiteral("5"));
        QTest::mouseClick(list->SpeedButton1, Qt::LeftButton);
        QVERIFY(!list->sicrapQuery->isFiltered());
        QCOMPARE(list->sicrapQuery->recordCount(), 9);
        QCOMPARE(currentCode(list), QStringLiteral("3"));
    }

    void searchWithoutMatchStaysPut()
    {
        App app;
        Tsicrapor *list = openList(app);
        QVERIFY(list);
        selectRow(list, 5);
        typeText(list->JvDotNetEdit1, QStringLiteral("zz"));
        // Only Zeki (empty phone mask) can be reached; from Zeki nothing else hits.
        QTest::mouseClick(list->SpeedButton1, Qt::LeftButton);
        QCOMPARE(currentCode(list), QStringLiteral("13"));
        QTest::mouseClick(list->SpeedButton1, Qt::LeftButton);
        QCOMPARE(currentCode(list), QStringLiteral("13"));
        // With a phone typed, nobody matches: the cursor stays where it is.
        selectRow(list, 1);
        list->Telefon1Edit->setCursorPosition(0);
        typeText(list->Telefon1Edit, QStringLiteral("999"));
        QTest::mouseClick(list->SpeedButton1, Qt::LeftButton);
        QCOMPARE(currentCode(list), QStringLiteral("5"));
    }

    void titleClicksSort()
    {
        App app;
        Tsicrapor *list = openList(app);
        QVERIFY(list);
        QVERIFY(list->siralamaYonu.isEmpty());
        clickTitle(list, 1); // "Adı"
        QCOMPARE(list->siralamaYonu, QStringLiteral("ASC"));
        QCOMPARE(list->sicrapQuery->query(),
                 QStringLiteral("Select * from siciltablo order by adi ASC"));
        QCOMPARE(codesShown(*list->sicrapQuery), kByName);
        clickTitle(list, 1);
        QCOMPARE(list->sicrapQuery->query(),
                 QStringLiteral("Select * from siciltablo order by adi DESC"));
        QStringList reversed = kByName;
        std::reverse(reversed.begin(), reversed.end());
        // Equal first names keep their register order.
        std::swap(reversed[7], reversed[8]);
        QCOMPARE(codesShown(*list->sicrapQuery), reversed);
        clickTitle(list, 2); // "Soyadı"
        QCOMPARE(list->sicrapQuery->query(),
                 QStringLiteral("Select * from siciltablo order by soyadi ASC"));
        QCOMPARE(codesShown(*list->sicrapQuery).first(), QStringLiteral("4")); // Akay
        QCOMPARE(codesShown(*list->sicrapQuery).last(), QStringLiteral("11")); // Yılmaz

        // The order holds after closing and opening again, and the filter goes with it.
        typeText(list->JvDotNetEdit1, QStringLiteral("ka"));
        QTest::mouseClick(list->araButton, Qt::LeftButton);
        clickTitle(list, 0); // "Kodu", descending now
        QCOMPARE(codesShown(*list->sicrapQuery), (QStringList{"5", "3", "2", "1"}));
        QTest::mouseClick(list->kapatBut, Qt::LeftButton);
        app.forms().anamenuf->N2KisiListeleri();
        QCOMPARE(list->sicrapQuery->query(),
                 QStringLiteral("Select * from siciltablo order by sicil_kodu DESC"));
        QCOMPARE(list->sicrapQuery->recordCount(), 9); // the name box was emptied
    }

    void closingEmptiesTheBoxesAndKeepsTheMark()
    {
        App app;
        Tsicrapor *list = openList(app);
        QVERIFY(list);
        QVERIFY(activate(list));
        typeText(list->JvDotNetEdit1, QStringLiteral("ka"));
        typeText(list->JvDotNetEdit3, QStringLiteral("5"));
        QTest::keyClick(list->JvDotNetEdit1, Qt::Key_F10);
        QVERIFY(!list->isVisible());
        QVERIFY(!list->sicrapQuery->isOpen());
        QVERIFY(list->JvDotNetEdit1->text().isEmpty() && list->JvDotNetEdit3->text().isEmpty());
        QVERIFY(list->isChoosing());
        // The title-bar close does the same.
        app.forms().anamenuf->N2KisiListeleri();
        typeText(list->JvDotNetEdit1, QStringLiteral("ka"));
        QVERIFY(list->close());
        QVERIFY(!list->sicrapQuery->isOpen());
        QVERIFY(list->JvDotNetEdit1->text().isEmpty());
    }

    void keysOfTheList()
    {
        App app;
        Tsicrapor *list = openList(app);
        QVERIFY(list);
        QVERIFY(activate(list));
        // Typing starts in the name box.
        QCOMPARE(QApplication::focusWidget(), list->JvDotNetEdit1);
        // Enter moves on from a box; in the grid it goes to the next column, round the row.
        list->JvDotNetEdit3->setFocus();
        QTest::keyClick(list->JvDotNetEdit3, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), list->JvDotNetEdit1);
        list->bolumgrid->setFocus();
        list->bolumgrid->setCurrentIndex(list->bolumgrid->model()->index(3, 7));
        QTest::keyClick(list->bolumgrid, Qt::Key_Return);
        QCOMPARE(list->bolumgrid->currentIndex().column(), 8);
        QTest::keyClick(list->bolumgrid, Qt::Key_Return);
        QCOMPARE(list->bolumgrid->currentIndex().column(), 0);
        QCOMPARE(list->bolumgrid->currentIndex().row(), 3);
        // F5 clears the search.
        typeText(list->JvDotNetEdit1, QStringLiteral("ka"));
        QTest::mouseClick(list->araButton, Qt::LeftButton);
        QTest::keyClick(list->bolumgrid, Qt::Key_F5);
        QCOMPARE(list->sicrapQuery->recordCount(), 9);
        QVERIFY(list->JvDotNetEdit1->text().isEmpty());
        // F8 chooses (here for the main window).
        selectRow(list, 4);
        QTest::keyClick(list->bolumgrid, Qt::Key_F8);
        QVERIFY(!list->isVisible());
        QCOMPARE(app.forms().anamenuf->entryForm()->AdiEdit->text(), QStringLiteral("İsmail"));
        QCOMPARE(app.forms().anamenuf->entryForm()->adresMemo->toPlainText(),
            QStringLiteral("Moda Cad. 5\nKadıköy"));
    }

    void helpOpensItsTopic()
    {
        App app;
        QFile::copy(QDir(QStringLiteral(LUMKAR_HELP_DIR)).filePath(QStringLiteral("ysicilrapor")),
                    app.session().GetPathPath() + QStringLiteral("ysicilrapor"));
        Tsicrapor *list = openList(app);
        QVERIFY(list);
        QTest::mouseClick(list->tfXPButton1, Qt::LeftButton);
        QVERIFY(app.forms().yardimF->RichEdit1->toPlainText().contains(
            QStringLiteral("Peşpeşe Ara")));
    }

    void printsTheRowsShown()
    {
        App app;
        Tsicrapor *list = openList(app);
        QVERIFY(list);
        typeText(list->JvDotNetEdit1, QStringLiteral("ka"));
        QTest::mouseClick(list->araButton, Qt::LeftButton);
        ReportPreview *preview = list->yazButClick();
        QVERIFY(preview);
        QCOMPARE(preview->windowTitle(),
                 QStringLiteral("Lumkar Rapor Önizleme - Firma Sicil Takip Kartları"));
        const reports::PreparedPage &page = preview->report().pages.first();
        QCOMPARE(page.textOf(QStringLiteral("Memo19")), QStringLiteral("Selin Ak"));
        QCOMPARE(page.textOf(QStringLiteral("Memo1")), QStringLiteral("SİCİL KARTLARI RAPORU"));
        QStringList codes;
        QStringList names;
        for (const reports::PreparedItem *item : page.itemsNamed(QStringLiteral("Field1")))
            codes << item->text;
        for (const reports::PreparedItem *item : page.itemsNamed(QStringLiteral("Field2")))
            names << item->text;
        QCOMPARE(codes, (QStringList{"5", "3", "1", "2"}));
        QCOMPARE(names.first(), QStringLiteral("Ali Kaya"));
        preview->close();
    }
};

class PersonHandOverTest : public QObject {
    Q_OBJECT
private slots:
    void doubleClickFillsTheAppointmentEntry()
    {
        App app;
        Tsicrapor *list = openList(app);
        QVERIFY(list);
        doubleClickRow(list, 3); // Ayşe Yılmaz
        QVERIFY(!list->isVisible());
        QVERIFY(!list->sicrapQuery->isOpen());
        QVERIFY(!list->isChoosing());
        Tanamenuf *main = app.forms().anamenuf;
        QCOMPARE(main->entryForm()->kisinoedit->text(), QStringLiteral("11"));
        QCOMPARE(main->entryForm()->AdiEdit->text(), QStringLiteral("Ayşe"));
        QCOMPARE(main->entryForm()->SoyadiEdit->text(), QStringLiteral("Yılmaz"));
        QCOMPARE(main->entryForm()->CepTelefonEdit->displayText(), samplePhone());
        QVERIFY(main->entryForm()->adresMemo->toPlainText().isEmpty());
    }

    void plannerGetsTheSameBoxes()
    {
        App app;
        Tsicrapor *list = openList(app);
        QVERIFY(list);
        bool planned = false; // the planner's booking goes on once the person is in the form
        app.forms().entryForm->personFromList([&planned] { planned = true; });
        selectRow(list, 6); // Kaya Demir
        QTest::mouseClick(list->Button1, Qt::LeftButton);
        QVERIFY(!list->isVisible());
        QVERIFY(planned && !list->isChoosing());
        QCOMPARE(app.forms().anamenuf->entryForm()->kisinoedit->text(), QStringLiteral("1"));
        QCOMPARE(app.forms().anamenuf->entryForm()->SoyadiEdit->text(), QStringLiteral("Demir"));
    }

    void accountsGetTheirBoxes()
    {
        App app;
        Tsicrapor *list = openList(app);
        QVERIFY(list);
        app.forms().cariF->openPersonList();
        selectRow(list, 5); // Kamil Öztürk
        QTest::mouseClick(list->Button1, Qt::LeftButton);
        QVERIFY(!list->isVisible());
        TcariF *accounts = app.forms().cariF;
        QCOMPARE(accounts->kisinoedit->text(), QStringLiteral("3"));
        QCOMPARE(accounts->AdiEdit->text(), QStringLiteral("Kamil"));
        QCOMPARE(accounts->SoyadiEdit->text(), QStringLiteral("Öztürk"));
        QVERIFY(app.forms().anamenuf->entryForm()->kisinoedit->text().isEmpty());
    }

    void noMarkNoChoice()
    {
        App app;
        Tsicrapor *list = openList(app);
        QVERIFY(list);
        list->choosePerson({}); // shown with nobody waiting for a choice
        QTest::mouseClick(list->Button1, Qt::LeftButton);
        QVERIFY(list->isVisible());
        QVERIFY(app.forms().anamenuf->entryForm()->kisinoedit->text().isEmpty());
    }

    void personRecordIsPositioned()
    {
        App app;
        addPerson(app, {QStringLiteral("10"), QStringLiteral("On"), QStringLiteral("Kişi")});
        addPerson(app, {QStringLiteral("1"), QStringLiteral("Bir"), QStringLiteral("Kişi")});
        addPerson(app, {QStringLiteral("2"), QStringLiteral("İki"), QStringLiteral("Kişi")});
        QVERIFY(app.login(QStringLiteral("lumkar")));
        Tozluk *record = app.forms().ozluk;
        app.forms().anamenuf->N1KisiGiris();
        QTest::mouseClick(record->JvXPButton2, Qt::LeftButton);
        Tsicrapor *list = app.forms().sicrapor;
        QVERIFY(list->isVisible());
        QCOMPARE(codesShown(*list->sicrapQuery), (QStringList{"1", "2", "10"}));
        // Choosing code 1 takes the first record whose code begins with 1: here 10.
        doubleClickRow(list, 0);
        QVERIFY(!list->isVisible());
        QVERIFY(!list->isChoosing());
        QCOMPARE(record->JvDotNetDBEdit2->text(), QStringLiteral("10"));

        // Closing the list also moves the record to the row under the cursor.
        QTest::mouseClick(record->JvXPButton2, Qt::LeftButton);
        selectRow(list, 1);
        QTest::mouseClick(list->kapatBut, Qt::LeftButton);
        QCOMPARE(record->JvDotNetDBEdit2->text(), QStringLiteral("2"));
        QVERIFY(list->isChoosing());
    }

    // Register, list, filter and choose by keyboard alone: after the login the main window
    // has the keyboard, and when the list hides it goes back to the window that opened it.
    void keyboardReachesTheListAndBack()
    {
        App app;
        addSamplePersons(app);
        QVERIFY(app.login(QStringLiteral("lumkar")));
        Tanamenuf *main = app.forms().anamenuf;
        QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget *>(main));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F7);
        Tozluk *record = app.forms().ozluk;
        QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget *>(record));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F6);
        Tsicrapor *list = app.forms().sicrapor;
        QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget *>(list));
        QTest::keyClicks(list->JvDotNetEdit1, QStringLiteral("meh"));
        QTest::mouseClick(list->araButton, Qt::LeftButton);
        QCOMPARE(codesShown(*list->sicrapQuery), QStringList{QStringLiteral("2")});
        QTest::keyClick(list->bolumgrid, Qt::Key_F8);
        QVERIFY(!list->isVisible());
        QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget *>(record));
        QCOMPARE(record->JvDotNetDBEdit2->text(), QStringLiteral("2"));

        // A plain close also hands the keyboard back, here to the main window.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F10);
        QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget *>(main));
        main->N2KisiListeleri();
        QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget *>(list));
        QTest::keyClick(list->bolumgrid, Qt::Key_F10);
        QVERIFY(!list->isVisible());
        QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget *>(main));
    }
};

LUMKAR_TEST(PersonListTest)
LUMKAR_TEST(PersonHandOverTest)
#include "tst_sicilrapor.moc"
