// Trying connection settings before they are saved: what the user is told for each way a
// server can refuse, on a connection of the trial's own; and which password edited settings
// keep.

#include "fixture.h"
#include "testregistry.h"

#include "data/connectioncheck.h"
#include "data/database.h"

#include <QCoreApplication>
#include <QDir>
#include <QSqlDatabase>
#include <QTest>

using namespace lumkar;
using namespace lumkar::test;

namespace {

// The server roles and databases the trials run against, made once per run.
struct ServerSetup {
    QString suffix = QString::number(QCoreApplication::applicationPid());
    QString passwordRole = QStringLiteral("lumkar_sifreli_") + suffix;
    QString plainRole = QStringLiteral("lumkar_kisitli_") + suffix;
    QString emptyDatabase = QStringLiteral("lumkar_bos_") + suffix;
    QString ownedDatabase = QStringLiteral("lumkar_kendi_") + suffix;
    QString foreignDatabase = QStringLiteral("lumkar_yabanci_") + suffix;

    void make()
    {
        serverScalar(
            QStringLiteral("CREATE ROLE %1 LOGIN PASSWORD 'Doğru-şifre'").arg(passwordRole));
        serverScalar(QStringLiteral("CREATE ROLE %1 LOGIN PASSWORD 'kisitli'").arg(plainRole));
        serverScalar(QStringLiteral("CREATE DATABASE %1").arg(emptyDatabase));
        serverScalar(
            QStringLiteral("CREATE DATABASE %1 OWNER %2").arg(ownedDatabase, passwordRole));
        serverScalar(QStringLiteral("CREATE DATABASE %1").arg(foreignDatabase));
        serverScalar(QStringLiteral("CREATE TABLE musteri (no integer, ad text)"), foreignDatabase);
    }
    void drop()
    {
        for (const QString &database : { emptyDatabase, ownedDatabase, foreignDatabase }) {
            QSqlDatabase::removeDatabase(QStringLiteral("lumkar_test_server_") + database);
            serverScalar(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(database));
        }
        for (const QString &role : { passwordRole, plainRole })
            serverScalar(QStringLiteral("DROP ROLE IF EXISTS %1").arg(role));
    }
    int tablesIn(const QString &database)
    {
        return serverScalar(QStringLiteral("SELECT count(*) FROM information_schema.tables "
                                           "WHERE table_schema = 'public'"),
            database)
            .toInt();
    }
};

enum class Target { Program, ProgramMissingColumn, Empty, Owned, Foreign, Missing };

} // namespace

class ConnectionTrialTest : public QObject {
    Q_OBJECT
private:
    ServerSetup m_server;

private slots:
    void initTestCase()
    {
        if (usesServer())
            m_server.make();
    }
    void cleanupTestCase()
    {
        if (usesServer())
            m_server.drop();
    }

    void serverRefusals_data()
    {
        QTest::addColumn<int>("target");
        QTest::addColumn<QString>("role"); // empty: the test server's administrator
        QTest::addColumn<QString>("password"); // given in the settings
        QTest::addColumn<int>("port"); // 0: the test server's
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("told");
        const auto row = [](const char *name, Target target, const QString &role,
                             const QString &password, int port, bool ok, const char *told) {
            QTest::newRow(name) << int(target) << role << password << port << ok
                                << QString::fromUtf8(told);
        };
        row("the server is not there", Target::Program, {}, {}, 1, false, "sunucusuna ulaşılamadı");
        row("wrong password", Target::Owned, m_server.passwordRole, QStringLiteral("yanlış"), 0,
            false, "kullanıcı adını ya da şifreyi kabul etmedi");
        row("no such database", Target::Missing, {}, {}, 0, false, "adlı bir veritabanı yok");
        row("no right to create tables", Target::Empty, m_server.plainRole,
            QStringLiteral("kisitli"), 0, false, "tablo oluşturma ya da okuma hakkı yok");
        row("another program's database", Target::Foreign, {}, {}, 0, false,
            "bu programın veritabanı değil: \"randevu\" tablosu yok. Veritabanına dokunulmadı");
        row("a column missing", Target::ProgramMissingColumn, {}, {}, 0, false,
            "\"sifre\" tablosunda \"soyadi\" sütunu yok. Veritabanına dokunulmadı");
        row("an empty database", Target::Empty, {}, {}, 0, true,
            "Veritabanı boş; programın tabloları ilk açılışta oluşturulacak");
        row("right password, own empty database", Target::Owned, m_server.passwordRole,
            QStringLiteral("Doğru-şifre"), 0, true, "ilk açılışta oluşturulacak");
        row("the program's database", Target::Program, {}, {}, 0, true,
            "Programın tabloları veritabanında hazır");
    }

