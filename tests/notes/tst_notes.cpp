// Daily notes (one per user and day) and general notes (shown read-only in the main window,
// written in the general-notes window).

#include "fixture.h"
#include "testregistry.h"

#include "appointments/dayview.h"
#include "appointments/entrypanel.h"
#include "data/values.h"
#include "kit/grid.h"
#include "notes/genelnot.h"
#include "notes/notespanes.h"
#include "shell/anamenu.h"
#include "shell/sifre.h"

#include <QAction>
#include <QDateEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

using namespace lumkar;
using namespace lumkar::test;

namespace {

const QDate kToday = QDate::currentDate();

Tanamenuf *start(App &app, const QString &user = QStringLiteral("lumkar"))
{
    if (!app.login(user))
        return nullptr;
    Tanamenuf *main = app.forms().anamenuf;
    main->activateWindow();
    return QTest::qWaitForWindowActive(main) ? main : nullptr;
}

// Types into the daily-note pane the way a user does: enter it, type, leave it.
void typeNote(Tanamenuf *main, const QString &text, bool leave = true)
{
    main->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(main));
    main->notesPanes()->JvDotNetDBMemo5->setFocus();
    QTRY_VERIFY(main->notesPanes()->JvDotNetDBMemo5->hasFocus());
    QTest::keyClick(main->notesPanes()->JvDotNetDBMemo5, Qt::Key_End, Qt::ControlModifier);
    typeText(main->notesPanes()->JvDotNetDBMemo5, text);
    if (leave)
        main->dayLists()->JvDateTimePicker1->setFocus();
}

int noteCount(App &app)
{
    return app.scalar(QStringLiteral("SELECT count(*) FROM gunluknot")).toInt();
}

QString noteOf(App &app, const QString &user, const QDate &day)
{
    return app.scalar(QStringLiteral("SELECT \"not\" FROM gunluknot WHERE kodu = ? AND tarih = ?"),
                      {user, values::dayKey(day)})
        .toString();
}

void addGeneralNote(App &app, const QDate &day, const QString &text)
{
    app.exec(QStringLiteral("INSERT INTO genelnot (tarih, \"not\", kodu) VALUES (?,?,?)"),
             {values::dayKey(day), text, QStringLiteral("lumkar")});
}

// Opens the general-notes window from the main window and gives it the keyboard.
TgenelnotF *openGeneralNotesWindow(App &app, Tanamenuf *main)
{
    main->JvNavPanelButton11Click();
    TgenelnotF *window = app.forms().genelnotF;
    window->activateWindow();
    return QTest::qWaitForWindowActive(window) ? window : nullptr;
}

} // namespace

class DailyNotesTest : public QObject {
    Q_OBJECT
private slots:
    void typingCreatesOneNoteForTheUserAndDay()
    {
        App app;
        Tanamenuf *main = start(app);
        QVERIFY(main);
        main->notesPanes()->JvDotNetDBMemo5->setFocus();
        main->dayLists()->JvDateTimePicker1->setFocus();
        QCOMPARE(noteCount(app), 0); // entering and leaving writes nothing
        typeNote(main, QStringLiteral("Saat 3'te toplantı"));
        QCOMPARE(noteCount(app), 1);
        QCOMPARE(noteOf(app, QStringLiteral("lumkar"), kToday),
                 QStringLiteral("Saat 3'te toplantı\r\n"));
        typeNote(main, QStringLiteral(" ve çay"));
        QCOMPARE(noteCount(app), 1);
        QCOMPARE(noteOf(app, QStringLiteral("lumkar"), kToday),
                 QStringLiteral("Saat 3'te toplantı ve çay\r\n"));
    }

