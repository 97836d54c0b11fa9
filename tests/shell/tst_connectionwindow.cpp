// The database connection window: reached behind the master password (or without it when no
// database opens), a stored password never shown and kept only in an owner-only file, and
// saved settings taking effect when the program starts again.

#include "fixture.h"
#include "testregistry.h"

#include "data/connectionsettings.h"
#include "shell/anamenu.h"
#include "shell/baglanti.h"
#include "shell/sifre.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
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
    ConnectionSettings settings;
    settings.engine = Engine::Postgres;
    settings.host = QStringLiteral("127.0.0.1");
    settings.port = 1;
    settings.database = QStringLiteral("randevu");
    settings.user = QStringLiteral("resepsiyon");
    settings.password = password;
    return settings;
}

// The program started again over settings its database cannot be opened with.
void startUnreachable(App &app, const QString &password = QString())
{
    QVERIFY(unreachable(password).write(app.folder()));
    app.restart();
}

TbaglantiF *openThroughLogin(App &app, const QString &typed)
{
    TPasswordDlg *login = app.forms().PasswordDlg;
    login->Password->setText(typed);
    QPushButton *item
        = login->JvXPBar1->findChild<QPushButton *>(QStringLiteral("veritabaniBaglantisi"));
    if (!item)
        return nullptr;
    QTest::mouseClick(item, Qt::LeftButton);
    return app.forms().baglantiF;
}

void fill(TbaglantiF *w, const ConnectionSettings &s, const QString &typed, bool keep)
{
    w->motorCombo->setCurrentIndex(s.engine == Engine::Postgres ? 1 : 0);
    if (s.engine != Engine::Postgres)
        return;
    w->sunucuEdit->setText(s.host);
    w->portEdit->setValue(s.port);
    w->veritabaniEdit->setText(s.database);
    w->kullaniciEdit->setText(s.user);
    w->sifreSaklaCheck->setChecked(keep);
    if (keep)
        typeText(w->sifreEdit, typed);
}

QString settingsPath(App &app)
{
    return QDir(app.folder()).filePath(ConnectionSettings::fileName());
}

} // namespace

class ConnectionWindowTest : public QObject {
    Q_OBJECT
private slots:
    void gate_data()
    {
        QTest::addColumn<QString>("master");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("reachable");
        QTest::addColumn<bool>("opens");
        QTest::addColumn<QString>("told");
        const QString wrong = QStringLiteral("Master Şifreyi yalnış girdiniz! Şifre alanına "
                                             "master şifreyi girerek tekrar deneyin!");
        QTest::newRow("master password given")
            << QStringLiteral("Gizli1") << QStringLiteral("Gizli1") << true << true << QString();
        QTest::newRow("wrong master password")
            << QStringLiteral("Gizli1") << QStringLiteral("gizli1") << true << false << wrong;
        QTest::newRow("nothing typed")
            << QStringLiteral("Gizli1") << QString() << true << false << wrong;
        QTest::newRow("no database opens") << QString() << QString() << false << true << QString();
    }

    void gate()
    {
        QFETCH(QString, master);
        QFETCH(QString, typed);
        QFETCH(bool, reachable);
        QFETCH(bool, opens);
        QFETCH(QString, told);
        App app;
        if (reachable)
            app.exec(QStringLiteral("UPDATE master SET mids = ?"), { master });
        else
            startUnreachable(app, QStringLiteral("saklı-şifre"));
        if (!told.isEmpty())
            app.dialogs.expectNotice();

        TbaglantiF *w = openThroughLogin(app, typed);

        QVERIFY(w);
        QCOMPARE(w->isVisible(), opens);
        QCOMPARE(app.dialogs.texts(), told.isEmpty() ? QStringList() : QStringList { told });
        QCOMPARE(app.forms().PasswordDlg->isEnabled(), !opens);
        if (!opens)
            return;
        // Without a database the window says why no master password was asked.
        QCOMPARE(
            w->notLabel->text().contains(QStringLiteral("master şifre sorulmadı")), !reachable);
        QVERIFY(w->sifreEdit->text().isEmpty());
        QTest::mouseClick(w->kapatBut, Qt::LeftButton);
        QVERIFY(!w->isVisible());
        QVERIFY(app.forms().PasswordDlg->isEnabled());
    }

