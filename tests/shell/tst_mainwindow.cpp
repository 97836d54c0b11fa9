// The main window's frame: the exit, the function keys, Enter, and the navigation items.

#include "fixture.h"
#include "testregistry.h"

#include "accounts/gunsonu.h"
#include "accounts/ledger.h"
#include "accounts/primrapor.h"
#include "appointments/aylik.h"
#include "appointments/dayview.h"
#include "appointments/entrypanel.h"
#include "appointments/hatirlatma.h"
#include "appointments/randevu.h"
#include "data/database.h"
#include "data/dataset.h"
#include "data/values.h"
#include "notes/notespanes.h"
#include "persons/perozluk.h"
#include "persons/sicilrapor.h"
#include "reports/preview.h"
#include "shell/anamenu.h"
#include "shell/sifre.h"
#include "shell/yardim.h"
#include "visits/gorusme.h"
#include "visits/paketler.h"

#include <QAction>
#include <QApplication>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QSqlError>
#include <QSqlQuery>
#include <QLayout>
#include <QTest>
#include <QToolButton>

using namespace lumkar;
using namespace lumkar::test;

namespace {

const QString kExit = QStringLiteral("Programı kapatmak istediğinize eminmisiniz?");

Tanamenuf *loggedIn(App &app, const Rights &rights = {})
{
    app.addUser(QStringLiteral("u"), QString(), QStringLiteral("Umut"), QStringLiteral("Ak"),
                rights);
    if (!app.login(QStringLiteral("u")))
        return nullptr;
    Tanamenuf *main = app.forms().anamenuf;
    main->activateWindow();
    if (!QTest::qWaitForWindowActive(main))
        return nullptr;
    return main;
}

QString iniValue(App &app, const QString &key)
{
    QSettings ini(app.forms().PasswordDlg->ayarPath(), QSettings::IniFormat);
    return ini.value(QStringLiteral("basla/") + key).toString();
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void closeButtonAsksOnceAndStoresTheRefreshSettings_data()
    {
        QTest::addColumn<int>("answer");
        QTest::newRow("Hayır") << int(Answer::No);
        QTest::newRow("İptal") << int(Answer::Cancel);
    }

    void closeButtonAsksOnceAndStoresTheRefreshSettings()
    {
        QFETCH(int, answer);
        App app;
        Tanamenuf *main = loggedIn(app);
        QSignalSpy ended(app.forms().PasswordDlg, &TPasswordDlg::programEnded);
        main->JvDotNetEdit1->setText(QStringLiteral("25"));
        main->CheckBox1->setChecked(true);
        app.dialogs.expectQuestion(Answer(answer));
        QVERIFY(!main->close());
        QVERIFY(main->isVisible());
        QCOMPARE(app.dialogs.lastText(), kExit);
        QCOMPARE(app.dialogs.lastButtons(), Buttons::YesNoCancel);
        QCOMPARE(ended.count(), 0);
        // Stored although the window stays.
        QCOMPARE(iniValue(app, QStringLiteral("yenile")), QStringLiteral("25"));
        QCOMPARE(iniValue(app, QStringLiteral("ycheck")), QStringLiteral("1"));

        app.dialogs.expectQuestion(Answer::Yes);
        QVERIFY(main->close());
        QCOMPARE(ended.count(), 1);
        QCOMPARE(app.dialogs.shown().size(), 2);
    }

    void kapatAsksOnceAndTheCloseThatFollowsDoesNot()
    {
        App app;
        Tanamenuf *main = loggedIn(app);
        QSignalSpy ended(app.forms().PasswordDlg, &TPasswordDlg::programEnded);
        app.dialogs.expectQuestion(Answer::No);
        QTest::mouseClick(main->JvNavPanelButton6, Qt::LeftButton);
        QVERIFY(main->isVisible());
        QVERIFY(!main->exitConfirmed());
        QVERIFY(iniValue(app, QStringLiteral("yenile")).isEmpty()); // nothing was closed
        app.dialogs.expectQuestion(Answer::Yes);
        QTest::mouseClick(main->JvNavPanelButton6, Qt::LeftButton);
        QCOMPARE(ended.count(), 1);
        QCOMPARE(app.dialogs.shown().size(), 2);
        QVERIFY(main->exitConfirmed());
        QVERIFY(app.forms().PasswordDlg->closing());
        QVERIFY(!main->isVisible());
    }

    void theExitDeletesNothingWithoutADriveC()
    {
        App app;
        Tanamenuf *main = loggedIn(app);
        // A file whose name looks like that path, in the program's folder.
        const QString lookalike = app.session().GetPathPath() + QStringLiteral("C:\\fftrlog.txt");
        QFile f(lookalike);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        app.dialogs.expectQuestion(Answer::Yes);
        main->JvNavPanelButton6Click();
        QVERIFY(QFile::exists(lookalike));
    }

    void functionKeysWithoutActionDoNothing()
    {
        App app;
        Tanamenuf *main = loggedIn(app);
        main->entryForm()->kisinoedit->setFocus();
        for (Qt::Key key : { Qt::Key_F5, Qt::Key_F8, Qt::Key_F9, Qt::Key_F11, Qt::Key_F12 })
            QTest::keyClick(main->entryForm()->kisinoedit, key);
        QVERIFY(app.dialogs.shown().isEmpty());
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w->isVisible())
                QCOMPARE(w, static_cast<QWidget *>(main));
    }

