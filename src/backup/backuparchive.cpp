#include "backup/backuparchive.h"

#include "backup/backuprules.h"
#include "data/schema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <filesystem>
#include <quazip/quacrc32.h>
#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <quazip/quazipnewinfo.h>
#include <sqlite3.h>

namespace lumkar {

namespace {

constexpr qint64 kChunk = 1 << 20;
// How long a copy waits for a lock another connection holds, in milliseconds.
constexpr int kLockWait = 15000;

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

QByteArray fileNameBytes(const QString &path)
{
    return QFile::encodeName(path);
}

// One SQLite connection, closed when it goes out of scope.
class SqliteFile {
public:
    SqliteFile(const QString &path, int flags)
    {
        m_rc = sqlite3_open_v2(fileNameBytes(path).constData(), &m_handle, flags, nullptr);
        if (m_handle)
            sqlite3_busy_timeout(m_handle, kLockWait);
    }
    ~SqliteFile() { sqlite3_close(m_handle); }
    SqliteFile(const SqliteFile &) = delete;
    SqliteFile &operator=(const SqliteFile &) = delete;

    bool isOpen() const { return m_rc == SQLITE_OK; }
    sqlite3 *handle() const { return m_handle; }
    QString message() const { return QString::fromUtf8(sqlite3_errmsg(m_handle)); }

    // The first column of every row of a statement; false (with message()) when it failed.
    bool column(const QString &sql, QStringList &out, int *rc = nullptr)
    {
        out.clear();
        sqlite3_stmt *stmt = nullptr;
        const QByteArray text = sql.toUtf8();
        int result
            = sqlite3_prepare_v2(m_handle, text.constData(), int(text.size()), &stmt, nullptr);
        if (result == SQLITE_OK) {
            while ((result = sqlite3_step(stmt)) == SQLITE_ROW)
                out << QString::fromUtf8(
                    reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0)));
        }
        sqlite3_finalize(stmt);
        if (rc)
            *rc = result;
        return result == SQLITE_DONE;
    }

private:
    sqlite3 *m_handle = nullptr;
    int m_rc = SQLITE_ERROR;
};

// Copies a device into another in chunks, with the checksum and size of what passed.
struct Copied {
    bool readFailed = false;
    bool writeFailed = false;
    quint64 size = 0;
    quint32 crc = 0;
};

Copied copyData(QIODevice &from, QIODevice *to)
{
    Copied result;
    QuaCrc32 crc;
    QByteArray buffer(kChunk, Qt::Uninitialized);
    while (true) {
        const qint64 length = from.read(buffer.data(), kChunk);
        if (length <= 0) {
            result.readFailed = length < 0;
            break;
        }
        const QByteArray chunk = QByteArray::fromRawData(buffer.constData(), length);
        crc.update(chunk);
        result.size += quint64(chunk.size());
        if (to && to->write(chunk) != chunk.size()) {
            result.writeFailed = true;
            break;
        }
    }
    result.crc = crc.value();
    return result;
}

bool sameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

QFileDevice::Permissions ordinaryPermissions()
{
    return QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup
        | QFileDevice::ReadOther;
}

// Moves a finished file over its final name in one step (an existing file is replaced).
QString moveInPlace(const QString &from, const QString &to)
{
    std::error_code error;
    std::filesystem::rename(std::filesystem::path(from.toStdU16String()),
        std::filesystem::path(to.toStdU16String()), error);
    return error ? QString::fromLocal8Bit(error.message().c_str()) : QString();
}

} // namespace

