#include "data/database.h"

#include "data/connectioncheck.h"
#include "data/moneytotals.h"
#include "data/schema.h"
#include "data/textfunctions.h"

#include <QAtomicInt>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QObject>
#include <QSet>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <sqlite3.h>

namespace lumkar {

namespace {

QAtomicInt connectionCounter;

// The program's databases by connection name, so that a data set can reach the one it reads.
QHash<QString, Database *> &registry()
{
    static QHash<QString, Database *> databases;
    return databases;
}

// The server's error codes are the five characters of SQLSTATE; SQLite's are numbers.
bool isServerError(const QSqlError &error)
{
    return error.nativeErrorCode().size() == 5;
}

StorageFailure classifyServerFailure(const QSqlError &error)
{
    const QString code = error.nativeErrorCode();
    if (code.startsWith(QLatin1String("08")) || code == QLatin1String("57P01")
        || code == QLatin1String("57P02") || code == QLatin1String("57P03")
        || code == QLatin1String("3D000"))
        return StorageFailure::Unreachable;
    if (code == QLatin1String("40001") || code == QLatin1String("40P01")
        || code == QLatin1String("55P03") || code == QLatin1String("57014"))
        return StorageFailure::Locked;
    if (code.startsWith(QLatin1String("53")) || code.startsWith(QLatin1String("58")))
        return StorageFailure::Disk;
    if (code.startsWith(QLatin1String("XX")))
        return StorageFailure::Damaged;
    return StorageFailure::Other;
}

int primaryCode(const QSqlError &error)
{
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok);
    return ok ? code & 0xff : -1;
}

} // namespace

StorageFailure classifyFailure(const QSqlError &error)
{
    if (isServerError(error))
        return classifyServerFailure(error);
    // SQLite refuses to write a file that is no longer under its name: it was moved away and
    // another put in its place.
    if (error.nativeErrorCode().toInt() == SQLITE_READONLY_DBMOVED)
        return StorageFailure::Replaced;
    switch (primaryCode(error)) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return StorageFailure::Locked;
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return StorageFailure::Damaged;
    case SQLITE_IOERR:
    case SQLITE_FULL:
    case SQLITE_READONLY:
    case SQLITE_CANTOPEN:
        return StorageFailure::Disk;
    default:
        break;
    }
    const QString text = error.databaseText() + QLatin1Char(' ') + error.driverText();
    // A connection to a server that broke reports no code, only the client's words.
    if (text.contains(QLatin1String("server closed the connection"), Qt::CaseInsensitive)
        || text.contains(QLatin1String("no connection to the server"), Qt::CaseInsensitive)
        || text.contains(QLatin1String("could not connect"), Qt::CaseInsensitive)
        || text.contains(QLatin1String("connection to server"), Qt::CaseInsensitive)
        || text.contains(QLatin1String("terminating connection"), Qt::CaseInsensitive))
        return StorageFailure::Unreachable;
    if (text.contains(QLatin1String("database is locked"), Qt::CaseInsensitive)
        || text.contains(QLatin1String("is locked"), Qt::CaseInsensitive))
        return StorageFailure::Locked;
    if (text.contains(QLatin1String("malformed"), Qt::CaseInsensitive)
        || text.contains(QLatin1String("not a database"), Qt::CaseInsensitive))
        return StorageFailure::Damaged;
    return StorageFailure::Other;
}

