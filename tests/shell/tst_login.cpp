// The login dialog: attempts, the failure counter, exact user codes, Ayar.ini, the
// master-password gate, a database that cannot be opened, and program end.

#include "fixture.h"
#include "testregistry.h"

#include "appointments/dayview.h"
#include "appointments/entrypanel.h"
#include "data/inifile.h"
#include "kit/controls.h"
#include "notes/notespanes.h"
#include "shell/anamenu.h"
#include "shell/sifre.h"
#include "shell/sifreler.h"
#include "shell/yardim.h"

#include <QApplication>
#include <QPushButton>
#include <QToolButton>
#include <QCheckBox>
#include <QLabel>
#include <QTimer>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QSettings>
#include <QSignalSpy>
#include <QTest>

using namespace lumkar;
using namespace lumkar::test;

namespace {
const QString kWrong = QStringLiteral("Kullanıcı adınız yada şifre yalnış! Tekrar deneyin!");
const QString kThree = QStringLiteral(
    "Şifreyi üç kez üst üste yalnış girdiniz! Program kapatılacaktır!");
} // namespace

class LoginTest : public QObject {
    Q_OBJECT
private slots:
    void defaultUserLogsInWithEmptyPassword()
    {
        App app;
        QVERIFY(app.login(QStringLiteral("lumkar")));
        QCOMPARE(app.session().currentUser.kullanici, QStringLiteral("lumkar"));
        QCOMPARE(app.session().currentUser.ekle, QStringLiteral("E"));
        Tanamenuf *main = app.forms().anamenuf;
        QCOMPARE(main->windowTitle(), QStringLiteral("Lumkar Vikelmo - Ana Menü"));
        QCOMPARE(main->workingDate(), QDate::currentDate());
        QVERIFY(main->dayLists()->randevuTable->isOpen() && main->dayLists()->ffQuery1->isOpen()
            && main->dayLists()->ffQuery4->isOpen());
        QCOMPARE(main->kullaniciKoduLabel->text(), QStringLiteral("Kullanıcı Kodu: lumkar"));
        QVERIFY(app.forms().PasswordDlg->loggedIn());
        QVERIFY(app.dialogs.shown().isEmpty());
    }

    void fourthPressAfterThreeFailuresEndsTheProgram()
    {
        App app;
        QSignalSpy ended(app.forms().PasswordDlg, &TPasswordDlg::programEnded);
        for (int i = 0; i < 3; ++i) {
            app.dialogs.expectNotice();
            app.typeLogin(QStringLiteral("lumkar"), QStringLiteral("yanlis"));
            QCOMPARE(app.dialogs.lastText(), kWrong);
            QVERIFY(app.forms().PasswordDlg->Password->text().isEmpty());
            QCOMPARE(app.forms().PasswordDlg->kullan->text(), QStringLiteral("lumkar"));
        }
        QCOMPARE(ended.count(), 0);
        app.dialogs.expectNotice();
        QVERIFY(!app.login(QStringLiteral("lumkar"), QString())); // the right password, too late
        QCOMPARE(app.dialogs.lastText(), kThree);
        QCOMPARE(ended.count(), 1);
        QVERIFY(!app.forms().PasswordDlg->loggedIn());
        QVERIFY(app.session().currentUser.kullanici.isEmpty());
    }

    void successResetsTheCounterButAUserChangeDoesNot()
    {
        App app;
        QSignalSpy ended(app.forms().PasswordDlg, &TPasswordDlg::programEnded);
        app.dialogs.expectNotice(2);
        app.typeLogin(QStringLiteral("lumkar"), QStringLiteral("x"));
        app.typeLogin(QStringLiteral("lumkar"), QStringLiteral("y"));
        QVERIFY(app.login(QStringLiteral("lumkar")));
        QCOMPARE(app.forms().PasswordDlg->failures(), 0);
        app.forms().anamenuf->N7KullaniciDegistir();
        QVERIFY(app.forms().PasswordDlg->isVisible());
        QVERIFY(!app.forms().anamenuf->isVisible());
        app.dialogs.expectNotice(3);
        for (int i = 0; i < 3; ++i)
            app.typeLogin(QStringLiteral("lumkar"), QStringLiteral("z"));
        QCOMPARE(ended.count(), 0);
        app.dialogs.expectNotice();
        app.typeLogin(QStringLiteral("lumkar"), QString());
        QCOMPARE(ended.count(), 1);
    }