    void serverRefusals()
    {
        if (!usesServer())
            QSKIP("needs the test run's database server");
        QFETCH(int, target);
        QFETCH(QString, role);
        QFETCH(QString, password);
        QFETCH(int, port);
        QFETCH(bool, ok);
        QFETCH(QString, told);

        App app;
        app.openDatabase();
        const ConnectionSettings own = app.session().database().settings();
        ConnectionSettings settings = own;
        switch (Target(target)) {
        case Target::ProgramMissingColumn:
            app.exec(QStringLiteral("ALTER TABLE sifre DROP COLUMN soyadi"));
            break;
        case Target::Empty:
            settings.database = m_server.emptyDatabase;
            break;
        case Target::Owned:
            settings.database = m_server.ownedDatabase;
            break;
        case Target::Foreign:
            settings.database = m_server.foreignDatabase;
            break;
        case Target::Missing:
            settings.database = QStringLiteral("lumkar_olmayan_veritabani");
            break;
        case Target::Program:
            break;
        }
        if (!role.isEmpty())
            settings.user = role;
        if (!password.isEmpty())
            settings.password = password;
        if (port > 0) {
            settings.host = QStringLiteral("127.0.0.1");
            settings.port = port;
        }
        const QStringList connections = QSqlDatabase::connectionNames();

        const ConnectionTrial trial = tryConnection(settings, app.folder());

        QCOMPARE(trial.ok, ok);
        QVERIFY2(trial.text.contains(told), qPrintable(trial.text));
        QVERIFY2(trial.text.contains(settings.serverText()), qPrintable(trial.text));
        // The program's own connection is as it was, and the trial left none behind.
        QCOMPARE(QSqlDatabase::connectionNames(), connections);
        QVERIFY(app.session().database().isOpen());
        QVERIFY(app.session().database().settings() == own);
        QCOMPARE(app.scalar(QStringLiteral("SELECT count(*) FROM sifre")).toInt(), 1);
        // A trial on an empty database leaves it empty.
        if (Target(target) == Target::Empty || Target(target) == Target::Owned)
            QCOMPARE(m_server.tablesIn(settings.database), 0);
    }

    void theFileIsNamed_data()
    {
        QTest::addColumn<bool>("present");
        QTest::addColumn<bool>("toBeMade");
        QTest::newRow("present") << true << false;
        QTest::newRow("not yet made") << false << true;
    }

    void theFileIsNamed()
    {
        QFETCH(bool, present);
        QFETCH(bool, toBeMade);
        QTemporaryDir folder;
        const QString path = QDir(folder.path()).filePath(Database::dataFolderName());
        if (present) {
            Database database(folder.path());
            QVERIFY2(database.open(), qPrintable(database.errorText()));
        }
        const ConnectionTrial trial = tryConnection(ConnectionSettings {}, folder.path());
        QVERIFY(trial.ok);
        QVERIFY2(trial.text.contains(QDir::toNativeSeparators(path)), qPrintable(trial.text));
        QCOMPARE(trial.text.contains(QStringLiteral("ilk açılışında oluşturulacak")), toBeMade);
        // Trying does not make the file.
        QCOMPARE(QFileInfo::exists(path), present);
    }

    void keptPassword_data()
    {
        QTest::addColumn<QString>("host");
        QTest::addColumn<int>("port");
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("keep");
        QTest::addColumn<QString>("kept");
        const QString stored = QStringLiteral("eski-şifre");
        const QString host = QStringLiteral("sunucu.ofis");
        const QString user = QStringLiteral("resepsiyon");
        QTest::newRow("same server, nothing typed")
            << host << 5432 << user << QString() << true << stored;
        QTest::newRow("same server, typed")
            << host << 5432 << user << QStringLiteral("yeni") << true << QStringLiteral("yeni");
        QTest::newRow("not kept") << host << 5432 << user << QStringLiteral("yeni") << false
                                  << QString();
        QTest::newRow("another host")
            << QStringLiteral("baska.sunucu") << 5432 << user << QString() << true << QString();
        QTest::newRow("another port") << host << 5433 << user << QString() << true << QString();
        QTest::newRow("another user")
            << host << 5432 << QStringLiteral("muhasebe") << QString() << true << QString();
        QTest::newRow("another host, typed")
            << QStringLiteral("baska.sunucu") << 5432 << user << QStringLiteral("yeni") << true
            << QStringLiteral("yeni");
    }

    void keptPassword()
    {
        QFETCH(QString, host);
        QFETCH(int, port);
        QFETCH(QString, user);
        QFETCH(QString, typed);
        QFETCH(bool, keep);
        QFETCH(QString, kept);
        ConnectionSettings stored;
        stored.engine = Engine::Postgres;
        stored.host = QStringLiteral("sunucu.ofis");
        stored.port = 5432;
        stored.database = QStringLiteral("randevu");
        stored.user = QStringLiteral("resepsiyon");
        stored.password = QStringLiteral("eski-şifre");
        ConnectionSettings edited = stored;
        edited.password.clear();
        edited.host = host;
        edited.port = port;
        edited.user = user;
        // Another database of the same server and user keeps what was stored alike.
        edited.database = QStringLiteral("arsiv");
        QCOMPARE(lumkar::keptPassword(stored, edited, typed, keep), kept);
        // The embedded file takes no password at all.
        edited.engine = Engine::Sqlite;
        QCOMPARE(lumkar::keptPassword(stored, edited, typed, keep), QString());
    }
};

LUMKAR_TEST(ConnectionTrialTest)
#include "tst_connectiontrial.moc"