QString failureText(const QSqlError &error)
{
    QString cause = error.databaseText().trimmed();
    if (cause.isEmpty())
        cause = error.driverText().trimmed();
    const bool server = isServerError(error);
    switch (classifyFailure(error)) {
    case StorageFailure::Unreachable:
        return QStringLiteral("Veritabanı sunucusuna ulaşılamadı; işlem yapılamadı, hiçbir şey "
                              "yazılmadı. Ağ bağlantısını ve sunucuyu denetleyip yeniden "
                              "deneyin. (%1)")
            .arg(cause);
    case StorageFailure::Locked:
        if (server)
            return QStringLiteral("Aynı kayıt başka bir masada işlenmekte; işlem yapılamadı. "
                                  "Biraz bekleyip yeniden deneyin.");
        return QStringLiteral("Veritabanı başka bir program tarafından kullanılıyor; işlem "
                              "yapılamadı. Biraz bekleyip yeniden deneyin.");
    case StorageFailure::Damaged:
        if (server)
            return QStringLiteral("Veritabanı sunucusu verinin bozuk olduğunu bildirdi; işlem "
                                  "yapılamadı. (PostgreSQL: %1)")
                .arg(cause);
        return QStringLiteral("Veritabanı dosyası bozuk; işlem yapılamadı ve dosyaya artık "
                              "kayıt yazılmayacak. Son yedeği geri yükleyin. (SQLite: %1)")
            .arg(cause);
    case StorageFailure::Disk:
        if (server)
            return QStringLiteral("Veritabanı sunucusunun diskinde ya da belleğinde yer kalmadı; "
                                  "işlem yapılamadı. (PostgreSQL: %1)")
                .arg(cause);
        return QStringLiteral("Veritabanı dosyasına erişilemedi (disk dolu, salt okunur ya da "
                              "çıkarılmış olabilir); işlem yapılamadı. (SQLite: %1)")
            .arg(cause);
    case StorageFailure::Replaced:
        return QStringLiteral("Veritabanı dosyası, program açıkken yedekten geri yüklenerek "
                              "değiştirildi; işlem yapılamadı. Programı kapatıp yeniden açın.");
    case StorageFailure::Other:
        break;
    }
    return QStringLiteral("Veritabanı işlemi yapılamadı: %1").arg(cause);
}

QSqlError turkishError(const QSqlError &error)
{
    if (!error.isValid())
        return error;
    return QSqlError(QString(), failureText(error), error.type(), error.nativeErrorCode());
}

sqlite3 *sqliteHandle(const QSqlDatabase &db)
{
    const QVariant handle = db.driver() ? db.driver()->handle() : QVariant();
    if (handle.isValid() && qstrcmp(handle.typeName(), "sqlite3*") == 0)
        return *static_cast<sqlite3 *const *>(handle.constData());
    return nullptr;
}

int lockAndSettleJournal(sqlite3 *handle, const char *lock)
{
    const int rc = sqlite3_exec(handle, lock, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        return rc;
    const char *file = sqlite3_db_filename(handle, "main");
    if (file && *file) {
        const QString journal = QFile::decodeName(file) + QStringLiteral("-journal");
        if (QFileInfo::exists(journal))
            QFile::remove(journal);
    }
    return SQLITE_OK;
}

Database::Database(const QString &programFolder)
    : m_programFolder(programFolder),
      m_settings(ConnectionSettings::read(programFolder, &m_settingsWarning)),
      m_connectionName(QStringLiteral("lumkar_%1").arg(connectionCounter.fetchAndAddRelaxed(1)))
{
    installTextFunctions();
    m_db = QSqlDatabase::addDatabase(m_settings.engine == Engine::Postgres
                                         ? QStringLiteral("QPSQL")
                                         : QStringLiteral("QSQLITE"),
                                     m_connectionName);
    m_actionContext = std::make_unique<QObject>();
    registry().insert(m_connectionName, this);
}

Database::~Database()
{
    registry().remove(m_connectionName);
    close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_connectionName);
}

QString Database::dataFolder() const
{
    return QDir(m_programFolder).filePath(dataFolderName());
}

QString Database::filePath() const
{
    return QDir(dataFolder()).filePath(fileName());
}

bool Database::isOpen() const
{
    return m_db.isOpen();
}

bool Database::fileExists() const
{
    return m_settings.engine == Engine::Postgres || QFileInfo::exists(filePath());
}

Database *Database::of(const QSqlDatabase &db)
{
    return registry().value(db.connectionName(), nullptr);
}

void Database::noteFailure(const QSqlError &error)
{
    switch (classifyFailure(error)) {
    case StorageFailure::Locked:
        // One wait per action: the next statements of this action give up at once.
        if (!m_busyInAction) {
            m_busyInAction = true;
            if (sqlite3 *handle = sqliteHandle(m_db))
                sqlite3_busy_timeout(handle, 0);
        }
        break;
    case StorageFailure::Damaged:
        m_damaged = !isServerError(error);
        break;
    case StorageFailure::Unreachable:
        m_reconnect = m_settings.engine == Engine::Postgres;
        break;
    default:
        break;
    }
    endActionLater();
}

void Database::reportFailure(const QSqlError &error)
{
    noteFailure(error);
    if (m_reportedInAction || m_silent > 0)
        return;
    m_reportedInAction = true;
    if (m_failureHandler)
        m_failureHandler(failureText(error));
    endActionLater();
}