    void aNoteIsKeptWhenTheDayChangesBeforeTheMemoIsLeft()
    {
        App app;
        Tanamenuf *main = start(app);
        QVERIFY(main);
        typeNote(main, QStringLiteral("Unutma"), false);
        // The day changes while the memo still has the focus (as the timer or a click can do).
        main->dayLists()->JvDateTimePicker1->setDate(kToday.addDays(1));
        QCOMPARE(noteOf(app, QStringLiteral("lumkar"), kToday), QStringLiteral("Unutma\r\n"));
        QVERIFY(main->notesPanes()->JvDotNetDBMemo5->toPlainText().isEmpty());
        main->dayLists()->JvDateTimePicker1->setDate(kToday);
        QCOMPARE(main->notesPanes()->JvDotNetDBMemo5->toPlainText(), QStringLiteral("Unutma"));
    }

    void aNoteIsKeptAtUserChangeAndProgramEnd()
    {
        App app;
        Tanamenuf *main = start(app);
        QVERIFY(main);
        typeNote(main, QStringLiteral("Birinci"), false);
        main->N7KullaniciDegistir();
        QCOMPARE(noteOf(app, QStringLiteral("lumkar"), kToday), QStringLiteral("Birinci\r\n"));
        main = start(app);
        QVERIFY(main);
        typeNote(main, QStringLiteral(" ikinci"), false);
        app.dialogs.expectQuestion(Answer::Yes);
        main->JvNavPanelButton6Click();
        QCOMPARE(noteOf(app, QStringLiteral("lumkar"), kToday),
                 QStringLiteral("Birinci ikinci\r\n"));
    }

    void aNoteThatCannotBeWrittenIsToldOnce_data()
    {
        QTest::addColumn<QString>("way");
        QTest::newRow("Kapat") << "Kapat";
        QTest::newRow("window closed") << "close";
        QTest::newRow("user change") << "user";
    }
    void aNoteThatCannotBeWrittenIsToldOnce()
    {
        QFETCH(QString, way);
        App app;
        Tanamenuf *main = start(app);
        QVERIFY(main);
        app.failWrites(QStringLiteral("gunluknot"), QStringLiteral("INSERT"));
        typeNote(main, QStringLiteral("Unutma"), false);
        QSignalSpy ended(app.forms().PasswordDlg, &TPasswordDlg::programEnded);
        app.dialogs.expectNotice(3); // room for more: the count is what is checked
        if (way == QLatin1String("user")) {
            main->N7KullaniciDegistir();
            QVERIFY(!main->isVisible());
            QCOMPARE(main->notesPanes()->JvDotNetDBMemo5->toPlainText(),
                     QStringLiteral("Unutma"));
        } else {
            app.dialogs.expectQuestion(Answer::Yes);
            if (way == QLatin1String("Kapat"))
                main->JvNavPanelButton6Click();
            else
                QVERIFY(main->close());
            QCOMPARE(ended.count(), 1);
        }
        QStringList errors;
        for (const ShownDialog &shown : app.dialogs.shown())
            if (shown.kind == QLatin1String("error"))
                errors << shown.text;
        QCOMPARE(errors.size(), 1);
        QVERIFY2(errors.first().startsWith(QStringLiteral("Günlük not kaydedilemedi: "))
                     && errors.first().contains(QStringLiteral("disk dolu")),
                 qPrintable(errors.first()));
        QCOMPARE(noteCount(app), 0);
    }

    void eachUserSeesOnlyTheirOwnNote()
    {
        App app;
        app.addUser(QStringLiteral("ece"), QString(), QStringLiteral("Ece"), QStringLiteral("Ak"));
        Tanamenuf *main = start(app);
        QVERIFY(main);
        typeNote(main, QStringLiteral("Yönetici notu"));
        main->N7KullaniciDegistir();
        main = start(app, QStringLiteral("ece"));
        QVERIFY(main);
        QVERIFY(main->notesPanes()->JvDotNetDBMemo5->toPlainText().isEmpty());
        typeNote(main, QStringLiteral("Ece'nin notu"));
        QCOMPARE(noteCount(app), 2);
        QCOMPARE(noteOf(app, QStringLiteral("ece"), kToday), QStringLiteral("Ece'nin notu\r\n"));
        main->N7KullaniciDegistir();
        main = start(app);
        QVERIFY(main);
        QCOMPARE(
            main->notesPanes()->JvDotNetDBMemo5->toPlainText(), QStringLiteral("Yönetici notu"));
    }
};

