// The database connection window: behind the master password (or without it when no
// database opens), a stored password never shown and kept only in an owner-only file, and
// saved settings taking effect as the program starts again.

#include "fixture.h"
#include "testregistry.h"

#include "app/programfolders.h"
#include "runprogram.h"
#include "shell/baglanti.h"
#include "shell/sifre.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>

using namespace lumkar;
using namespace lumkar::test;

namespace {

const QString kSaved
    = QStringLiteral("Bağlantı ayarları kaydedildi. Program yeni ayarlarla yeniden başlatılacak.");

// Settings no server answers: connecting is refused at once.
ConnectionSettings unreachable(const QString &password = QString())
{
    return { Engine::Postgres, QStringLiteral("127.0.0.1"), 1, QStringLiteral("randevu"),
        QStringLiteral("resepsiyon"), password };
}

void openThroughLogin(TPasswordDlg *login, const QString &typed)
{
    login->Password->setText(typed);
    QTest::mouseClick(
        login->JvXPBar1->findChild<QPushButton *>(QStringLiteral("veritabaniBaglantisi")),
        Qt::LeftButton);
}

void fill(TbaglantiF *w, const ConnectionSettings &s, const QString &typed, bool keep)
{
    w->motorCombo->setCurrentIndex(s.engine == Engine::Postgres ? 1 : 0);
    w->sunucuEdit->setText(s.host);
    w->portEdit->setValue(s.port);
    w->veritabaniEdit->setText(s.database);
    w->kullaniciEdit->setText(s.user);
    w->sifreSaklaCheck->setChecked(keep);
    typeText(w->sifreEdit, typed);
}

} // namespace

