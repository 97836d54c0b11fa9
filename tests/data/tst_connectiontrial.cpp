// Trying connection settings before they are saved: what the user is told for each way a
// server can refuse, on a connection of the trial's own; and which password edited settings
// keep.

#include "fixture.h"
#include "testregistry.h"

#include "data/connectioncheck.h"

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QTest>

using namespace lumkar;
using namespace lumkar::test;

namespace {

const QString kRun = QString::number(QCoreApplication::applicationPid());
// Roles and databases of the test server the trials run against, made once per run.
const QString kPasswordRole = QStringLiteral("lumkar_sifreli_") + kRun;
const QString kPlainRole = QStringLiteral("lumkar_kisitli_") + kRun;
const QString kEmpty = QStringLiteral("lumkar_bos_") + kRun;
const QString kOwned = QStringLiteral("lumkar_kendi_") + kRun;
const QString kForeign = QStringLiteral("lumkar_yabanci_") + kRun;

} // namespace

class ConnectionTrialTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        if (!usesServer())
            return;
        serverScalar(
            QStringLiteral("CREATE ROLE %1 LOGIN PASSWORD 'Doğru-şifre'").arg(kPasswordRole));
        serverScalar(QStringLiteral("CREATE ROLE %1 LOGIN PASSWORD 'kisitli'").arg(kPlainRole));
        serverScalar(QStringLiteral("CREATE DATABASE %1").arg(kEmpty));
        serverScalar(QStringLiteral("CREATE DATABASE %1 OWNER %2").arg(kOwned, kPasswordRole));
        serverScalar(QStringLiteral("CREATE DATABASE %1").arg(kForeign));
        serverScalar(QStringLiteral("CREATE TABLE musteri (no integer, ad text)"), kForeign);
    }
    void cleanupTestCase()
    {
        if (!usesServer())
            return;
        for (const QString &database : { kEmpty, kOwned, kForeign }) {
            QSqlDatabase::removeDatabase(QStringLiteral("lumkar_test_server_") + database);
            serverScalar(QStringLiteral("DROP DATABASE %1 WITH (FORCE)").arg(database));
        }
        serverScalar(QStringLiteral("DROP ROLE %1, %2").arg(kPasswordRole, kPlainRole));
    }

    void serverRefusals_data()
    {
        QTest::addColumn<QString>("database"); // empty: the program's own
        QTest::addColumn<QString>("role"); // empty: the test server's administrator
        QTest::addColumn<QString>("password");
        QTest::addColumn<int>("port"); // 0: the test server's
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("told");
        const auto row = [](const char *name, const QString &database, const QString &role,
                             const QString &password, int port, bool ok, const char *told) {
            QTest::newRow(name) << database << role << password << port << ok
                                << QString::fromUtf8(told);
        };
        row("the server is not there", {}, {}, {}, 1, false, "sunucusuna ulaşılamadı");
        row("wrong password", kOwned, kPasswordRole, QStringLiteral("yanlış"), 0, false,
            "kullanıcı adını ya da şifreyi kabul etmedi");
        row("no such database", QStringLiteral("lumkar_olmayan"), {}, {}, 0, false,
            "\"lumkar_olmayan\" adlı bir veritabanı yok");
        row("no right to create tables", kEmpty, kPlainRole, QStringLiteral("kisitli"), 0, false,
            "tablo oluşturma ya da okuma hakkı yok");
        row("another program's database", kForeign, {}, {}, 0, false,
            "bu programın veritabanı değil: \"randevu\" tablosu yok. Veritabanına dokunulmadı");
        row("a column missing", QStringLiteral("-soyadi"), {}, {}, 0, false,
            "\"sifre\" tablosunda \"soyadi\" sütunu yok. Veritabanına dokunulmadı");
        row("an empty database", kEmpty, {}, {}, 0, true,
            "Veritabanı boş; programın tabloları ilk açılışta oluşturulacak");
        row("right password", kOwned, kPasswordRole, QStringLiteral("Doğru-şifre"), 0, true,
            "ilk açılışta oluşturulacak");
        row("the program's database", {}, {}, {}, 0, true,
            "Programın tabloları veritabanında hazır");
    }

    void serverRefusals()
    {
        if (!usesServer())
            QSKIP("needs the test run's database server");
        QFETCH(QString, database);
        QFETCH(QString, role);
        QFETCH(QString, password);
        QFETCH(int, port);
        QFETCH(bool, ok);
        QFETCH(QString, told);
        App app;
        app.openDatabase();
        const ConnectionSettings own = app.session().database().settings();
        ConnectionSettings settings = own;
        if (database == QLatin1String("-soyadi"))
            app.exec(QStringLiteral("ALTER TABLE sifre DROP COLUMN soyadi"));
        else if (!database.isEmpty())
            settings.database = database;
        if (!role.isEmpty()) {
            settings.user = role;
            settings.password = password;
        }
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
        QVERIFY(app.session().database().isOpen() && app.session().database().settings() == own);
        // Trying the right to create a table leaves an empty database empty.
        if (settings.database == kEmpty || settings.database == kOwned)
            QCOMPARE(serverScalar(QStringLiteral("SELECT count(*) FROM information_schema.tables "
                                                 "WHERE table_schema = 'public'"),
                         settings.database)
                         .toInt(),
                0);
    }

    void keptPassword_data()
    {
        QTest::addColumn<QString>("host");
        QTest::addColumn<int>("port");
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("keep");
        QTest::addColumn<QString>("kept");
        const QString host = QStringLiteral("sunucu.ofis");
        const QString user = QStringLiteral("resepsiyon");
        const QString other = QStringLiteral("baska");
        const QString typed = QStringLiteral("yeni");
        QTest::newRow("same server")
            << host << 5432 << user << QString() << true << QStringLiteral("eski-şifre");
        QTest::newRow("typed") << host << 5432 << user << typed << true << typed;
        QTest::newRow("not kept") << host << 5432 << user << typed << false << QString();
        QTest::newRow("another host") << other << 5432 << user << QString() << true << QString();
        QTest::newRow("another port") << host << 5433 << user << QString() << true << QString();
        QTest::newRow("another user") << host << 5432 << other << QString() << true << QString();
        QTest::newRow("another host, typed") << other << 5432 << user << typed << true << typed;
    }

    void keptPassword()
    {
        QFETCH(QString, host);
        QFETCH(int, port);
        QFETCH(QString, user);
        QFETCH(QString, typed);
        QFETCH(bool, keep);
        QFETCH(QString, kept);
        const ConnectionSettings stored { Engine::Postgres, QStringLiteral("sunucu.ofis"), 5432,
            QStringLiteral("randevu"), QStringLiteral("resepsiyon"), QStringLiteral("eski-şifre") };
        // Another database of the same server and user is alike.
        ConnectionSettings edited { Engine::Postgres, host, port, QStringLiteral("arsiv"), user,
            {} };
        QCOMPARE(lumkar::keptPassword(stored, edited, typed, keep), kept);
        // The embedded file takes no password at all.
        edited.engine = Engine::Sqlite;
        QCOMPARE(lumkar::keptPassword(stored, edited, typed, keep), QString());
    }
};

LUMKAR_TEST(ConnectionTrialTest)
#include "tst_connectiontrial.moc"