    void emptyUserCodeShowsTheHintAndFails()
    {
        App app;
        app.dialogs.expectNotice(2);
        QVERIFY(!app.login(QString(), QString()));
        QCOMPARE(app.dialogs.shown().size(), 2);
        QCOMPARE(app.dialogs.shown().at(0).text,
                 QStringLiteral("Kullanıcı adını boş geçemezsiniz!\n\rBaşlangıçta kullanıcı adı "
                                "\"lumkar\",\n\rşifre ise yoktur!"));
        QCOMPARE(app.dialogs.shown().at(1).text, kWrong);
        QCOMPARE(app.forms().PasswordDlg->failures(), 1);
    }

    void codesAreMatchedExactly()
    {
        App app;
        app.addUser(QStringLiteral("alice"), QStringLiteral("a1"), QStringLiteral("Alice"),
                    QStringLiteral("Kaya"));
        app.addUser(QStringLiteral("ali"), QStringLiteral("a2"), QStringLiteral("Ali"),
                    QStringLiteral("Veli"));
        // A code that begins another user's code finds its own row.
        QVERIFY(app.login(QStringLiteral("ali"), QStringLiteral("a2")));
        QCOMPARE(app.session().currentUser.adSoyad, QStringLiteral("Ali Veli"));
        app.forms().anamenuf->N7KullaniciDegistir();
        QVERIFY(app.login(QStringLiteral("alice"), QStringLiteral("a1")));
        QCOMPARE(app.session().currentUser.kullanici, QStringLiteral("alice"));
        app.forms().anamenuf->N7KullaniciDegistir();
        // Another letter case, another user's password, or a prefix alone do not log in.
        app.dialogs.expectNotice(3);
        QVERIFY(!app.login(QStringLiteral("ALI"), QStringLiteral("a2")));
        QVERIFY(!app.login(QStringLiteral("ali"), QStringLiteral("a1")));
        QVERIFY(!app.login(QStringLiteral("al"), QStringLiteral("a2")));
        QCOMPARE(app.session().currentUser.kullanici, QStringLiteral("alice"));
    }

    void passwordsAreCaseSensitiveAndMayBeEmpty()
    {
        App app;
        app.addUser(QStringLiteral("veli"), QStringLiteral("Gizli"), QStringLiteral("Veli"),
                    QStringLiteral("Can"));
        app.addUser(QStringLiteral("bos"), QString(), QStringLiteral("Boş"),
                    QStringLiteral("Şifre"));
        app.dialogs.expectNotice(2);
        QVERIFY(!app.login(QStringLiteral("veli"), QStringLiteral("gizli")));
        QVERIFY(!app.login(QStringLiteral("bos"), QStringLiteral("x")));
        QVERIFY(app.login(QStringLiteral("bos"), QString()));
    }

    void pickersListEveryUserInOrder()
    {
        App app;
        app.addUser(QStringLiteral("b"), QString(), QStringLiteral("Bora"), QStringLiteral("Er"));
        QVERIFY(app.login(QStringLiteral("lumkar")));
        Tanamenuf *main = app.forms().anamenuf;
        QCOMPARE(main->entryForm()->RKimeBox->count(), 2);
        QCOMPARE(main->entryForm()->RKimeBox->itemText(1), QStringLiteral("b"));
        QCOMPARE(main->entryForm()->RKiminAdSoyadBox->itemText(1), QStringLiteral("Bora Er"));
        QCOMPARE(main->entryForm()->RKimeBox->currentText(), QStringLiteral("lumkar"));
        // The two pickers stay on the same item.
        main->entryForm()->RKiminAdSoyadBox->setCurrentIndex(1);
        QCOMPARE(main->entryForm()->RKimeBox->currentText(), QStringLiteral("b"));
    }