void Database::endActionLater()
{
    QMetaObject::invokeMethod(
        m_actionContext.get(),
        [this] {
            m_reportedInAction = false;
            if (m_reconnect) {
                // The next action finds a connection again, if the server is back.
                m_reconnect = false;
                m_db.close();
                if (m_db.open())
                    configureServerSession();
            }
            if (m_busyInAction) {
                m_busyInAction = false;
                if (sqlite3 *handle = sqliteHandle(m_db))
                    sqlite3_busy_timeout(handle, kBusyWaitMilliseconds);
            }
        },
        Qt::QueuedConnection);
}

int Database::otherConnections(QSqlError *error)
{
    if (m_settings.engine != Engine::Postgres)
        return 0;
    QSqlQuery q(m_db);
    if (!q.exec(QStringLiteral("SELECT count(*) FROM pg_stat_activity WHERE datname = "
                               "current_database() AND pid <> pg_backend_pid() AND "
                               "backend_type = 'client backend'"))
        || !q.next()) {
        if (error)
            *error = q.lastError();
        noteFailure(q.lastError());
        return -1;
    }
    return q.value(0).toInt();
}

bool Database::open()
{
    m_error.clear();
    if (m_db.isOpen())
        return true;
    return m_settings.engine == Engine::Postgres ? openServer() : openFile();
}

void Database::configureServerSession()
{
    QSqlQuery q(m_db);
    // A statement waits a few seconds for another desk's lock, then gives up with a message.
    q.exec(QStringLiteral("SET lock_timeout = '%1ms'").arg(kBusyWaitMilliseconds * 3));
    // The server's notices ("already exists, skipping") are not the user's business; its
    // warnings and errors still reach the program.
    q.exec(QStringLiteral("SET client_min_messages = warning"));
    m_otherDesks.listen(m_db);
}

bool Database::openServer()
{
    const QString server = m_settings.serverText();
    if (!m_db.isValid()) {
        m_error = QStringLiteral("PostgreSQL sürücüsü (libqt6sql6-psql) yüklenemedi; %1 "
                                 "veritabanına bağlanılamadı.")
                      .arg(server);
        return false;
    }
    prepareServerConnection(m_db, m_settings);
    m_damaged = false;
    if (!m_db.open()) {
        m_error = serverOpenText(m_db.lastError(), m_settings);
        return false;
    }
    configureServerSession();
    bool empty = false;
    if (!verifyServer(empty)) {
        m_db.close();
        return false;
    }
    if (empty) {
        const QSqlError e = schema::create(m_db);
        if (e.isValid()) {
            m_error = QStringLiteral("%1 veritabanında tablolar oluşturulamadı: %2")
                          .arg(server, serverOpenText(e, m_settings));
            m_db.close();
            return false;
        }
    }
    // The tables, indexes and text functions later versions brought, made once for a
    // database that has none yet (the lists read through the functions).
    for (const auto &bringUpToDate : {schema::addLaterTables, schema::upgrade})
        if (const QSqlError e = bringUpToDate(m_db); e.isValid()) {
            m_error = QStringLiteral("%1 veritabanı hazırlanamadı: %2")
                          .arg(server, failureText(e));
            m_db.close();
            return false;
        }
    schema::addSearchIndexes(m_db);
    QString totalsError;
    if (!moneytotals::ensure(m_db, &totalsError)) {
        m_error = QStringLiteral("%1 veritabanı hazırlanamadı: %2").arg(server, totalsError);
        m_db.close();
        return false;
    }
    if (const QString notices = OtherDesks::ensureNotices(m_db); !notices.isEmpty()) {
        m_error = QStringLiteral("%1 veritabanı hazırlanamadı: %2").arg(server, notices);
        m_db.close();
        return false;
    }
    return true;
}

bool Database::verifyServer(bool &empty)
{
    m_error = checkServerTables(m_db, m_settings, empty);
    return m_error.isEmpty();
}