    void storedPasswordIsNeverShownAndStaysPrivate()
    {
        App app;
        TbaglantiF *w = openThroughLogin(app, QString());
        QVERIFY(w && w->isVisible());
        QSignalSpy saved(w, &TbaglantiF::settingsSaved);
        const ConnectionSettings wanted = [] {
            ConnectionSettings s = unreachable(QStringLiteral("Çok-gizli 1"));
            s.host = QStringLiteral("sunucu.ofis");
            s.port = 5433;
            return s;
        }();
        fill(w, wanted, wanted.password, true);
        app.dialogs.expectNotice();
        QTest::mouseClick(w->kaydetBut, Qt::LeftButton);
        QCOMPARE(app.dialogs.texts(), QStringList { kSaved });
        QCOMPARE(saved.count(), 1);
        QVERIFY(ownerOnly(settingsPath(app)));
        QVERIFY(ConnectionSettings::read(app.folder()) == wanted);

        // Shown again: every box as saved, the password box empty.
        app.dialogs.clear();
        w->showSettings(true);
        QCOMPARE(w->motorCombo->currentIndex(), 1);
        QCOMPARE(w->sunucuEdit->text(), wanted.host);
        QCOMPARE(w->portEdit->value(), wanted.port);
        QCOMPARE(w->veritabaniEdit->text(), wanted.database);
        QCOMPARE(w->kullaniciEdit->text(), wanted.user);
        QVERIFY(w->sifreSaklaCheck->isChecked());
        QVERIFY(w->sifreEdit->text().isEmpty());
        QVERIFY(w->editedSettings() == wanted);
        // Nothing changed: nothing written, no new start.
        QTest::mouseClick(w->kaydetBut, Qt::LeftButton);
        QCOMPARE(saved.count(), 1);
        QVERIFY(app.dialogs.shown().isEmpty());

        // Another user does not receive the stored password.
        w->showSettings(true);
        w->kullaniciEdit->setText(QStringLiteral("muhasebe"));
        app.dialogs.expectNotice();
        QTest::mouseClick(w->kaydetBut, Qt::LeftButton);
        QCOMPARE(ConnectionSettings::read(app.folder()).password, QString());
        QCOMPARE(saved.count(), 2);

        // A password typed is kept; one no longer to be kept leaves the file.
        w->showSettings(true);
        QVERIFY(!w->sifreSaklaCheck->isChecked() && !w->sifreEdit->isEnabled());
        w->sifreSaklaCheck->setChecked(true);
        typeText(w->sifreEdit, QStringLiteral("yeni"));
        app.dialogs.expectNotice();
        QTest::mouseClick(w->kaydetBut, Qt::LeftButton);
        QCOMPARE(ConnectionSettings::read(app.folder()).password, QStringLiteral("yeni"));
        w->showSettings(true);
        w->sifreSaklaCheck->setChecked(false);
        app.dialogs.expectNotice();
        QTest::mouseClick(w->kaydetBut, Qt::LeftButton);
        const ConnectionSettings read = ConnectionSettings::read(app.folder());
        QCOMPARE(read.password, QString());
        QCOMPARE(read.user, QStringLiteral("muhasebe"));
        QCOMPARE(saved.count(), 4);
    }

    void aServerWithoutADatabaseNameIsRefused()
    {
        App app;
        const QByteArray before = [&] {
            QFile file(settingsPath(app));
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        }();
        TbaglantiF *w = openThroughLogin(app, QString());
        QSignalSpy saved(w, &TbaglantiF::settingsSaved);
        ConnectionSettings s = unreachable();
        s.database.clear();
        fill(w, s, QString(), false);
        app.dialogs.expectNotice();
        QTest::mouseClick(w->kaydetBut, Qt::LeftButton);
        QCOMPARE(app.dialogs.texts(),
            QStringList { QStringLiteral("Veritabanının adını boş geçemezsiniz!") });
        QCOMPARE(saved.count(), 0);
        QFile file(settingsPath(app));
        QCOMPARE(file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray(), before);
        QVERIFY(w->isVisible());
    }

    void savedSettingsTakeEffect_data()
    {
        QTest::addColumn<QString>("target");
        QTest::newRow("the file on this computer") << QStringLiteral("file");
        QTest::newRow("the program's server database") << QStringLiteral("server");
        QTest::newRow("an empty server database") << QStringLiteral("empty");
    }

    void savedSettingsTakeEffect()
    {
        QFETCH(QString, target);
        if (target != QLatin1String("file") && !usesServer())
            QSKIP("needs the test run's database server");
        App app;
        ConnectionSettings wanted = ConnectionSettings::read(app.folder());
        wanted.engine = target == QLatin1String("file") ? Engine::Sqlite : Engine::Postgres;
        const QString emptyDatabase
            = QStringLiteral("lumkar_yeni_%1").arg(QCoreApplication::applicationPid());
        if (target == QLatin1String("empty")) {
            serverScalar(QStringLiteral("CREATE DATABASE %1").arg(emptyDatabase));
            wanted.database = emptyDatabase;
        }
        if (wanted.engine == Engine::Sqlite)
            wanted = ConnectionSettings {};
        startUnreachable(app);

        TbaglantiF *w = openThroughLogin(app, QString());
        QVERIFY(w && w->isVisible());
        QVERIFY(app.dialogs.shown().isEmpty());
        QSignalSpy saved(w, &TbaglantiF::settingsSaved);
        fill(w, wanted, QString(), false);
        app.dialogs.expectNotice();
        QTest::mouseClick(w->kaydetBut, Qt::LeftButton);
        QCOMPARE(saved.count(), 1);
        QCOMPARE(app.dialogs.texts(), QStringList { kSaved });

        app.restart();
        QVERIFY(app.session().database().settings() == wanted);
        QVERIFY(app.login(QStringLiteral("lumkar")));
        QCOMPARE(app.dialogs.texts(), QStringList { kSaved });
        QCOMPARE(app.scalar(QStringLiteral("SELECT count(*) FROM sifre")).toInt(), 1);
        if (target == QLatin1String("empty")) {
            app.restart(); // lets go of the database before it is dropped
            QSqlDatabase::removeDatabase(QStringLiteral("lumkar_test_server_") + emptyDatabase);
            serverScalar(
                QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(emptyDatabase));
        }
    }
};

LUMKAR_TEST(ConnectionWindowTest)
#include "tst_connectionwindow.moc"