QString copyDatabaseFile(
    const QString &source, const QString &target, const std::function<void()> &betweenSteps)
{
    if (!QFileInfo(source).isFile())
        return QStringLiteral("veritabanı dosyası \"%1\" bulunamadı.").arg(shown(source));
    SqliteFile from(source, SQLITE_OPEN_READONLY);
    if (!from.isOpen())
        return QStringLiteral("veritabanı dosyası \"%1\" açılamadı: %2.")
            .arg(shown(source), from.message());
    QFile::remove(target);
    SqliteFile to(target, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    if (!to.isOpen())
        return QStringLiteral("veritabanının geçici kopyası \"%1\" oluşturulamadı: %2.")
            .arg(shown(target), to.message());
    // The copy is a scratch file: no journal of its own is needed.
    sqlite3_exec(
        to.handle(), "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF", nullptr, nullptr, nullptr);
    sqlite3_backup *backup = sqlite3_backup_init(to.handle(), "main", from.handle(), "main");
    if (!backup)
        return QStringLiteral("veritabanının kopyası başlatılamadı: %1.").arg(to.message());
    // In one step the whole file is read under one read lock: writers of other connections
    // wait for it to end and the copy holds one committed state.
    const int pagesPerStep = betweenSteps ? 8 : -1;
    int waited = 0;
    int rc;
    while (true) {
        rc = sqlite3_backup_step(backup, pagesPerStep);
        if (rc == SQLITE_DONE)
            break;
        if (rc == SQLITE_OK) {
            if (betweenSteps)
                betweenSteps();
            continue;
        }
        if ((rc == SQLITE_BUSY || rc == SQLITE_LOCKED) && waited < kLockWait) {
            sqlite3_sleep(20);
            waited += 20;
            continue;
        }
        break;
    }
    sqlite3_backup_finish(backup);
    if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED)
        return QStringLiteral("veritabanı başka bir program tarafından uzun süre kilitli "
                              "tutulduğundan kopyalanamadı.");
    if (rc != SQLITE_DONE)
        return QStringLiteral("veritabanının kopyası alınamadı: %1.")
            .arg(QString::fromUtf8(sqlite3_errstr(rc)));
    return QString();
}

QString checkProgramDatabase(const QString &path)
{
    SqliteFile file(path, SQLITE_OPEN_READONLY);
    if (!file.isOpen())
        return QStringLiteral("dosya açılamadı (%1).").arg(file.message());
    QStringList rows;
    int rc = SQLITE_OK;
    if (!file.column(QStringLiteral("PRAGMA integrity_check"), rows, &rc)) {
        if (rc == SQLITE_NOTADB)
            return QStringLiteral("dosya bir veritabanı değil.");
        return QStringLiteral("dosya okunamadı (%1).").arg(file.message());
    }
    if (rows != QStringList { QStringLiteral("ok") })
        return QStringLiteral("veritabanı bozuk, bütünlük denetiminden geçmedi (%1).")
            .arg(rows.value(0));
    for (const TableDef &table : schema::tables()) {
        sqlite3_stmt *stmt = nullptr;
        const QByteArray sql = QStringLiteral("PRAGMA table_info(\"%1\")").arg(table.name).toUtf8();
        QSet<QString> present;
        if (sqlite3_prepare_v2(file.handle(), sql.constData(), -1, &stmt, nullptr) == SQLITE_OK)
            while (sqlite3_step(stmt) == SQLITE_ROW)
                present.insert(
                    QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 1)))
                        .toLower());
        sqlite3_finalize(stmt);
        if (present.isEmpty())
            return QStringLiteral("\"%1\" tablosu yok; bu, programın veritabanı değil.")
                .arg(table.name);
        for (const ColumnDef &column : table.columns)
            if (!present.contains(column.name.toLower()))
                return QStringLiteral("\"%1\" tablosunda \"%2\" sütunu yok.")
                    .arg(table.name, column.name);
    }
    return QString();
}

bool BackupWriter::fail(const QString &text)
{
    m_error = text;
    return false;
}