    void ayarIniKeepsThePasswordOnlyWhenAsked()
    {
        App app;
        TPasswordDlg *dlg = app.forms().PasswordDlg;
        const QString ini = dlg->ayarPath();
        QVERIFY(!QFile::exists(ini));
        app.forms().anamenuf->JvDotNetEdit1->setText(QStringLiteral("30"));
        app.forms().anamenuf->CheckBox1->setChecked(true);
        app.dialogs.expectNotice();
        app.typeLogin(QStringLiteral("lumkar"), QStringLiteral("yanlis"));
        // Without Ayar.ini the refresh settings read as empty and the box is unticked.
        QVERIFY(app.forms().anamenuf->JvDotNetEdit1->text().isEmpty());
        QVERIFY(!app.forms().anamenuf->CheckBox1->isChecked());
        QSettings written(ini, QSettings::IniFormat);
        QCOMPARE(written.value(QStringLiteral("basla/kul")).toString(), QStringLiteral("lumkar"));
        QCOMPARE(written.value(QStringLiteral("basla/sif")).toString(), QString());
        QCOMPARE(written.value(QStringLiteral("basla/check1")).toString(), QStringLiteral("0"));
        QCOMPARE(written.value(QStringLiteral("basla/check2")).toString(), QStringLiteral("0"));

        app.addUser(QStringLiteral("ece"), QStringLiteral("Şifre1"), QStringLiteral("Ece"),
                    QStringLiteral("Ak"));
        dlg->CheckBox1->setChecked(true);
        dlg->CheckBox2->setChecked(true);
        QVERIFY(app.login(QStringLiteral("ece"), QStringLiteral("Şifre1")));
        QSettings again(ini, QSettings::IniFormat);
        QCOMPARE(again.value(QStringLiteral("basla/sif")).toString(), QStringLiteral("Şifre1"));
        QCOMPARE(again.value(QStringLiteral("basla/check2")).toString(), QStringLiteral("1"));

        // The next start fills the dialog from the file.
        app.forms().PasswordDlg->hide();
        std::unique_ptr<Forms> next = createForms(app.session());
        QCOMPARE(next->PasswordDlg->kullan->text(), QStringLiteral("ece"));
        QCOMPARE(next->PasswordDlg->Password->text(), QStringLiteral("Şifre1"));
        QVERIFY(next->PasswordDlg->CheckBox1->isChecked());
        QVERIFY(next->PasswordDlg->CheckBox2->isChecked());
        QCOMPARE(next->PasswordDlg->Password->echoMode(), QLineEdit::Normal);
    }

    void refreshSettingsComeBackFromAyarIni()
    {
        App app;
        IniFile ini(app.forms().PasswordDlg->ayarPath());
        QVERIFY(ini.write(QStringLiteral("basla"), QStringLiteral("yenile"), QStringLiteral("45")));
        QVERIFY(ini.write(QStringLiteral("basla"), QStringLiteral("ycheck"), QStringLiteral("1")));
        QVERIFY(app.login(QStringLiteral("lumkar")));
        Tanamenuf *main = app.forms().anamenuf;
        QCOMPARE(main->JvDotNetEdit1->text(), QStringLiteral("45"));
        QVERIFY(main->CheckBox1->isChecked());
        QVERIFY(main->timerRunning());
        QCOMPARE(main->Timer1->interval(), 45000);
    }

    void unticking_hidesThePasswordAtOnce()
    {
        App app;
        TPasswordDlg *dlg = app.forms().PasswordDlg;
        QCOMPARE(dlg->Password->echoMode(), QLineEdit::Password);
        dlg->CheckBox1->setChecked(true);
        QCOMPARE(dlg->Password->echoMode(), QLineEdit::Normal);
        dlg->CheckBox1->setChecked(false);
        QCOMPARE(dlg->Password->echoMode(), QLineEdit::Password);
    }

    void enterMovesToThePasswordAndLogsIn()
    {
        App app;
        TPasswordDlg *dlg = app.forms().PasswordDlg;
        dlg->show();
        dlg->activateWindow();
        dlg->kullan->setFocus();
        QTest::keyClicks(dlg->kullan, QStringLiteral("lumkar"));
        QTest::keyClick(dlg->kullan, Qt::Key_Return);
        QTRY_VERIFY(dlg->Password->hasFocus());
        QTest::keyClick(dlg->Password, Qt::Key_Return);
        QVERIFY(app.forms().anamenuf->isVisible());
        QVERIFY(dlg->Password->text().isEmpty());
    }

