#include "backup/backuparchive.h"

#include "backup/backuprules.h"
#include "backup/blockdeflate.h"
#include "backup/scratchfiles.h"
#include "data/database.h"
#include "data/schema.h"
#include "data/tablecopy.h"
#include "data/textfunctions.h"
#include "data/wholefile.h"
#include "kit/dialogs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSet>
#include <QStorageInfo>
#include <QTemporaryFile>
#include <atomic>
#include <filesystem>
#include <future>
#include <mutex>
#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <quazip/quazipnewinfo.h>
#include <sqlite3.h>
#include <thread>

namespace lumkar {

namespace {

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
        installTextFunctions(); // the indexes of the file are checked with them
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

bool sameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

QFileDevice::Permissions ordinaryPermissions()
{
    return QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup
        | QFileDevice::ReadOther;
}

// A write refused because the disk holding `folder` is full.
QString noRoomText(const QString &folder)
{
    return QStringLiteral("diskte yer kalmadı; \"%1\" klasörüne yazılamadı. Diskte yer açıp "
                          "yeniden deneyin.")
        .arg(shown(folder));
}

// The folder of the file behind `device` when the write it refused failed for want of room on
// the disk; empty otherwise (or when the device is no file). The device's own text cannot
// tell it: a write the disk takes only in part leaves no error behind.
QString fullDiskFolder(const QIODevice &device)
{
    const auto *file = qobject_cast<const QFileDevice *>(&device);
    if (!file || file->fileName().isEmpty() || !noRoomToGrow(file->fileName()))
        return QString();
    return QFileInfo(file->fileName()).absolutePath();
}

// Why a device refused a write, as the user reads it, when the disk has room.
QString deviceCause(const QIODevice &device)
{
    const QString cause = device.errorString();
    return cause.isEmpty() || cause == QLatin1String("Unknown error")
        ? QStringLiteral("disk yazmayı kabul etmedi")
        : cause;
}

QString sizeText(quint64 bytes)
{
    return QLocale().formattedDataSize(
        qint64(std::min<quint64>(bytes, quint64(std::numeric_limits<qint64>::max()))), 1,
        QLocale::DataSizeTraditionalFormat);
}

QString entryWriteText(const QString &entryName)
{
    return QStringLiteral("\"%1\" yedek dosyasına yazılamadı").arg(entryName);
}

bool isDatabaseFileName(const QString &name)
{
    return name.endsWith(QLatin1String(".mdb"), Qt::CaseInsensitive);
}

// The parts of a backup and a restore on the progress display, as shares of
// kBackupProgressMaximum: where each part starts.
constexpr int kCopyStart = 0;
constexpr int kChecksumStart = 60; // the packing part begins with the checksums
constexpr int kReadBackStart = 880;
constexpr int kUnpackStart = 0;
constexpr int kCheckStart = 300;
constexpr int kSwapStart = 950;

const QString kCopyLabel = QStringLiteral("Veritabanının kopyası alınıyor...");
const QString kPackLabel = QStringLiteral("Yedek sıkıştırılıyor...");
const QString kReadBackLabel = QStringLiteral("Yazılan yedek denetleniyor...");
const QString kUnpackLabel = QStringLiteral("Yedek açılıyor...");
const QString kCheckLabel = QStringLiteral("Yedekteki veritabanı denetleniyor...");
const QString kSwapLabel = QStringLiteral("Veritabanı yerine konuyor...");

// Shows a label (when given) and a value; false once the user has cancelled.
bool reportProgress(Progress *progress, const QString &label, int value)
{
    if (!progress)
        return true;
    if (!label.isEmpty())
        progress->setLabel(label);
    progress->setValue(value);
    return !progress->wasCanceled();
}

// A value inside a part that runs from `from` to `to` when `done` of `total` is behind.
int partValue(int from, int to, quint64 done, quint64 total)
{
    if (total == 0)
        return to;
    return from + int(qint64(to - from) * qint64(std::min(done, total)) / qint64(total));
}

// Reads an entry of the archive that is current in `zip` as it is stored, and passes its
// plain data through inflate (or as it is, when stored) into `to` (when given), no more than
// `limit` bytes of it.
DataPass readEntry(
    QuaZip &zip, QIODevice *to, const BlockStep &step, bool *opened, quint64 limit = kNoLimit)
{
    QuaZipFile in(&zip);
    int method = 0;
    int level = 0;
    *opened = in.open(QIODevice::ReadOnly, &method, &level, true);
    if (!*opened || (method != 0 && method != Z_DEFLATED)) {
        *opened = false;
        return {};
    }
    DataPass pass
        = method == 0 ? copyStream(in, to, step, limit) : inflateStream(in, to, step, limit);
    in.close();
    if (in.getZipError() != UNZ_OK)
        pass.readFailed = true;
    return pass;
}

// Moves a finished file over its final name in one step (an existing file is replaced).
QString moveInPlace(const QString &from, const QString &to)
{
    std::error_code error;
    std::filesystem::rename(std::filesystem::path(from.toStdU16String()),
        std::filesystem::path(to.toStdU16String()), error);
    return error ? QString::fromLocal8Bit(error.message().c_str()) : QString();
}

// The pieces of SQLite's integrity check that can run side by side: the check of the file's
// structure (every page of every tree and the free list, "quick_check") and, for each table,
// the check of its rows against its indexes. Together they check what "PRAGMA
// integrity_check" checks. The costliest pieces come first, so that they start first.
bool integrityPieces(SqliteFile &file, QStringList &pieces, int *rc)
{
    QStringList tables;
    if (!file.column(
            QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'"), tables, rc))
        return false;
    QVector<QPair<qint64, QString>> costs;
    for (const QString &table : tables) {
        QString quoted = table;
        quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
        quoted = QLatin1Char('"') + quoted + QLatin1Char('"');
        // Rows times the trees they live in: the rows are looked up in every index.
        QStringList rows;
        QStringList indexes;
        file.column(QStringLiteral("SELECT max(rowid) FROM ") + quoted, rows);
        QString name = table;
        name.replace(QLatin1Char('\''), QStringLiteral("''"));
        file.column(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'index' "
                                   "AND tbl_name = '%1'")
                        .arg(name),
            indexes);
        costs.append({ rows.value(0).toLongLong() * (1 + indexes.value(0).toLongLong()),
            QStringLiteral("PRAGMA integrity_check(%1)").arg(quoted) });
    }
    std::sort(
        costs.begin(), costs.end(), [](const auto &a, const auto &b) { return a.first > b.first; });
    pieces.clear();
    for (const auto &cost : costs)
        pieces << cost.second;
    pieces.insert(std::min<qsizetype>(1, pieces.size()), QStringLiteral("PRAGMA quick_check"));
    return true;
}

// Runs the statements on every core, each thread on a connection of its own, and returns
// the first problem one of them reports (empty when each answers "ok"). `keepGoing` is asked
// on the calling thread while they run; false breaks every one off.
QString runSideBySide(const QString &path, const QStringList &statements,
                      const std::function<bool(int, int)> &keepGoing)
{
    std::atomic<int> next { 0 };
    std::atomic<int> finished { 0 };
    std::atomic<bool> stopped { false };
    std::mutex guard;
    QString problem;
    QVector<sqlite3 *> running;
    auto work = [&] {
        SqliteFile file(path, SQLITE_OPEN_READONLY);
        // A table's check looks each row up in every index: with room for 32 MB of pages
        // instead of 2 it reads most of them once, about twice as quick for a large table.
        QStringList none;
        file.column(QStringLiteral("PRAGMA cache_size = -32768"), none);
        {
            const std::lock_guard<std::mutex> lock(guard);
            running.append(file.handle());
        }
        for (int i = next++; i < statements.size() && !stopped; i = next++) {
            QStringList rows;
            int rc = SQLITE_OK;
            const bool read = file.column(statements.at(i), rows, &rc);
            ++finished;
            if (read && rows == QStringList { QStringLiteral("ok") })
                continue;
            const std::lock_guard<std::mutex> lock(guard);
            if (problem.isEmpty() && !stopped) {
                if (rc == SQLITE_INTERRUPT)
                    problem = QStringLiteral("denetim yarıda bırakıldı.");
                else if (!read)
                    problem = QStringLiteral("dosya okunamadı (%1).").arg(file.message());
                else
                    problem = QStringLiteral("veritabanı bozuk, bütünlük denetiminden geçmedi "
                                             "(%1).")
                                  .arg(rows.value(0));
            }
            stopped = true;
        }
        const std::lock_guard<std::mutex> lock(guard);
        running.removeOne(file.handle());
    };
    const int threads = int(std::clamp(std::thread::hardware_concurrency(), 1u, 4u));
    std::vector<std::future<void>> workers;
    for (int i = 0; i < std::min<int>(threads, int(statements.size())); ++i)
        workers.push_back(std::async(std::launch::async, work));
    for (auto &worker : workers) {
        while (worker.wait_for(std::chrono::milliseconds(40)) != std::future_status::ready) {
            if (keepGoing && !stopped && !keepGoing(finished, int(statements.size()))) {
                const std::lock_guard<std::mutex> lock(guard);
                stopped = true;
                problem = QStringLiteral("denetim yarıda bırakıldı.");
                for (sqlite3 *handle : std::as_const(running))
                    sqlite3_interrupt(handle);
            }
        }
    }
    if (keepGoing && !stopped && !keepGoing(finished, int(statements.size())))
        return QStringLiteral("denetim yarıda bırakıldı.");
    return problem;
}

// Gives a file a second name that keeps its data when the first name gets another file: a
// hard link where the disk has them (no data is copied), else a copy of the data.
bool keepUnderSecondName(const QString &file, const QString &secondName)
{
    std::error_code error;
    std::filesystem::create_hard_link(std::filesystem::path(file.toStdU16String()),
        std::filesystem::path(secondName.toStdU16String()), error);
    if (!error)
        return true;
    if (QFile::copy(file, secondName) && QFileInfo(secondName).size() == QFileInfo(file).size())
        return true;
    QFile::remove(secondName);
    return false;
}

} // namespace

namespace {

// The file's bytes copied while one read lock keeps every writer off it: with a rollback
// journal a writer changes the file only under an exclusive lock, so the copy holds the last
// committed state. A few times quicker than SQLite's copy page by page, so the other desks'
// saves wait no more than a moment. False (nothing left at `target`) for a file kept with a
// write-ahead log, or when the lock or the copy failed: the page copy then takes over and
// tells its own cause.
bool copyBytesUnderReadLock(SqliteFile &from, const QString &source, const QString &target)
{
    QStringList mode;
    if (!from.column(QStringLiteral("PRAGMA journal_mode"), mode)
        || mode.value(0).compare(QLatin1String("wal"), Qt::CaseInsensitive) == 0)
        return false;
    if (sqlite3_exec(from.handle(), "BEGIN", nullptr, nullptr, nullptr) != SQLITE_OK)
        return false;
    QStringList read;
    const bool locked = from.column(QStringLiteral("SELECT count(*) FROM sqlite_master"), read);
    QFile::remove(target);
    const bool copied = locked && QFile::copy(source, target);
    sqlite3_exec(from.handle(), "COMMIT", nullptr, nullptr, nullptr);
    if (!copied)
        QFile::remove(target);
    return copied;
}

// Leaves the persons' search index out of the copy an archive takes: its pages become zeros
// that pack in no time, where at the archive's compression its own cost more than all the
// persons' rows. The restored file makes it again from the persons at its first opening. A
// copy that cannot be changed keeps its index: the archive is only slower to pack.
void leaveOutSearchIndex(const QString &copy)
{
    SqliteFile file(copy, SQLITE_OPEN_READWRITE);
    if (!file.isOpen())
        return;
    // A scratch file nobody else opens: its journal is kept in memory, enough to undo a
    // failed change, and nothing waits for the disk.
    const QByteArray statements = (QStringLiteral("PRAGMA journal_mode = MEMORY; PRAGMA "
                                                  "synchronous = OFF; PRAGMA secure_delete = ON; "
                                                  "BEGIN; ")
                                   + schema::fileSearchIndexDropStatements().join(QStringLiteral("; "))
                                   + QStringLiteral("; COMMIT"))
                                      .toUtf8();
    if (sqlite3_exec(file.handle(), statements.constData(), nullptr, nullptr, nullptr) != SQLITE_OK)
        sqlite3_exec(file.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
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
    if (!betweenSteps && copyBytesUnderReadLock(from, source, target))
        return QString();
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
    if (rc == SQLITE_DONE)
        return QString();
    // The copy is a scratch file nobody else opens: probing it costs no lock that matters.
    if ((rc & 0xff) == SQLITE_FULL || noRoomToGrow(target))
        return noRoomText(QFileInfo(target).absolutePath());
    return QStringLiteral("veritabanının kopyası alınamadı: %1.")
        .arg(QString::fromUtf8(sqlite3_errstr(rc)));
}

QString checkProgramDatabase(const QString &path,
                             const std::function<bool(int, int)> &keepGoing)
{
    SqliteFile file(path, SQLITE_OPEN_READONLY);
    if (!file.isOpen())
        return QStringLiteral("dosya açılamadı (%1).").arg(file.message());
    QStringList pieces;
    int rc = SQLITE_OK;
    if (!integrityPieces(file, pieces, &rc)) {
        if (rc == SQLITE_NOTADB)
            return QStringLiteral("dosya bir veritabanı değil.");
        return QStringLiteral("dosya okunamadı (%1).").arg(file.message());
    }
    const QString problem = runSideBySide(path, pieces, keepGoing);
    if (!problem.isEmpty())
        return problem;
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
        if (present.isEmpty() && table.addedLater)
            continue; // an older file: the program makes the table when it opens the file
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

bool BackupWriter::refused(const QString &what, QIODevice &device)
{
    const QString folder = fullDiskFolder(device);
    if (!folder.isEmpty())
        return fail(noRoomText(folder));
    return fail(QStringLiteral("%1: %2.").arg(what, deviceCause(device)));
}

bool BackupWriter::stop()
{
    m_canceled = true;
    return fail(QStringLiteral("yedekleme iptal edildi."));
}

bool BackupWriter::report(const QString &label, int value)
{
    return reportProgress(m_progress, label, value);
}

bool BackupWriter::writeEntry(
    QuaZip &zip, const ArchiveSource &source, quint64 &done, quint64 total)
{
    QFile file(source.filePath);
    auto unreadable = [&] {
        return fail(QStringLiteral("\"%1\" okunamadı: %2.")
                        .arg(shown(source.filePath), file.errorString()));
    };
    if (!file.open(QIODevice::ReadOnly))
        return unreadable();
    // The entry's share of the packing part: a sixteenth for taking the checksum, the rest for
    // the packing itself, so that the display rises from one entry to the next.
    const quint64 size = quint64(std::max<qint64>(0, file.size()));
    auto within = [&](quint64 start, quint64 share) {
        return [this, start, share, size, &done, total](quint64 entryDone) {
            const quint64 at = size == 0 ? start + share : start + share * entryDone / size;
            return report(QString(), partValue(kChecksumStart, kReadBackStart, done + at, total));
        };
    };
    const quint64 checksumShare = size / 16;
    QuaZipNewInfo info(source.entryName, source.filePath);
    const int level = compressionLevelFor(source.entryName);
    QuaZipFile out(&zip);
    DataPass pass;
    QVector<BlockMark> blocks;
    if (level == 0) {
        if (!out.open(QIODevice::WriteOnly, info, nullptr, 0, 0, 0))
            return refused(entryWriteText(source.entryName), *zip.getIoDevice());
        pass = copyStream(file, &out, within(0, size));
    } else {
        // The entry's header carries the size and checksum of the data, so they are taken
        // first; the packing then runs on every core straight into the entry.
        if (!report(kPackLabel, partValue(kChecksumStart, kReadBackStart, done, total)))
            return stop();
        const DataPass sum = copyStream(file, nullptr, within(0, checksumShare));
        if (sum.stopped)
            return stop();
        if (!sum.ok() || !file.seek(0))
            return unreadable();
        info.uncompressedSize = sum.size;
        if (!out.open(QIODevice::WriteOnly, info, nullptr, sum.crc, Z_DEFLATED, level, true))
            return refused(entryWriteText(source.entryName), *zip.getIoDevice());
        pass = deflateInBlocks(
            file, out, level, within(checksumShare, size - checksumShare), &blocks);
        if (pass.ok() && (pass.size != sum.size || pass.crc != sum.crc))
            return fail(
                QStringLiteral("\"%1\" yedeklenirken değişti.").arg(shown(source.filePath)));
    }
    out.close();
    if (pass.stopped)
        return stop();
    if (pass.readFailed)
        return unreadable();
    if (!pass.ok() || out.getZipError() != ZIP_OK)
        return refused(entryWriteText(source.entryName), *zip.getIoDevice());
    done += pass.size;
    m_written.append({ source.entryName, pass.size, pass.crc, source.filePath, blocks });
    return true;
}

bool BackupWriter::writeArchive(
    QIODevice &device, const QString &existingArchive, const QVector<ArchiveSource> &sources)
{
    m_written.clear();
    m_error.clear();
    m_canceled = false;
    QuaZip zip(&device);
    if (!zip.open(QuaZip::mdCreate))
        return refused(QStringLiteral("yedek dosyası oluşturulamadı"), device);
    auto failed = [&] {
        zip.close();
        return false;
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
            auto unreadable = [&] {
                zip.close();
                return fail(QStringLiteral("var olan \"%1\" arşivindeki \"%2\" okunamadı.")
                                .arg(shown(existingArchive), info.name));
            };
            if (!in.open(QIODevice::ReadOnly, &method, &level, true))
                return unreadable();
            QuaZipFile out(&zip);
            if (!out.open(QIODevice::WriteOnly, QuaZipNewInfo(info), nullptr, info.crc, method,
                    level, true)) {
                refused(entryWriteText(info.name), device);
                return failed();
            }
            const DataPass copied = copyStream(in, &out);
            in.close();
            out.close();
            // A write the disk refused is told as such, not as the read it cut short.
            if (copied.writeFailed || out.getZipError() != ZIP_OK) {
                refused(entryWriteText(info.name), device);
                return failed();
            }
            if (copied.readFailed || in.getZipError() != UNZ_OK
                || copied.size != info.compressedSize)
                return unreadable();
            m_written.append({ info.name, info.uncompressedSize, info.crc });
        }
    }

    quint64 total = 0;
    for (const ArchiveSource &source : sources)
        total += quint64(std::max<qint64>(0, QFileInfo(source.filePath).size()));
    quint64 done = 0;
    for (const ArchiveSource &source : sources)
        if (!writeEntry(zip, source, done, total))
            return failed();
    zip.close();
    if (zip.getZipError() != ZIP_OK)
        return refused(QStringLiteral("yedek dosyası tamamlanamadı"), device);
    return true;
}

bool BackupWriter::verify(const QString &archivePath)
{
    m_canceled = false;
    if (!report(kReadBackLabel, kReadBackStart))
        return stop();
    QuaZip zip(archivePath);
    if (!zip.open(QuaZip::mdUnzip))
        return fail(
            QStringLiteral("yazılan yedek dosyası \"%1\" geri okunamadı.").arg(shown(archivePath)));
    if (zip.getEntriesCount() != m_written.size())
        return fail(QStringLiteral("yazılan yedek dosyasında %1 kayıt olması gerekirken %2 "
                                   "kayıt var.")
                        .arg(m_written.size())
                        .arg(zip.getEntriesCount()));
    quint64 total = 0;
    for (const ArchiveEntryCheck &expected : m_written)
        total += expected.size;
    quint64 done = 0;
    for (const ArchiveEntryCheck &expected : m_written) {
        if (!zip.setCurrentFile(expected.name, QuaZip::csSensitive))
            return fail(QStringLiteral("yazılan yedek dosyasında \"%1\" yok.").arg(expected.name));
        QuaZipFileInfo64 info;
        zip.getCurrentFileInfo(&info);
        const BlockStep step = [&](quint64 entryDone) {
            return report(QString(),
                partValue(kReadBackStart, kBackupProgressMaximum, done + entryDone, total));
        };
        bool opened = false;
        DataPass read;
        QFile plain(expected.plainPath);
        quint64 packedSize = 0;
        for (const BlockMark &block : expected.blocks)
            packedSize += block.packedSize;
        if (!expected.blocks.isEmpty() && plain.open(QIODevice::ReadOnly)) {
            // Packed here in blocks: the blocks are inflated side by side.
            QuaZipFile in(&zip);
            int method = 0;
            int level = 0;
            opened = in.open(QIODevice::ReadOnly, &method, &level, true) && method == Z_DEFLATED
                && info.compressedSize == packedSize;
            if (opened) {
                read = inflateBlocks(in, plain, expected.blocks, step);
                in.close();
                if (in.getZipError() != UNZ_OK)
                    read.readFailed = true;
            }
        } else {
            read = readEntry(zip, nullptr, step, &opened);
        }
        if (read.stopped)
            return stop();
        if (!opened)
            return fail(
                QStringLiteral("yazılan yedek dosyasındaki \"%1\" okunamadı.").arg(expected.name));
        if (!read.ok() || info.uncompressedSize != expected.size || info.crc != expected.crc
            || read.size != expected.size || read.crc != expected.crc)
            return fail(QStringLiteral("yazılan yedek dosyasındaki \"%1\" denetimden geçmedi "
                                       "(boyutu ya da sağlama toplamı tutmuyor).")
                            .arg(expected.name));
        done += expected.size;
    }
    return report(QString(), kBackupProgressMaximum) || stop();
}

bool BackupWriter::begin(const QString &archivePath)
{
    m_error.clear();
    m_written.clear();
    m_canceled = false;
    const QFileInfo target(archivePath);
    const QDir folder = target.absoluteDir();
    if (!folder.exists())
        return fail(
            QStringLiteral("yedek klasörü \"%1\" bulunamadı.").arg(shown(folder.absolutePath())));
    if (target.exists() && !target.isFile())
        return fail(QStringLiteral("\"%1\" bir dosya değil.").arg(shown(archivePath)));
    return report(kCopyLabel, kCopyStart) || stop();
}

bool BackupWriter::backupDataFolder(
    const QString &dataFolder, const QString &databaseName, const QString &archivePath)
{
    if (!begin(archivePath))
        return false;
    const QFileInfoList files
        = QDir(dataFolder).entryInfoList({ QStringLiteral("*.mdb") }, QDir::Files, QDir::Name);
    if (files.isEmpty())
        return fail(QStringLiteral("\"%1\" klasöründe yedeklenecek veritabanı dosyası yok.")
                        .arg(shown(dataFolder)));
    // The copy of the database goes into the system's temporary folder under a scratch name
    // (taken here, and removed with `copy`): should this run be killed, the next start of the
    // program removes it.
    QTemporaryFile copy(
        QDir(QDir::tempPath()).filePath(scratchTemplate(databaseName, ScratchKind::Copy)));
    if (!copy.open())
        return fail(QStringLiteral("geçici dosya oluşturulamadı: %1.").arg(copy.errorString()));
    copy.close();
    QVector<ArchiveSource> sources;
    for (const QFileInfo &file : files) {
        if (!sameName(file.fileName(), databaseName)) {
            sources.append({ file.fileName(), file.absoluteFilePath() });
            continue;
        }
        // In one step: the whole file under one read lock, a moment the other desks do not
        // notice. In steps, every write of another connection would start the copy again,
        // and a busy desk would keep a backup from ever ending; only a test asks for steps.
        report(QString(), kCopyStart);
        std::function<void()> betweenSteps;
        if (m_betweenSteps)
            betweenSteps = [this] {
                m_betweenSteps();
                report(QString(), kCopyStart);
            };
        const QString cause
            = copyDatabaseFile(file.absoluteFilePath(), copy.fileName(), betweenSteps);
        if (!cause.isEmpty())
            return fail(cause);
        leaveOutSearchIndex(copy.fileName());
        sources.append({ file.fileName(), copy.fileName() });
    }
    return writeInPlace(sources, archivePath);
}

bool BackupWriter::backupServer(
    QSqlDatabase &server, const QString &databaseName, const QString &archivePath)
{
    if (!begin(archivePath))
        return false;
    if (!server.isOpen())
        return fail(QStringLiteral("veritabanı sunucusuna bağlanılamadı."));
    QTemporaryFile snapshot(
        QDir(QDir::tempPath()).filePath(scratchTemplate(databaseName, ScratchKind::Copy)));
    if (!snapshot.open())
        return fail(QStringLiteral("geçici dosya oluşturulamadı: %1.").arg(snapshot.errorString()));
    snapshot.close();
    const TableCopy copy = copyIntoNewFile(server, snapshot.fileName(), [this](qlonglong done,
                                                                               qlonglong total) {
        if (m_betweenSteps)
            m_betweenSteps();
        return report(QString(), partValue(kCopyStart, kChecksumStart, quint64(done),
                                           quint64(total)));
    });
    if (copy.canceled)
        return stop();
    if (!copy.ok)
        return fail(QStringLiteral("sunucudaki verilerin kopyası alınamadı. ") + copy.errorText);
    return writeInPlace({ { databaseName, snapshot.fileName() } }, archivePath);
}

bool BackupWriter::writeInPlace(const QVector<ArchiveSource> &sources, const QString &archivePath)
{
    if (!report(QString(), kChecksumStart))
        return stop();
    const QFileInfo target(archivePath);
    const QDir folder = target.absoluteDir();
    // Written beside its final place, so that moving it there is one step on one disk. The
    // temporary file goes with every failure and every cancel.
    QTemporaryFile partial(
        folder.filePath(scratchTemplate(target.fileName(), ScratchKind::Partial)));
    if (!partial.open())
        return fail(QStringLiteral("\"%1\" klasörüne yazılamıyor: %2.")
                        .arg(shown(folder.absolutePath()), partial.errorString()));
    const bool written = writeArchive(partial, target.exists() ? archivePath : QString(), sources);
    const bool flushed = written && partial.flush();
    partial.close();
    if (!written)
        return false;
    if (!flushed || partial.error() != QFileDevice::NoError)
        return refused(QStringLiteral("yedek dosyası diske yazılamadı"), partial);
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

// A file of the archive unpacked into the data folder under a scratch name, and the file it
// is to replace.
struct DatabaseRestore::Unpacked {
    QString target;
    std::unique_ptr<QTemporaryFile> file;
};

namespace {

// Keeps every other connection and program away from a database file while a restore swaps
// it: an exclusive lock, waited for as long as a statement of the program waits. Taking it
// settles what a program killed in the middle of a write left beside the file. A missing
// file, or one that is no SQLite database, is not held.
class SwapHold {
public:
    explicit SwapHold(const QString &path)
    {
        if (!QFileInfo::exists(path))
            return;
        m_file = std::make_unique<SqliteFile>(path, SQLITE_OPEN_READWRITE);
        if (!m_file->isOpen())
            return;
        sqlite3_busy_timeout(m_file->handle(), Database::kBusyWaitMilliseconds);
        const int rc = lockAndSettleJournal(m_file->handle(), "BEGIN EXCLUSIVE");
        m_held = rc == SQLITE_OK;
        m_busy = (rc & 0xff) == SQLITE_BUSY || (rc & 0xff) == SQLITE_LOCKED;
    }
    ~SwapHold()
    {
        if (m_held)
            sqlite3_exec(m_file->handle(), "ROLLBACK", nullptr, nullptr, nullptr);
    }
    SwapHold(const SwapHold &) = delete;
    SwapHold &operator=(const SwapHold &) = delete;

    // Another connection reads or writes the file and did not let go in time.
    bool busy() const { return m_busy; }

private:
    std::unique_ptr<SqliteFile> m_file;
    bool m_held = false;
    bool m_busy = false;
};

} // namespace

DatabaseRestore::DatabaseRestore(const QString &dataFolder, const QString &databaseName)
    : m_dataFolder(dataFolder), m_databaseName(databaseName)
{
}

DatabaseRestore::~DatabaseRestore() = default;

bool DatabaseRestore::fail(const QString &text)
{
    m_unpacked.clear();
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

QString DatabaseRestore::preparedDatabasePath() const
{
    return m_unpacked.empty() ? QString() : m_unpacked.front().file->fileName();
}

QString DatabaseRestore::keptCopyPath() const
{
    return m_restored.isEmpty() ? QString() : m_restored.first().keptCopy;
}

bool DatabaseRestore::prepare(const QString &archivePath)
{
    m_canceled = false;
    m_error.clear();
    m_restored.clear();
    m_leftAside.clear();
    m_unpacked.clear();
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
    // The database files to put back, the program's own first.
    QVector<QuaZipFileInfo64> files;
    QSet<QString> names;
    for (const QuaZipFileInfo64 &entry : entries) {
        if (!isBareName(entry.name))
            return fail(QStringLiteral("\"%1\" arşivinde klasör ya da yol taşıyan bir kayıt var "
                                       "(\"%2\"); böyle bir arşivden geri yükleme yapılmaz.")
                            .arg(archive, entry.name));
        if (!isDatabaseFileName(entry.name)) {
            m_leftAside << entry.name;
            continue;
        }
        if (names.contains(entry.name.toLower()))
            return fail(QStringLiteral("\"%1\" arşivinde \"%2\" iki kez var; hangisinin geri "
                                       "yükleneceği belli değil.")
                            .arg(archive, entry.name));
        names.insert(entry.name.toLower());
        if (sameName(entry.name, m_databaseName))
            files.prepend(entry);
        else
            files.append(entry);
    }
    if (files.isEmpty() || !sameName(files.first().name, m_databaseName))
        return fail(QStringLiteral("\"%1\" arşivinde \"%2\" veritabanı dosyası yok; bu arşiv "
                                   "programın yedeği değil.")
                        .arg(archive, m_databaseName));

    if (!QDir().mkpath(m_dataFolder))
        return fail(QStringLiteral("veri klasörü \"%1\" oluşturulamadı.").arg(shown(m_dataFolder)));
    // What the archive says its files hold must fit on the disk, with room to spare, before
    // anything is written; no file is unpacked past what the archive says of it.
    quint64 total = 0;
    for (const QuaZipFileInfo64 &file : std::as_const(files))
        total += std::min(file.uncompressedSize, ~quint64(0) - total); // never past the top
    const quint64 needed = restoreSpaceNeeded(total);
    const qint64 available = QStorageInfo(m_dataFolder).bytesAvailable();
    if (available >= 0 && quint64(available) < needed)
        return fail(QStringLiteral("diskte yer yetmiyor: yedekteki dosyalar açılınca %1 "
                                   "tutuyor, veri klasörünün diskinde %2 boş yer var (en az %3 "
                                   "gerekli). Diskte yer açıp yeniden deneyin.")
                        .arg(sizeText(total), sizeText(quint64(available)), sizeText(needed)));
    if (!report(kUnpackLabel, kUnpackStart))
        return stop();
    quint64 done = 0;
    for (const QuaZipFileInfo64 &file : std::as_const(files))
        if (!unpack(zip, archive, file.name, file.uncompressedSize, file.crc, done, total))
            return false;

    if (!report(kCheckLabel, kCheckStart))
        return stop();
    bool stopped = false;
    // The bar moves as the pieces of the check are done.
    const auto checked = [&](int piecesDone, int pieces) {
        stopped = !report(QString(), partValue(kCheckStart, kSwapStart, piecesDone, pieces));
        return !stopped;
    };
    const QString cause = checkProgramDatabase(m_unpacked.front().file->fileName(), checked);
    if (stopped)
        return stop();
    if (!cause.isEmpty())
        return fail(QStringLiteral("\"%1\" arşivindeki \"%2\" kullanılamaz: %3")
                        .arg(archive, files.first().name, cause));
    return report(QString(), kSwapStart) || stop();
}

bool DatabaseRestore::unpack(QuaZip &zip, const QString &archive, const QString &entryName,
    quint64 size, quint32 crc, quint64 &done, quint64 total)
{
    Unpacked unpacked;
    unpacked.target
        = QDir(m_dataFolder)
              .filePath(sameName(entryName, m_databaseName) ? m_databaseName : entryName);
    unpacked.file = std::make_unique<QTemporaryFile>(
        QDir(m_dataFolder).filePath(scratchTemplate(entryName, ScratchKind::Unpacked)));
    if (!unpacked.file->open())
        return fail(QStringLiteral("veri klasörü \"%1\" içine yazılamıyor: %2.")
                        .arg(shown(m_dataFolder), unpacked.file->errorString()));
    QTemporaryFile &file = *unpacked.file;
    m_unpacked.push_back(std::move(unpacked));
    zip.setCurrentFile(entryName, QuaZip::csSensitive);
    bool opened = false;
    const DataPass pass = readEntry(
        zip, &file,
        [&](quint64 entryDone) {
            return report(QString(), partValue(kUnpackStart, kCheckStart, done + entryDone, total));
        },
        &opened, size);
    if (pass.stopped)
        return stop();
    if (!opened)
        return fail(QStringLiteral("\"%1\" arşivindeki \"%2\" açılamadı: arşiv bozuk.")
                        .arg(archive, entryName));
    if (pass.tooLarge)
        return fail(QStringLiteral("\"%1\" arşivindeki \"%2\" arşivde yazan boyutundan (%3) "
                                   "büyük çıkıyor; açılması durduruldu. Arşiv bozuk ya da "
                                   "zararlı.")
                        .arg(archive, entryName, sizeText(size)));
    if (pass.writeFailed || !file.flush()) {
        const QString folder = fullDiskFolder(file);
        return fail(folder.isEmpty()
                ? QStringLiteral("veri klasörüne yazılamadı: %1.").arg(deviceCause(file))
                : noRoomText(folder));
    }
    if (!pass.ok() || pass.size != size || pass.crc != crc)
        return fail(QStringLiteral("\"%1\" arşivindeki \"%2\" bozuk ya da eksik (boyutu ya da "
                                   "sağlama toplamı tutmuyor).")
                        .arg(archive, entryName));
    file.close();
    done += size;
    return true;
}

bool DatabaseRestore::report(const QString &label, int value)
{
    return reportProgress(m_progress, label, value);
}

bool DatabaseRestore::stop()
{
    m_canceled = true;
    return fail(QStringLiteral("geri yükleme iptal edildi."));
}

void DatabaseRestore::undo(const QVector<RestoredFile> &swapped)
{
    for (auto file = swapped.rbegin(); file != swapped.rend(); ++file) {
        const QString target = QDir(m_dataFolder).filePath(file->name);
        if (file->keptCopy.isEmpty())
            QFile::remove(target);
        else
            (void)moveInPlace(file->keptCopy, target);
    }
}

bool DatabaseRestore::replace(const QDateTime &now)
{
    m_restored.clear();
    if (m_unpacked.empty())
        return fail(QStringLiteral("geri yüklenecek veritabanı hazır değil."));
    if (m_progress) {
        m_progress->setCancelEnabled(false);
        m_progress->setLabel(kSwapLabel);
        m_progress->setValue(kSwapStart);
    }
    // No other program may use a file while it is swapped. A journal left by a program that
    // was killed is no such use: holding the file settles it.
    std::vector<std::unique_ptr<SwapHold>> holds;
    for (const Unpacked &unpacked : m_unpacked) {
        const QString wal = unpacked.target + QStringLiteral("-wal");
        if (QFileInfo::exists(wal))
            return fail(QStringLiteral("veritabanı şu anda başka bir program tarafından "
                                       "yazılıyor (\"%1\" dosyası var). Diğer programları "
                                       "kapatıp tekrar deneyin.")
                            .arg(shown(wal)));
        holds.push_back(std::make_unique<SwapHold>(unpacked.target));
        if (holds.back()->busy())
            return fail(QStringLiteral("\"%1\" şu anda başka bir program tarafından "
                                       "kullanılıyor. Diğer programları kapatıp tekrar deneyin.")
                            .arg(shown(unpacked.target)));
    }

    QVector<RestoredFile> swapped;
    for (Unpacked &unpacked : m_unpacked) {
        const QString &current = unpacked.target;
        QString kept;
        if (QFileInfo::exists(current)) {
            const QString name = keptCopyName(QFileInfo(current).fileName(), now);
            kept = QDir(m_dataFolder).filePath(name);
            for (int n = 2; QFileInfo::exists(kept); ++n)
                kept = QDir(m_dataFolder)
                           .filePath(QFileInfo(name).completeBaseName()
                               + QStringLiteral("_%1.onceki").arg(n));
            if (!keepUnderSecondName(current, kept)) {
                QFile::remove(kept);
                undo(swapped);
                return fail(QStringLiteral("mevcut \"%1\" dosyasının kopyası \"%2\" "
                                           "oluşturulamadı (disk dolu ya da yazma izni yok).")
                                .arg(QFileInfo(current).fileName(), shown(kept)));
            }
            unpacked.file->setPermissions(QFile::permissions(current));
        } else {
            unpacked.file->setPermissions(ordinaryPermissions());
        }
        const QString cause = moveInPlace(unpacked.file->fileName(), current);
        if (!cause.isEmpty()) {
            if (!kept.isEmpty())
                QFile::remove(kept);
            undo(swapped);
            return fail(
                QStringLiteral("yedekteki \"%1\" yerine konamadı: %2.").arg(shown(current), cause));
        }
        unpacked.file->setAutoRemove(false);
        swapped.append({ QFileInfo(current).fileName(), kept });
    }
    m_unpacked.clear();
    m_restored = swapped;
    if (m_progress)
        m_progress->setValue(kBackupProgressMaximum);
    return true;
}

} // namespace lumkar