bool BackupWriter::writeArchive(
    QIODevice &device, const QString &existingArchive, const QVector<ArchiveSource> &sources)
{
    m_written.clear();
    m_error.clear();
    auto deviceCause = [&device] {
        const QString cause = device.errorString();
        return cause.isEmpty() || cause == QLatin1String("Unknown error")
            ? QStringLiteral("diske yazılamadı (disk dolu olabilir)")
            : cause;
    };
    QuaZip zip(&device);
    if (!zip.open(QuaZip::mdCreate))
        return fail(QStringLiteral("yedek dosyası oluşturulamadı: %1.").arg(deviceCause()));
    auto writeFailed = [&](const QString &entry) {
        zip.close();
        return fail(
            QStringLiteral("\"%1\" yedek dosyasına yazılamadı: %2.").arg(entry, deviceCause()));
    };

    if (!existingArchive.isEmpty()) {
        QuaZip old(existingArchive);
        if (!old.open(QuaZip::mdUnzip)) {
            zip.close();
            return fail(QStringLiteral("var olan \"%1\" dosyası bir zip arşivi olarak "
                                       "okunamadı; yedek ona eklenemedi.")
                            .arg(shown(existingArchive)));
        }
        for (bool more = old.goToFirstFile(); more; more = old.goToNextFile()) {
            QuaZipFileInfo64 info;
            old.getCurrentFileInfo(&info);
            bool replaced = false;
            for (const ArchiveSource &s : sources)
                replaced = replaced || sameName(s.entryName, info.name);
            if (replaced)
                continue;
            // Kept entries are copied as they are stored, without packing them again.
            QuaZipFile in(&old);
            int method = 0;
            int level = 0;
            if (!in.open(QIODevice::ReadOnly, &method, &level, true)) {
                zip.close();
                return fail(QStringLiteral("var olan \"%1\" arşivindeki \"%2\" okunamadı.")
                                .arg(shown(existingArchive), info.name));
            }
            QuaZipFile out(&zip);
            if (!out.open(QIODevice::WriteOnly, QuaZipNewInfo(info), nullptr, info.crc, method,
                    level, true))
                return writeFailed(info.name);
            const Copied copied = copyData(in, &out);
            in.close();
            out.close();
            if (copied.readFailed || in.getZipError() != UNZ_OK
                || copied.size != info.compressedSize) {
                zip.close();
                return fail(QStringLiteral("var olan \"%1\" arşivindeki \"%2\" okunamadı.")
                                .arg(shown(existingArchive), info.name));
            }
            if (copied.writeFailed || out.getZipError() != ZIP_OK)
                return writeFailed(info.name);
            m_written.append({ info.name, info.uncompressedSize, info.crc });
        }
    }

    for (const ArchiveSource &source : sources) {
        QFile file(source.filePath);
        if (!file.open(QIODevice::ReadOnly)) {
            zip.close();
            return fail(QStringLiteral("\"%1\" okunamadı: %2.")
                            .arg(shown(source.filePath), file.errorString()));
        }
        QuaZipNewInfo info(source.entryName, source.filePath);
        const int level = compressionLevelFor(source.entryName);
        QuaZipFile out(&zip);
        if (!out.open(QIODevice::WriteOnly, info, nullptr, 0, level == 0 ? 0 : Z_DEFLATED, level))
            return writeFailed(source.entryName);
        const Copied copied = copyData(file, &out);
        out.close();
        if (copied.readFailed) {
            zip.close();
            return fail(QStringLiteral("\"%1\" okunamadı: %2.")
                            .arg(shown(source.filePath), file.errorString()));
        }
        if (copied.writeFailed || out.getZipError() != ZIP_OK)
            return writeFailed(source.entryName);
        m_written.append({ source.entryName, copied.size, copied.crc });
    }
    zip.close();
    if (zip.getZipError() != ZIP_OK)
        return fail(QStringLiteral("yedek dosyası tamamlanamadı: %1.").arg(deviceCause()));
    return true;
}

bool BackupWriter::verify(const QString &archivePath)
{
    QuaZip zip(archivePath);
    if (!zip.open(QuaZip::mdUnzip))
        return fail(
            QStringLiteral("yazılan yedek dosyası \"%1\" geri okunamadı.").arg(shown(archivePath)));
    if (zip.getEntriesCount() != m_written.size())
        return fail(QStringLiteral("yazılan yedek dosyasında %1 kayıt olması gerekirken %2 "
                                   "kayıt var.")
                        .arg(m_written.size())
                        .arg(zip.getEntriesCount()));
    for (const ArchiveEntryCheck &expected : m_written) {
        if (!zip.setCurrentFile(expected.name, QuaZip::csSensitive))
            return fail(QStringLiteral("yazılan yedek dosyasında \"%1\" yok.").arg(expected.name));
        QuaZipFileInfo64 info;
        zip.getCurrentFileInfo(&info);
        QuaZipFile in(&zip);
        if (!in.open(QIODevice::ReadOnly))
            return fail(
                QStringLiteral("yazılan yedek dosyasındaki \"%1\" okunamadı.").arg(expected.name));
        const Copied read = copyData(in, nullptr);
        in.close();
        if (read.readFailed || in.getZipError() != UNZ_OK || info.uncompressedSize != expected.size
            || info.crc != expected.crc || read.size != expected.size || read.crc != expected.crc)
            return fail(QStringLiteral("yazılan yedek dosyasındaki \"%1\" denetimden geçmedi "
                                       "(boyutu ya da sağlama toplamı tutmuyor).")
                            .arg(expected.name));
    }
    return true;
}

