#include "data/connectioncheck.h"

#include "data/database.h"
#include "data/schema.h"

#include <QAtomicInt>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QSqlQuery>

namespace lumkar {

void prepareServerConnection(QSqlDatabase &db, const ConnectionSettings &settings)
{
    db.setHostName(settings.host);
    if (settings.port > 0)
        db.setPort(settings.port);
    db.setDatabaseName(settings.database);
    db.setUserName(settings.user);
    db.setPassword(settings.password);
    db.setConnectOptions(QStringLiteral("connect_timeout=5;application_name=lumkar"));
}

QString serverOpenText(const QSqlError &error, const ConnectionSettings &settings)
{
    const QString code = error.nativeErrorCode();
    const QString said
        = QString(error.databaseText() + QLatin1Char(' ') + error.driverText()).trimmed();
    const QString server = settings.serverText();
    if (code == QLatin1String("28P01") || code == QLatin1String("28000")
        || said.contains(QLatin1String("password authentication failed"), Qt::CaseInsensitive)
        || said.contains(QLatin1String("no password supplied"), Qt::CaseInsensitive))
        return QStringLiteral("%1 sunucusu kullanıcı adını ya da şifreyi kabul etmedi. Şifreyi "
                              "PostgreSQL'in şifre dosyasında (~/.pgpass) ya da bağlantı "
                              "ayarlarında denetleyin.")
            .arg(server);
    if (code == QLatin1String("3D000")
        || (said.contains(QLatin1String("database"), Qt::CaseInsensitive)
            && said.contains(QLatin1String("does not exist"), Qt::CaseInsensitive)))
        return QStringLiteral("Sunucuda \"%1\" adlı bir veritabanı yok (%2). Veritabanının adını "
                              "denetleyin ya da sunucuda boş bir veritabanı oluşturun.")
            .arg(settings.database, server);
    if (code == QLatin1String("42501")
        || said.contains(QLatin1String("permission denied"), Qt::CaseInsensitive))
        return QStringLiteral("%1 kullanıcısının bu veritabanında tablo oluşturma ya da okuma "
                              "hakkı yok (%2).")
            .arg(settings.user, server);
    return QStringLiteral("%1 veritabanı sunucusuna ulaşılamadı: sunucu kapalı, adres ya da "
                          "kapı numarası yanlış ya da ağ bağlantısı yok. (%2)")
        .arg(server, said);
}

QString checkServerTables(QSqlDatabase &db, const ConnectionSettings &settings, bool &empty)
{
    const QString server = settings.serverText();
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("SELECT table_name, column_name FROM information_schema.columns "
                               "WHERE table_schema = current_schema()")))
        return QStringLiteral("%1 veritabanı okunamadı: %2")
            .arg(server, failureText(q.lastError()));
    QHash<QString, QSet<QString>> present;
    while (q.next())
        present[q.value(0).toString().toLower()].insert(q.value(1).toString().toLower());
    empty = present.isEmpty();
    if (empty)
        return {};
    // A database of another program, or one missing a column, is never altered.
    for (const TableDef &t : schema::tables()) {
        const auto columns = present.constFind(t.name.toLower());
        if (columns == present.constEnd() && t.addedLater)
            continue; // made when the program opens it
        if (columns == present.constEnd())
            return QStringLiteral("%1 veritabanı bu programın veritabanı değil: \"%2\" tablosu "
                                  "yok. Veritabanına dokunulmadı; bu program için boş bir "
                                  "veritabanı seçin.")
                .arg(server, t.name);
        for (const ColumnDef &c : t.columns)
            if (!columns->contains(c.name.toLower()))
                return QStringLiteral("%1 veritabanı eksik: \"%2\" tablosunda \"%3\" sütunu "
                                      "yok. Veritabanına dokunulmadı.")
                    .arg(server, t.name, c.name);
    }
    return {};
}

namespace {

QAtomicInt trialCounter;

ConnectionTrial tryFile(const QString &programFolder)
{
    const QString path = QDir::toNativeSeparators(
        QDir(programFolder)
            .filePath(Database::dataFolderName() + QLatin1Char('/') + Database::fileName()));
    if (QFileInfo::exists(path))
        return { true,
            QStringLiteral("Bu bilgisayardaki veri dosyası kullanılacak: \"%1\".").arg(path) };
    return { true,
        QStringLiteral("Bu bilgisayardaki veri dosyası kullanılacak: \"%1\". Dosya "
                       "henüz yok; programın ilk açılışında oluşturulacak.")
            .arg(path) };
}

// A table made and dropped again in a transaction that is rolled back: the right to create
// tables, asked without leaving anything behind.
QString tryCreatingTable(QSqlDatabase &db, const ConnectionSettings &settings)
{
    if (!db.transaction())
        return serverOpenText(db.lastError(), settings);
    QSqlQuery q(db);
    const bool made = q.exec(QStringLiteral("CREATE TABLE lumkar_deneme (deneme integer)"));
    const QSqlError error = q.lastError();
    q.finish();
    db.rollback();
    return made ? QString() : serverOpenText(error, settings);
}

ConnectionTrial tryServer(QSqlDatabase &db, const ConnectionSettings &settings)
{
    const QString server = settings.serverText();
    if (!db.isValid())
        return { false,
            QStringLiteral("PostgreSQL sürücüsü (libqt6sql6-psql) yüklenemedi; %1 "
                           "veritabanına bağlanılamadı.")
                .arg(server) };
    prepareServerConnection(db, settings);
    if (!db.open())
        return { false, serverOpenText(db.lastError(), settings) };
    bool empty = false;
    if (const QString refused = checkServerTables(db, settings, empty); !refused.isEmpty())
        return { false, refused };
    if (!empty)
        return { true,
            QStringLiteral("Bağlantı kuruldu: %1. Programın tabloları veritabanında "
                           "hazır.")
                .arg(server) };
    if (const QString refused = tryCreatingTable(db, settings); !refused.isEmpty())
        return { false, refused };
    return { true,
        QStringLiteral("Bağlantı kuruldu: %1. Veritabanı boş; programın tabloları "
                       "ilk açılışta oluşturulacak.")
            .arg(server) };
}

} // namespace

ConnectionTrial tryConnection(const ConnectionSettings &settings, const QString &programFolder)
{
    if (settings.engine == Engine::Sqlite)
        return tryFile(programFolder);
    const QString name = QStringLiteral("lumkar_deneme_%1").arg(trialCounter.fetchAndAddRelaxed(1));
    ConnectionTrial trial;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        trial = tryServer(db, settings);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return trial;
}

} // namespace lumkar