class GeneralNotesTest : public QObject {
    Q_OBJECT
private slots:
    void generalNotesShowAfterARefreshOrADayChange()
    {
        App app;
        Tanamenuf *main = start(app);
        QVERIFY(main);
        QVERIFY(main->notesPanes()->JvDotNetDBMemo2->isReadOnly());
        addGeneralNote(app, kToday, QStringLiteral("Bugün bayram mesaisi"));
        addGeneralNote(app, kToday.addDays(2), QStringLiteral("Bakım günü"));
        QVERIFY(main->notesPanes()->JvDotNetDBMemo2->toPlainText().isEmpty());
        main->JvNavPanelButton10Click();
        QCOMPARE(main->notesPanes()->JvDotNetDBMemo2->toPlainText(),
            QStringLiteral("Bugün bayram mesaisi"));
        main->dayLists()->JvDateTimePicker1->setDate(kToday.addDays(2));
        QCOMPARE(main->notesPanes()->JvDotNetDBMemo2->toPlainText(), QStringLiteral("Bakım günü"));
        main->dayLists()->JvDateTimePicker1->setDate(kToday.addDays(1));
        QVERIFY(main->notesPanes()->JvDotNetDBMemo2->toPlainText().isEmpty());
    }

    void writtenNotesCarryTheirWriterAndArePostedWhenTheWindowCloses()
    {
        App app;
        Tanamenuf *main = start(app);
        QVERIFY(main);
        QTest::mouseClick(main->JvNavPanelButton11, Qt::LeftButton);
        TgenelnotF *window = app.forms().genelnotF;
        QVERIFY(window->isVisible());
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        window->DBGrid1->setFocus();
        QTest::keyClick(window->DBGrid1, Qt::Key_Insert);
        QCOMPARE(main->notesPanes()->ADOTable1->state(), DataSet::State::Insert);
        // The day is typed into the grid's "Tarih" cell.
        QAbstractItemModel *model = window->DBGrid1->model();
        window->DBGrid1->setCurrentIndex(model->index(0, 0));
        window->DBGrid1->edit(model->index(0, 0));
        auto *editor = window->DBGrid1->findChild<QLineEdit *>();
        QVERIFY(editor);
        editor->setText(kToday.toString(QStringLiteral("ddMMyyyy")));
        QTest::keyClick(editor, Qt::Key_Return); // the grid takes the cell's text after the key
        QTRY_COMPARE(
            main->notesPanes()->ADOTable1->value(QStringLiteral("tarih")).toDateTime().date(),
            kToday);
        window->JvDotNetDBMemo5->setFocus();
        typeText(window->JvDotNetDBMemo5, QStringLiteral("Herkese duyuru"));
        QTest::mouseClick(window->JvNavPanelButton1, Qt::LeftButton);
        QVERIFY(!window->isVisible());
        QCOMPARE(app.scalar(QStringLiteral("SELECT kodu || ':' || \"not\" FROM genelnot"))
                     .toString(),
                 QStringLiteral("lumkar:Herkese duyuru\r\n"));
        main->JvNavPanelButton10Click();
        QCOMPARE(
            main->notesPanes()->JvDotNetDBMemo2->toPlainText(), QStringLiteral("Herkese duyuru"));
    }

    void anImpossibleDayIsRefused()
    {
        App app;
        Tanamenuf *main = start(app);
        QVERIFY(main);
        main->JvNavPanelButton11Click();
        TgenelnotF *window = app.forms().genelnotF;
        main->notesPanes()->ADOTable1->append();
        QAbstractItemModel *model = window->DBGrid1->model();
        window->DBGrid1->edit(model->index(0, 0));
        auto *editor = window->DBGrid1->findChild<QLineEdit *>();
        QVERIFY(editor);
        editor->setText(QStringLiteral("31022024"));
        app.dialogs.expectNotice();
        window->DBGrid1->itemDelegateForColumn(0)->setModelData(editor, model, model->index(0, 0));
        QCOMPARE(
            app.dialogs.lastText(), QStringLiteral("\"31.02.2024\" tarih girişiniz uygun değil!"));
        QVERIFY(main->notesPanes()->ADOTable1->isNull(QStringLiteral("tarih")));
    }