    void tabStartsAtTheCodeAndF1OpensTheTopic()
    {
        App app;
        TPasswordDlg *dlg = app.forms().PasswordDlg;
        dlg->show();
        dlg->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(dlg));
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(dlg->kullan));
        QList<QWidget *> visited;
        for (int i = 0; i < 8; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << QApplication::focusWidget();
        }
        QCOMPARE(visited.mid(0, 6),
                 (QList<QWidget *>{dlg->Password, dlg->CheckBox1, dlg->CheckBox2,
                                   dlg->tfXPButton1, dlg->JvXPButton1, dlg->OKBtn}));
        QCOMPARE(visited.at(6), static_cast<QWidget *>(dlg->kullan)); // round to the start
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
        QVERIFY(app.forms().yardimF->isVisible());
    }

    void masterGateOpensTheUsersWindow()
    {
        App app;
        TPasswordDlg *dlg = app.forms().PasswordDlg;
        app.exec(QStringLiteral("UPDATE master SET mids = ?"), {QStringLiteral("Usta")});
        dlg->Password->setText(QStringLiteral("usta"));
        app.dialogs.expectNotice();
        dlg->masterGate();
        QCOMPARE(app.dialogs.lastText(),
                 QStringLiteral("Master Şifreyi yalnış girdiniz! Şifre alanına master şifreyi "
                                "girerek tekrar deneyin!"));
        QVERIFY(dlg->Password->text().isEmpty());
        QVERIFY(!app.forms().sifrelerF->isVisible());
        dlg->Password->setText(QStringLiteral("Usta"));
        dlg->masterGate();
        QVERIFY(app.forms().sifrelerF->isVisible());
        QCOMPARE(dlg->failures(), 0);
    }

    void emptyMasterPasswordOpensWithAnEmptyField()
    {
        App app;
        app.forms().PasswordDlg->Password->clear();
        app.forms().PasswordDlg->masterGate();
        QVERIFY(app.forms().sifrelerF->isVisible());
    }

    void withoutUsersEveryAttemptFails()
    {
        App app;
        app.exec(QStringLiteral("DELETE FROM sifre"));
        app.dialogs.expectNotice();
        QVERIFY(!app.login(QStringLiteral("lumkar")));
        QCOMPARE(app.scalar(QStringLiteral("SELECT count(*) FROM sifre")).toInt(), 0);
    }

    void unreadableDatabaseIsReportedOnce_data()
    {
        QTest::addColumn<bool>("asFolder");
        QTest::newRow("not a database") << false;
        QTest::newRow("a folder in its place") << true;
    }

    void unreadableDatabaseIsReportedOnce()
    {
        if (usesServer())
            QSKIP("a damaged or missing database file");
        QFETCH(bool, asFolder);
        App app;
        const QString path = app.session().database().filePath();
        QVERIFY(QFile::remove(path));
        if (asFolder) {
            QVERIFY(QDir().mkpath(path));
        } else {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("bu bir veritabanı değil, sadece metin\n");
        }
        QSignalSpy ended(app.forms().PasswordDlg, &TPasswordDlg::programEnded);
        app.dialogs.expectNotice();
        QVERIFY(!app.login(QStringLiteral("lumkar")));
        QCOMPARE(app.dialogs.shown().size(), 1);
        QCOMPARE(app.dialogs.shown().first().kind, QStringLiteral("error"));
        QVERIFY(app.dialogs.lastText().contains(QDir::toNativeSeparators(path)));
        QVERIFY(!app.forms().PasswordDlg->loggedIn());
        QVERIFY(!app.forms().anamenuf->isVisible());
        QCOMPARE(ended.count(), 0);
    }

    void closingTheLoginDialogEndsTheProgram()
    {
        App app;
        QSignalSpy ended(app.forms().PasswordDlg, &TPasswordDlg::programEnded);
        app.forms().PasswordDlg->show();
        app.forms().PasswordDlg->close();
        QCOMPARE(ended.count(), 1);
    }
};

LUMKAR_TEST(LoginTest)
#include "tst_login.moc"