class ConnectionWindowTest : public QObject {
    Q_OBJECT
private slots:
    void gate_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("reachable");
        QTest::addColumn<bool>("opens");
        const QString master = QStringLiteral("Gizli1");
        QTest::newRow("master password") << master << true << true;
        QTest::newRow("wrong master password") << QStringLiteral("gizli1") << true << false;
        QTest::newRow("nothing typed") << QString() << true << false;
        QTest::newRow("no database opens") << QString() << false << true;
    }

    void gate()
    {
        QFETCH(QString, typed);
        QFETCH(bool, reachable);
        QFETCH(bool, opens);
        App app;
        app.exec(QStringLiteral("UPDATE master SET mids = 'Gizli1'"));
        if (!reachable) {
            QVERIFY(unreachable(QStringLiteral("saklı")).write(app.folder()));
            app.restart();
        }
        if (!opens)
            app.dialogs.expectNotice();
        openThroughLogin(app.forms().PasswordDlg, typed);

        TbaglantiF *w = app.forms().baglantiF;
        QCOMPARE(w->isVisible(), opens);
        QCOMPARE(app.forms().PasswordDlg->isEnabled(), !opens);
        QCOMPARE(app.dialogs.texts(),
            opens ? QStringList()
                  : QStringList { QStringLiteral("Master Şifreyi yalnış girdiniz! Şifre "
                                                 "alanına master şifreyi girerek tekrar "
                                                 "deneyin!") });
        if (!opens)
            return;
        QCOMPARE(
            w->notLabel->text().contains(QStringLiteral("master şifre sorulmadı")), !reachable);
        QVERIFY(w->sifreEdit->text().isEmpty());
        QTest::mouseClick(w->kapatBut, Qt::LeftButton);
        QVERIFY(!w->isVisible() && app.forms().PasswordDlg->isEnabled());
    }

    void storedPasswordIsNeverShownAndStaysPrivate()
    {
        App app;
        openThroughLogin(app.forms().PasswordDlg, QString());
        TbaglantiF *w = app.forms().baglantiF;
        QSignalSpy saved(w, &TbaglantiF::settingsSaved);
        const ConnectionSettings wanted = unreachable(QStringLiteral("Çok-gizli 1"));
        // Saves what is typed, and shows it again; nothing changed writes nothing.
        const auto save = [&](int notices) {
            app.dialogs.clear();
            app.dialogs.expectNotice(notices);
            QTest::mouseClick(w->kaydetBut, Qt::LeftButton);
            if (app.dialogs.texts() != (notices ? QStringList { kSaved } : QStringList()))
                QTest::qFail(qPrintable(app.dialogs.texts().join(u'|')), __FILE__, __LINE__);
            w->showSettings(true);
            return ConnectionSettings::read(app.folder());
        };
        fill(w, wanted, wanted.password, true);
        QVERIFY(save(1) == wanted);
        QVERIFY(ownerOnly(QDir(app.folder()).filePath(ConnectionSettings::fileName())));
        QCOMPARE(w->sunucuEdit->text(), wanted.host);
        QCOMPARE(w->portEdit->value(), wanted.port);
        QCOMPARE(w->veritabaniEdit->text(), wanted.database);
        QCOMPARE(w->kullaniciEdit->text(), wanted.user);
        QVERIFY(w->sifreSaklaCheck->isChecked() && w->sifreEdit->text().isEmpty());
        QVERIFY(save(0) == wanted);
        // A password no longer to be kept leaves the file, and its box.
        w->sifreSaklaCheck->setChecked(false);
        QVERIFY(!w->sifreEdit->isEnabled());
        QCOMPARE(save(1).password, QString());
        QCOMPARE(saved.count(), 2);
    }

    void theProgramStartsAgainOverSavedSettings_data()
    {
        QTest::addColumn<bool>("toServer");
        QTest::newRow("the file on this computer") << false;
        QTest::newRow("an empty server database") << true;
    }

    void theProgramStartsAgainOverSavedSettings()
    {
        QFETCH(bool, toServer);
        if (toServer && !usesServer())
            QSKIP("needs the test run's database server");
        QTemporaryDir folder;
        QVERIFY(unreachable().write(folder.path()));
        ConnectionSettings wanted;
        if (toServer) {
            wanted.engine = Engine::Postgres;
            wanted.database
                = QStringLiteral("lumkar_yeni_%1").arg(QCoreApplication::applicationPid());
            serverScalar(QStringLiteral("CREATE DATABASE %1").arg(wanted.database));
        }
        ScriptedDialogs dialogs;
        dialogs.expectNotice(2); // the server not reached at start; the settings saved
        QList<bool> opened;
        QList<bool> loginShown;
        const int rc = runProgram(
            { folder.path(), QStringLiteral(LUMKAR_HELP_DIR) }, dialogs, [&](Forms &forms) {
                TPasswordDlg *login = forms.PasswordDlg;
                if (!opened.isEmpty()) {
                    // What the new start shows once its event loop runs; then the end.
                    QMetaObject::invokeMethod(
                        login,
                        [&, login] {
                            loginShown.append(login->isVisible());
                            opened.append(login->openConnection(false));
                            login->close();
                        },
                        Qt::QueuedConnection);
                    return;
                }
                opened.append(login->openConnection(false));
                openThroughLogin(login, QString());
                fill(forms.baglantiF, wanted, QString(), false);
                QTest::mouseClick(forms.baglantiF->kaydetBut, Qt::LeftButton);
            });
        QCOMPARE(rc, 0);
        QCOMPARE(loginShown, QList<bool> { true });
        QCOMPARE(opened, (QList<bool> { false, true }));
        QCOMPARE(dialogs.texts().last(), kSaved);
        QVERIFY(ConnectionSettings::read(folder.path()) == wanted);
        if (toServer) { // the first start made the program's tables there
            QCOMPARE(
                serverScalar(QStringLiteral("SELECT count(*) FROM sifre"), wanted.database).toInt(),
                1);
            QSqlDatabase::removeDatabase(QStringLiteral("lumkar_test_server_") + wanted.database);
            serverScalar(QStringLiteral("DROP DATABASE %1 WITH (FORCE)").arg(wanted.database));
        }
    }
};

LUMKAR_TEST(ConnectionWindowTest)
#include "tst_connectionwindow.moc"
