// Ayar.ini as the login dialog and the main window keep it: what was typed comes back exactly
// at the next start, and a disk that refuses the file is told once while the program goes on.

#include "fixture.h"
#include "fulldisk.h"
#include "testregistry.h"

#include "app/forms.h"
#include "data/inifile.h"
#include "shell/anamenu.h"
#include "shell/sifre.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <limits>

using namespace lumkar;
using namespace lumkar::test;

namespace {

QByteArray contentsOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The one notice a refused settings write shows.
bool isSettingsNotice(const ShownDialog &shown, const QString &path)
{
    return shown.kind == QLatin1String("warning")
        && shown.text.startsWith(QStringLiteral("Ayarlar kaydedilemedi: \"")
                                 + QDir::toNativeSeparators(path) + QLatin1Char('"'))
        && shown.text.endsWith(QStringLiteral("Dosyadaki önceki ayarlar olduğu gibi duruyor."));
}

} // namespace

class LoginSettingsTest : public QObject {
    Q_OBJECT
private slots:
    void rememberedLoginComesBackExactly_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("password");
        QTest::newRow("password with blanks at both ends") << "ece" << " iki boşluk ";
        QTest::newRow("password in double quotes") << "ece" << "\"tırnak\"";
        QTest::newRow("password in single quotes") << "ece" << "'tek'";
        QTest::newRow("password ending in a quote") << "ece" << "abc\"";
        QTest::newRow("code in quotes") << "\"ali\"" << "x";
        QTest::newRow("code with blanks") << " veli " << "y ";
    }
    void rememberedLoginComesBackExactly()
    {
        QFETCH(QString, code);
        QFETCH(QString, password);
        App app;
        app.addUser(code, password, QStringLiteral("Ad"), QStringLiteral("Soyad"));
        TPasswordDlg *dlg = app.forms().PasswordDlg;
        dlg->CheckBox1->setChecked(true);
        dlg->CheckBox2->setChecked(true);
        QVERIFY(app.login(code, password));

        // The next start fills the dialog with the same texts, and "Tamam" logs in.
        dlg->hide();
        app.forms().anamenuf->hide();
        std::unique_ptr<Forms> next = createForms(app.session());
        QCOMPARE(next->PasswordDlg->kullan->text(), code);
        QCOMPARE(next->PasswordDlg->Password->text(), password);
        next->PasswordDlg->OKBtnClick();
        QVERIFY(next->PasswordDlg->loggedIn());
        QCOMPARE(next->PasswordDlg->failures(), 0);
        QVERIFY(app.dialogs.shown().isEmpty());
    }

    void aLongRefreshIntervalWaitsAsLongAsTheTimerCan()
    {
        App app;
        IniFile ini(app.forms().PasswordDlg->ayarPath());
        QVERIFY(ini.write(QStringLiteral("basla"),
                          {{QStringLiteral("yenile"), QStringLiteral("999999999999999999")},
                           {QStringLiteral("ycheck"), QStringLiteral("1")}}));
        QVERIFY(app.login(QStringLiteral("lumkar")));
        Tanamenuf *main = app.forms().anamenuf;
        QCOMPARE(main->timerInterval(), std::numeric_limits<int>::max());
        QCOMPARE(main->Timer1->interval(), std::numeric_limits<int>::max());
    }

    void aFullDiskAtLoginIsToldOnceAndTheLoginGoesOn()
    {
        App app;
        TPasswordDlg *dlg = app.forms().PasswordDlg;
        dlg->CheckBox2->setChecked(true);
        app.addUser(QStringLiteral("ece"), QStringLiteral("gizli"), QStringLiteral("Ece"),
                    QStringLiteral("Ak"));
        QVERIFY(app.login(QStringLiteral("ece"), QStringLiteral("gizli")));
        const QByteArray before = contentsOf(dlg->ayarPath());
        QVERIFY(before.contains("kul=ece"));

        app.forms().anamenuf->N7KullaniciDegistir();
        FullDisk full;
        app.dialogs.expectNotice();
        QVERIFY(app.login(QStringLiteral("lumkar")));
        QCOMPARE(app.session().currentUser.kullanici, QStringLiteral("lumkar"));
        QCOMPARE(app.dialogs.shown().size(), 1);
        QVERIFY2(isSettingsNotice(app.dialogs.shown().first(), dlg->ayarPath()),
                 qPrintable(app.dialogs.lastText()));
        QCOMPARE(contentsOf(dlg->ayarPath()), before);
    }

    void aFullDiskAtProgramEndIsToldOnceAndTheProgramEnds()
    {
        App app;
        QVERIFY(app.login(QStringLiteral("lumkar")));
        Tanamenuf *main = app.forms().anamenuf;
        main->JvDotNetEdit1->setText(QStringLiteral("45"));
        const QByteArray before = contentsOf(app.forms().PasswordDlg->ayarPath());
        QSignalSpy ended(app.forms().PasswordDlg, &TPasswordDlg::programEnded);

        FullDisk full;
        app.dialogs.expectNotice();
        app.dialogs.expectQuestion(Answer::Yes);
        QVERIFY(main->close());
        QCOMPARE(ended.count(), 1);
        QCOMPARE(app.dialogs.shown().size(), 2);
        QVERIFY2(isSettingsNotice(app.dialogs.shown().first(),
                                  app.forms().PasswordDlg->ayarPath()),
                 qPrintable(app.dialogs.shown().first().text));
        QCOMPARE(app.dialogs.shown().last().kind, QStringLiteral("question"));
        QCOMPARE(contentsOf(app.forms().PasswordDlg->ayarPath()), before);
    }
};

LUMKAR_TEST(LoginSettingsTest)
#include "tst_loginsettings.moc"