bool Database::openFile()
{
    const QString path = filePath();
    const QString shown = QDir::toNativeSeparators(path);
    if (!m_db.isValid()) {
        m_error = QStringLiteral("Veritabanı sürücüsü (SQLite) yüklenemedi; \"%1\" açılamadı.")
                      .arg(shown);
        return false;
    }
    const bool fresh = !QFileInfo::exists(path);
    if (fresh && !QDir().mkpath(dataFolder())) {
        m_error = QStringLiteral("Veri klasörü \"%1\" oluşturulamadı: klasöre yazma izni yok.")
                      .arg(QDir::toNativeSeparators(dataFolder()));
        return false;
    }
    if (!fresh) {
        QFileInfo info(path);
        if (!info.isFile() || !info.isReadable()) {
            m_error = QStringLiteral("Veritabanı dosyası \"%1\" okunamıyor: dosya değil ya da "
                                     "okuma izni yok.").arg(shown);
            return false;
        }
    }
    m_db.setDatabaseName(path);
    m_db.setConnectOptions(
        QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyWaitMilliseconds));
    m_damaged = false;
    if (!m_db.open()) {
        m_error = QStringLiteral("Veritabanı dosyası \"%1\" açılamadı: %2")
                      .arg(shown, m_db.lastError().text());
        return false;
    }
    QSqlQuery q(m_db);
    // A rollback journal keeps the one file complete between writes.
    q.exec(QStringLiteral("PRAGMA journal_mode=DELETE"));
    q.exec(QStringLiteral("PRAGMA synchronous=FULL"));
    // Reads go through a larger page cache, not through pages of the file mapped into memory:
    // the lists read only the pages of their indexes they show, and a map held more of a large
    // file in the program's memory (60 MB at ten million rows) without reading faster.
    q.exec(QStringLiteral("PRAGMA mmap_size=0"));
    q.exec(QStringLiteral("PRAGMA cache_size=-16384"));
    if (fresh) {
        const QSqlError e = schema::create(m_db);
        if (e.isValid()) {
            m_error = QStringLiteral("Veritabanı dosyası \"%1\" oluşturulamadı: %2")
                          .arg(shown, e.text());
            m_db.close();
            QFile::remove(path);
            return false;
        }
    }
    if (!verify()) {
        m_db.close();
        return false;
    }
    settleLeftoverJournal();
    // The tables later versions brought, made once for a file that has none yet.
    if (const QSqlError e = schema::addLaterTables(m_db); e.isValid()) {
        m_error = QStringLiteral("Veritabanı dosyası \"%1\" hazırlanamadı: %2")
                      .arg(shown, failureText(e));
        m_db.close();
        return false;
    }
    // Indexes added since the file was made. They only make lists faster: a file that cannot
    // take them now (read-only, held by another program) is used as it is, and the next
    // opening tries again.
    (void)schema::upgrade(m_db);
    schema::addSearchIndexes(m_db);
    // The day totals of the money books, made once for a file that has none yet.
    QString totalsError;
    if (!moneytotals::ensure(m_db, &totalsError)) {
        m_error = QStringLiteral("Veritabanı dosyası \"%1\" hazırlanamadı: %2")
                      .arg(shown, totalsError);
        m_db.close();
        return false;
    }
    return true;
}

bool Database::verify()
{
    const QString shown = QDir::toNativeSeparators(filePath());
    QSqlQuery q(m_db);
    for (const TableDef &t : schema::tables()) {
        if (!q.exec(QStringLiteral("PRAGMA table_info(%1)").arg(t.name))) {
            noteFailure(q.lastError());
            m_error = QStringLiteral("Veritabanı dosyası \"%1\" okunamadı. %2")
                          .arg(shown, failureText(q.lastError()));
            return false;
        }
        QSet<QString> present;
        while (q.next())
            present.insert(q.value(1).toString().toLower());
        if (present.isEmpty() && t.addedLater)
            continue; // made right after the check
        if (present.isEmpty()) {
            m_error = QStringLiteral("Veritabanı dosyası \"%1\" bu programın dosyası değil ya da "
                                     "bozuk: \"%2\" tablosu yok.").arg(shown, t.name);
            return false;
        }
        for (const ColumnDef &c : t.columns) {
            if (!present.contains(c.name.toLower())) {
                m_error = QStringLiteral("Veritabanı dosyası \"%1\" eksik: \"%2\" tablosunda "
                                         "\"%3\" sütunu yok.").arg(shown, t.name, c.name);
                return false;
            }
        }
    }
    return true;
}

void Database::settleLeftoverJournal()
{
    sqlite3 *handle = sqliteHandle(m_db);
    if (!handle || !QFileInfo::exists(filePath() + QStringLiteral("-journal")))
        return;
    // A program that is writing now keeps its journal: no waiting for it at the start.
    sqlite3_busy_timeout(handle, 0);
    if (lockAndSettleJournal(handle, "BEGIN IMMEDIATE") == SQLITE_OK)
        sqlite3_exec(handle, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_busy_timeout(handle, kBusyWaitMilliseconds);
}

void Database::close()
{
    if (m_db.isOpen())
        m_db.close();
}

} // namespace lumkar