bool BackupWriter::backupDataFolder(
    const QString &dataFolder, const QString &databaseName, const QString &archivePath)
{
    m_error.clear();
    m_written.clear();
    const QFileInfo target(archivePath);
    const QDir folder = target.absoluteDir();
    if (!folder.exists())
        return fail(
            QStringLiteral("yedek klasörü \"%1\" bulunamadı.").arg(shown(folder.absolutePath())));
    if (target.exists() && !target.isFile())
        return fail(QStringLiteral("\"%1\" bir dosya değil.").arg(shown(archivePath)));

    const QFileInfoList files
        = QDir(dataFolder).entryInfoList({ QStringLiteral("*.mdb") }, QDir::Files, QDir::Name);
    if (files.isEmpty())
        return fail(QStringLiteral("\"%1\" klasöründe yedeklenecek veritabanı dosyası yok.")
                        .arg(shown(dataFolder)));
    QTemporaryDir copies;
    if (!copies.isValid())
        return fail(QStringLiteral("geçici klasör oluşturulamadı: %1.").arg(copies.errorString()));
    QVector<ArchiveSource> sources;
    for (const QFileInfo &file : files) {
        if (!sameName(file.fileName(), databaseName)) {
            sources.append({ file.fileName(), file.absoluteFilePath() });
            continue;
        }
        const QString copy = copies.filePath(file.fileName());
        const QString cause = copyDatabaseFile(file.absoluteFilePath(), copy, m_betweenSteps);
        if (!cause.isEmpty())
            return fail(cause);
        sources.append({ file.fileName(), copy });
    }

    // Written beside its final place, so that moving it there is one step on one disk.
    QTemporaryFile partial(
        folder.filePath(target.fileName() + QStringLiteral(".XXXXXX.yaziliyor")));
    if (!partial.open())
        return fail(QStringLiteral("\"%1\" klasörüne yazılamıyor: %2.")
                        .arg(shown(folder.absolutePath()), partial.errorString()));
    const bool written = writeArchive(partial, target.exists() ? archivePath : QString(), sources);
    const bool flushed = written && partial.flush();
    partial.close();
    if (!written)
        return false;
    if (!flushed || partial.error() != QFileDevice::NoError)
        return fail(
            QStringLiteral("yedek dosyası diske yazılamadı: %1.").arg(partial.errorString()));
    if (!verify(partial.fileName()))
        return false;
    partial.setPermissions(
        target.exists() ? QFile::permissions(archivePath) : ordinaryPermissions());
    const QString cause = moveInPlace(partial.fileName(), archivePath);
    if (!cause.isEmpty())
        return fail(QStringLiteral("yedek dosyası \"%1\" yerine konamadı: %2.")
                        .arg(shown(archivePath), cause));
    partial.setAutoRemove(false);
    return true;
}

DatabaseRestore::DatabaseRestore(const QString &dataFolder, const QString &databaseName)
    : m_dataFolder(dataFolder), m_databaseName(databaseName)
{
}

DatabaseRestore::~DatabaseRestore() = default;

bool DatabaseRestore::fail(const QString &text)
{
    m_unpacked.reset();
    m_error = text;
    return false;
}

bool DatabaseRestore::isBareName(const QString &entryName)
{
    if (entryName.isEmpty() || entryName == QLatin1String(".") || entryName == QLatin1String(".."))
        return false;
    for (const QChar c : entryName)
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c == QLatin1Char(':')
            || c.unicode() < 32)
            return false;
    return true;
}

QString DatabaseRestore::keptCopyName(const QString &databaseName, const QDateTime &now)
{
    const QString stem = QFileInfo(databaseName).completeBaseName();
    return stem + QLatin1Char('_') + now.toString(QStringLiteral("yyyy_MM_dd_HH_mm_ss"))
        + QStringLiteral(".onceki");
}