    void deletingAsksFirst()
    {
        App app;
        addGeneralNote(app, kToday, QStringLiteral("Silinecek"));
        Tanamenuf *main = start(app);
        QVERIFY(main);
        TgenelnotF *window = openGeneralNotesWindow(app, main);
        QVERIFY(window);
        window->DBGrid1->setFocus();
        for (Answer answer : {Answer::No, Answer::Cancel}) {
            app.dialogs.expectQuestion(answer);
            QTest::keyClick(window->DBGrid1, Qt::Key_Delete);
            QCOMPARE(app.scalar(QStringLiteral("SELECT count(*) FROM genelnot")).toInt(), 1);
        }
        QCOMPARE(app.dialogs.lastText(),
                 QStringLiteral("Genel not silinecektir! Silmek istediğinize eminmisiniz?"));
        QCOMPARE(app.dialogs.shown().last().title, QStringLiteral("Lumkar Selvaron"));
        app.dialogs.expectQuestion(Answer::Yes);
        QTest::keyClick(window->DBGrid1, Qt::Key_Delete);
        QCOMPARE(app.scalar(QStringLiteral("SELECT count(*) FROM genelnot")).toInt(), 0);
    }

    void movingOffAChangedNoteKeepsTheGridOnItsRow()
    {
        App app;
        for (int d : {0, 1, 2})
            addGeneralNote(app, kToday.addDays(d), QStringLiteral("Not %1").arg(d));
        Tanamenuf *main = start(app);
        QVERIFY(main);
        TgenelnotF *window = openGeneralNotesWindow(app, main);
        QVERIFY(window);
        GridView *grid = window->DBGrid1;
        QCOMPARE(grid->model()->rowCount(), 3);
        grid->setFocus();
        grid->setCurrentIndex(grid->model()->index(2, 1));
        const QString third = main->notesPanes()->ADOTable1->text(QStringLiteral("not"));
        window->JvDotNetDBMemo5->setFocus();
        QTest::keyClick(window->JvDotNetDBMemo5, Qt::Key_End, Qt::ControlModifier);
        typeText(window->JvDotNetDBMemo5, QStringLiteral(" ek"));
        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_Up); // posts the changed note and moves up
        QCOMPARE(app.scalar(QStringLiteral("SELECT count(*) FROM genelnot WHERE \"not\" LIKE '%ek%'"))
                     .toInt(),
                 1);
        QVERIFY(grid->currentIndex().isValid());
        QCOMPARE(grid->currentIndex().row(), main->notesPanes()->ADOTable1->currentRow());
        QCOMPARE(grid->currentIndex().row(), 1);
        QTest::keyClick(grid, Qt::Key_Down);
        QCOMPARE(main->notesPanes()->ADOTable1->currentRow(), 2);
        QVERIFY(
            main->notesPanes()->ADOTable1->text(QStringLiteral("not")).startsWith(third.trimmed()));
        QVERIFY(window->JvDotNetDBMemo5->toPlainText().endsWith(QStringLiteral(" ek")));
    }

    void aPendingGeneralNoteIsPostedAtProgramEnd()
    {
        App app;
        Tanamenuf *main = start(app);
        QVERIFY(main);
        main->JvNavPanelButton11Click();
        main->notesPanes()->ADOTable1->append();
        main->notesPanes()->ADOTable1->setValue(
            QStringLiteral("tarih"), QDateTime(kToday, QTime(0, 0)));
        main->notesPanes()->ADOTable1->setValue(QStringLiteral("not"), QStringLiteral("Son not"));
        app.forms().PasswordDlg->close();
        QCOMPARE(app.scalar(QStringLiteral("SELECT \"not\" FROM genelnot")).toString(),
                 QStringLiteral("Son not"));
    }
};

LUMKAR_TEST(DailyNotesTest)
LUMKAR_TEST(GeneralNotesTest)
#include "tst_notes.moc"