    void functionKeysReachTheirActionsWithoutAddRight()
    {
        App app;
        Rights noAdd;
        noAdd.ekle = QStringLiteral("H");
        Tanamenuf *main = loggedIn(app, noAdd);
        QCOMPARE(popupMenu(main), main->BosPopup);
        QSignalSpy save(main->kaydetAction, &QAction::triggered);
        QSignalSpy discard(main->vazgecAction, &QAction::triggered);
        QWidget *target = main->dayLists()->JvDateTimePicker1;
        target->setFocus();
        // Saving is refused for the missing right; discarding asks first.
        app.dialogs.expectNotice();
        app.dialogs.expectQuestion(Answer::No);
        QTest::keyClick(target, Qt::Key_F2);
        QTest::keyClick(target, Qt::Key_F3);
        QCOMPARE(save.count(), 1);
        QCOMPARE(discard.count(), 1);

        app.dialogs.expectQuestion(Answer::No); // F6 on an empty register asks first
        QTest::keyClick(target, Qt::Key_F6);
        QCOMPARE(app.dialogs.lastText(),
                 QStringLiteral("Kişi kaydı mevcut değil! Açmak istermisiniz?"));
        QCOMPARE(app.dialogs.shown().last().title, QStringLiteral("Lumkar Selvaron"));
        QVERIFY(!app.forms().ozluk->isVisible());

        QTest::keyClick(target, Qt::Key_F7);
        QVERIFY(app.forms().ozluk->isVisible());
        QCOMPARE(app.forms().ozluk->sicilTable->text(QStringLiteral("sicil_kodu")),
                 QStringLiteral("1"));
        app.forms().ozluk->sicilTable->cancel();
        app.forms().ozluk->hide();

        main->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(main));
        target->setFocus();
        QTest::keyClick(target, Qt::Key_F4);
        ReportPreview *preview = nullptr;
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *p = qobject_cast<ReportPreview *>(w); p && p->isVisible())
                preview = p;
        QVERIFY(preview);
        QCOMPARE(preview->windowTitle(), QStringLiteral("Lumkar Rapor Önizleme - Günlük Randevular"));
        preview->close();

        main->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(main));
        target->setFocus();
        app.dialogs.expectQuestion(Answer::No);
        QTest::keyClick(target, Qt::Key_F10);
        QCOMPARE(app.dialogs.lastText(), kExit);
        QVERIFY(main->isVisible());
    }

    void enterMovesTheFocusButNotInMemos()
    {
        App app;
        Tanamenuf *main = loggedIn(app);
        main->entryForm()->AdiEdit->setFocus();
        QTRY_VERIFY(main->entryForm()->AdiEdit->hasFocus());
        QTest::keyClick(main->entryForm()->AdiEdit, Qt::Key_Return);
        QVERIFY(!main->entryForm()->AdiEdit->hasFocus());
        QVERIFY(main->entryForm()->AdiEdit->text().isEmpty());
        main->entryForm()->konuMemo->setFocus();
        QTest::keyClicks(main->entryForm()->konuMemo, QStringLiteral("bir"));
        QTest::keyClick(main->entryForm()->konuMemo, Qt::Key_Return);
        QTest::keyClicks(main->entryForm()->konuMemo, QStringLiteral("iki"));
        QVERIFY(main->entryForm()->konuMemo->hasFocus());
        QCOMPARE(main->entryForm()->konuMemo->toPlainText(), QStringLiteral("bir\niki"));
        // The read-only general-notes memo keeps the focus too.
        main->notesPanes()->JvDotNetDBMemo2->setFocus();
        QTRY_VERIFY(main->notesPanes()->JvDotNetDBMemo2->hasFocus());
        QTest::keyClick(main->notesPanes()->JvDotNetDBMemo2, Qt::Key_Return);
        QVERIFY(main->notesPanes()->JvDotNetDBMemo2->hasFocus());
        QCOMPARE(main->notesPanes()->ffTable1->state(), DataSet::State::Browse);
    }

    // Tab walks from the top pane into the entry form, box by box to "KAYDET", and on to the
    // waiting list: a booking needs no mouse.
    void tabWalksFromTheTopPaneThroughTheEntryForm()
    {
        App app;
        Tanamenuf *main = loggedIn(app);
        QWidget *last = main->dayLists()->CheckBox3;
        last->setFocus();
        QTRY_VERIFY(last->hasFocus());
        QList<QWidget *> expected = main->entryForm()->tabChain();
        expected << main->dayLists()->JvDBUltimGrid1;
        for (QWidget *next : std::as_const(expected)) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QWidget *now = QApplication::focusWidget();
            QVERIFY2(now == next || next->isAncestorOf(now),
                     qPrintable(QStringLiteral("after %1 came %2, not %3")
                                    .arg(last->objectName(),
                                         now ? now->objectName() : QStringLiteral("nothing"),
                                         next->objectName())));
            last = next;
        }
    }

    void toolbarButtonsInTheirOrder()
    {
        App app;
        Tanamenuf *main = loggedIn(app);
        QWidget *strip = main->JvNavPanelButton2->parentWidget();
        QStringList captions;
        for (int i = 0; i < strip->layout()->count(); ++i)
            if (auto *b = qobject_cast<QToolButton *>(strip->layout()->itemAt(i)->widget()))
                captions << b->text();
        QCOMPARE(captions, (QStringList{"Yeni Rand.", " Kaydet", " Vazgeç", "R.Görüşme",
                                        " Yazdır", "  Kapat", "  Yenile", "Genel Not Gir"}));
        QVERIFY(main->tfXPButton1->text().isEmpty());
        QVERIFY(!main->tfXPButton1->icon().isNull());
    }

    void entryBoxesCarryTheEntryRules()
    {
        App app;
        Tanamenuf *main = loggedIn(app);
        main->entryForm()->RTarihiEdit->setFocus();
        QTRY_VERIFY(main->entryForm()->RTarihiEdit->hasFocus());
        QTest::keyClicks(main->entryForm()->RTarihiEdit, QStringLiteral("32018"));
        app.dialogs.expectNotice();
        QTest::keyClick(main->entryForm()->RTarihiEdit, Qt::Key_Tab);
        QCOMPARE(
            app.dialogs.lastText(), QStringLiteral("\"32.01.2008\" tarih girişiniz uygun değil!"));
        QTRY_VERIFY(main->entryForm()->RTarihiEdit->hasFocus());
        QCOMPARE(main->entryForm()->RTarihiEdit->displayText(), QStringLiteral("  .  .    "));
        main->entryForm()->islemTutariEdit->setFocus();
        QTest::keyClicks(main->entryForm()->islemTutariEdit, QStringLiteral("1234x5"));
        QCOMPARE(main->entryForm()->islemTutariEdit->text(), QStringLiteral("12.345"));
    }

    void navigationOpensItsWindows()
    {
        App app;
        app.exec(QStringLiteral("INSERT INTO siciltablo (sicil_kodu, adi) VALUES ('7', 'Ali')"));
        Tanamenuf *main = loggedIn(app);
        Forms &f = app.forms();
        auto item = [main](const QString &name) {
            return main->JvXPBar1->findChild<QPushButton *>(name);
        };
        QStringList captions;
        for (QPushButton *b : main->JvXPBar1->items())
            captions << b->text();
        QCOMPARE(captions.size(), 14);
        QCOMPARE(captions.at(3), QStringLiteral("Günlük Raporlar"));
        QVERIFY(!main->JvXPBar1->items().at(3)->isVisibleTo(main));

        QTest::mouseClick(item(QStringLiteral("N2")), Qt::LeftButton);
        QVERIFY(f.sicrapor->isVisible());
        QVERIFY(f.sicrapor->isChoosing());
        QCOMPARE(f.sicrapor->sicrapQuery->recordCount(), 1);

        QTest::mouseClick(item(QStringLiteral("N3")), Qt::LeftButton);
        QVERIFY(f.randevuF->isVisible());
        QVERIFY(f.randevuF->randevuTable->isOpen());

        main->dayLists()->JvDateTimePicker1->setDate(QDate(2025, 2, 3));
        QTest::mouseClick(item(QStringLiteral("N5")), Qt::LeftButton);
        QVERIFY(f.aylikF->isVisible());
        QCOMPARE(f.aylikF->plannerDate(), QDate(2025, 2, 3));

        for (const auto &[name, window] :
             {std::pair{QStringLiteral("N4"), static_cast<QWidget *>(f.gorusmeF)},
              std::pair{QStringLiteral("N8"), static_cast<QWidget *>(f.paketlerF)},
              std::pair{QStringLiteral("N9"), static_cast<QWidget *>(f.kasaF)},
              std::pair{QStringLiteral("N10"), static_cast<QWidget *>(f.kkartF)},
              std::pair{QStringLiteral("N11"), static_cast<QWidget *>(f.hatirlatmaF)},
              std::pair{QStringLiteral("N12"), static_cast<QWidget *>(f.gunsonuF)},
              std::pair{QStringLiteral("N13"), static_cast<QWidget *>(f.primF)}}) {
            QTest::mouseClick(item(name), Qt::LeftButton);
            QVERIFY2(window->isVisible(), qPrintable(name));
        }

        QTest::mouseClick(item(QStringLiteral("N7")), Qt::LeftButton);
        QVERIFY(!main->isVisible());
        QVERIFY(f.PasswordDlg->isVisible());
    }

    void helpKeyOpensTheMainWindowsTopic()
    {
        App app;
        Tanamenuf *main = loggedIn(app);
        main->dayLists()->JvDateTimePicker1->setFocus();
        QTest::keyClick(main->dayLists()->JvDateTimePicker1, Qt::Key_F1);
        QVERIFY(app.forms().yardimF->isVisible());
    }
};