bool DatabaseRestore::prepare(const QString &archivePath)
{
    m_error.clear();
    m_keptCopy.clear();
    m_unpacked.reset();
    const QString archive = shown(archivePath);
    QuaZip zip(archivePath);
    if (!zip.open(QuaZip::mdUnzip))
        return fail(QStringLiteral("\"%1\" bir zip arşivi olarak okunamadı: dosya bozuk, yarım "
                                   "kalmış ya da zip arşivi değil.")
                        .arg(archive));
    const QList<QuaZipFileInfo64> entries = zip.getFileInfoList64();
    if (zip.getZipError() != UNZ_OK)
        return fail(QStringLiteral("\"%1\" arşivinin içindekiler okunamadı: dosya bozuk ya da "
                                   "yarım kalmış.")
                        .arg(archive));
    const QuaZipFileInfo64 *database = nullptr;
    for (const QuaZipFileInfo64 &entry : entries) {
        if (!isBareName(entry.name))
            return fail(QStringLiteral("\"%1\" arşivinde klasör ya da yol taşıyan bir kayıt var "
                                       "(\"%2\"); böyle bir arşivden geri yükleme yapılmaz.")
                            .arg(archive, entry.name));
        if (sameName(entry.name, m_databaseName))
            database = &entry;
    }
    if (!database)
        return fail(QStringLiteral("\"%1\" arşivinde \"%2\" veritabanı dosyası yok; bu arşiv "
                                   "programın yedeği değil.")
                        .arg(archive, m_databaseName));

    if (!QDir().mkpath(m_dataFolder))
        return fail(QStringLiteral("veri klasörü \"%1\" oluşturulamadı.").arg(shown(m_dataFolder)));
    m_unpacked = std::make_unique<QTemporaryFile>(
        QDir(m_dataFolder).filePath(m_databaseName + QStringLiteral(".XXXXXX.aciliyor")));
    if (!m_unpacked->open())
        return fail(QStringLiteral("veri klasörü \"%1\" içine yazılamıyor: %2.")
                        .arg(shown(m_dataFolder), m_unpacked->errorString()));
    zip.setCurrentFile(database->name, QuaZip::csSensitive);
    QuaZipFile in(&zip);
    if (!in.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("\"%1\" arşivindeki \"%2\" açılamadı: arşiv bozuk.")
                        .arg(archive, database->name));
    const Copied copied = copyData(in, m_unpacked.get());
    in.close();
    if (copied.writeFailed || !m_unpacked->flush())
        return fail(
            QStringLiteral("veri klasörüne yazılamadı: %1.").arg(m_unpacked->errorString()));
    if (copied.readFailed || in.getZipError() != UNZ_OK || copied.size != database->uncompressedSize
        || copied.crc != database->crc)
        return fail(QStringLiteral("\"%1\" arşivindeki \"%2\" bozuk ya da eksik (boyutu ya da "
                                   "sağlama toplamı tutmuyor).")
                        .arg(archive, database->name));
    m_unpacked->close();
    const QString cause = checkProgramDatabase(m_unpacked->fileName());
    if (!cause.isEmpty())
        return fail(QStringLiteral("\"%1\" arşivindeki \"%2\" kullanılamaz: %3")
                        .arg(archive, database->name, cause));
    return true;
}

bool DatabaseRestore::replace(const QDateTime &now)
{
    if (!m_unpacked)
        return fail(QStringLiteral("geri yüklenecek veritabanı hazır değil."));
    const QString current = QDir(m_dataFolder).filePath(m_databaseName);
    for (const QString &suffix : { QStringLiteral("-journal"), QStringLiteral("-wal") }) {
        if (QFileInfo::exists(current + suffix))
            return fail(QStringLiteral("veritabanı şu anda başka bir program tarafından "
                                       "yazılıyor (\"%1\" dosyası var). Diğer programları "
                                       "kapatıp tekrar deneyin.")
                            .arg(shown(current + suffix)));
    }
    m_keptCopy.clear();
    if (QFileInfo::exists(current)) {
        const QString name = keptCopyName(m_databaseName, now);
        QString kept = QDir(m_dataFolder).filePath(name);
        for (int n = 2; QFileInfo::exists(kept); ++n)
            kept = QDir(m_dataFolder)
                       .filePath(QFileInfo(name).completeBaseName()
                           + QStringLiteral("_%1.onceki").arg(n));
        if (!QFile::copy(current, kept) || QFileInfo(kept).size() != QFileInfo(current).size()) {
            QFile::remove(kept);
            return fail(QStringLiteral("mevcut veritabanının kopyası \"%1\" oluşturulamadı "
                                       "(disk dolu ya da yazma izni yok).")
                            .arg(shown(kept)));
        }
        m_keptCopy = kept;
        m_unpacked->setPermissions(QFile::permissions(current));
    } else {
        m_unpacked->setPermissions(ordinaryPermissions());
    }
    const QString cause = moveInPlace(m_unpacked->fileName(), current);
    if (!cause.isEmpty()) {
        if (!m_keptCopy.isEmpty())
            QFile::remove(m_keptCopy);
        m_keptCopy.clear();
        return fail(QStringLiteral("yedekteki veritabanı \"%1\" yerine konamadı: %2.")
                        .arg(shown(current), cause));
    }
    m_unpacked->setAutoRemove(false);
    m_unpacked.reset();
    return true;
}

} // namespace lumkar
