#include "data/database.h"

#include "data/moneytotals.h"
#include "data/schema.h"

#include <QAtomicInt>
#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>

namespace lumkar {

namespace {
QAtomicInt connectionCounter;
}

Database::Database(const QString &programFolder)
    : m_programFolder(programFolder),
      m_connectionName(QStringLiteral("lumkar_%1").arg(connectionCounter.fetchAndAddRelaxed(1)))
{
    m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
}

Database::~Database()
{
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

bool Database::open()
{
    m_error.clear();
    if (m_db.isOpen())
        return true;
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
    m_db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
    if (!m_db.open()) {
        m_error = QStringLiteral("Veritabanı dosyası \"%1\" açılamadı: %2")
                      .arg(shown, m_db.lastError().text());
        return false;
    }
    QSqlQuery q(m_db);
    // A rollback journal keeps the one file complete between writes.
    q.exec(QStringLiteral("PRAGMA journal_mode=DELETE"));
    q.exec(QStringLiteral("PRAGMA synchronous=FULL"));
    // Reads of large lists go through memory-mapped pages and a larger page cache.
    q.exec(QStringLiteral("PRAGMA mmap_size=268435456"));
    q.exec(QStringLiteral("PRAGMA cache_size=-32768"));
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
            m_error = QStringLiteral("Veritabanı dosyası \"%1\" okunamadı: %2")
                          .arg(shown, q.lastError().text());
            return false;
        }
        QSet<QString> present;
        while (q.next())
            present.insert(q.value(1).toString().toLower());
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

void Database::close()
{
    if (m_db.isOpen())
        m_db.close();
}

} // namespace lumkar