// Desks on one server see each other's writes at once, without the refresh timer, and the
// refresh waits while the user answers.
class OtherDesksTest : public QObject {
    Q_OBJECT
private slots:
    void anotherDesksBookingShowsAtOnce()
    {
        if (!usesServer())
            QSKIP("the embedded file keeps its refresh timer");
        App app;
        Tanamenuf *main = loggedIn(app);
        QVERIFY(main && !main->timerRunning());
        DataSet *waiting = app.forms().dayLists->randevuTable;
        QCOMPARE(waiting->recordCount(), 0);
        Database other(app.folder());
        QVERIFY2(other.open(), qPrintable(other.errorText()));
        const auto book = [&](const QString &name) {
            QSqlQuery q(other.db());
            q.prepare(QStringLiteral("INSERT INTO randevu (sicil_kodu, adi, soyadi, RKime, "
                                     "Rkimeadsoyad, randevutarihi, randevusaati) "
                                     "VALUES ('1', ?, 'Kaya', 'u', 'Umut Ak', ?, ?)"));
            q.addBindValue(name);
            q.addBindValue(values::dayKey(main->workingDate()));
            q.addBindValue(values::toDatabase(values::timeOfDay(QTime(9, 0)),
                                              FieldType::DateTime));
            QVERIFY2(q.exec(), qPrintable(q.lastError().text()));
        };
        book(QStringLiteral("Ayşe"));
        QTRY_COMPARE_WITH_TIMEOUT(waiting->recordCount(), 1, 2000);
        // While a question is open the list stays as the user sees it; it is read once the
        // user is done.
        {
            const Dialogs::Asking asking(app.dialogs);
            book(QStringLiteral("Ece"));
            QTRY_VERIFY_WITH_TIMEOUT(main->refreshWaiting(), 2000);
            QCOMPARE(waiting->recordCount(), 1);
        }
        QTRY_COMPARE_WITH_TIMEOUT(waiting->recordCount(), 2, 2000);
        // The program's own writes are no news to it: of its write and another desk's after
        // it, only the other desk's is told.
        QSignalSpy told(&app.session().database().otherDesks(), &OtherDesks::changed);
        app.addAppointment({QStringLiteral("u"), main->workingDate()});
        book(QStringLiteral("Oya"));
        QTRY_COMPARE_WITH_TIMEOUT(told.count(), 1, 2000);
        QCoreApplication::processEvents();
        QCOMPARE(told.count(), 1);
    }
};

LUMKAR_TEST(MainWindowTest)
LUMKAR_TEST(OtherDesksTest)
#include "tst_mainwindow.moc"
