#pragma once
// Backups of the data folder into zip archives, and restores from them, without windows.
// A backup counts only once its archive is written and read back; a restore touches nothing
// until the archive has proved to hold a sound database of this program.

#include "backup/backuprules.h"
#include "backup/blockdeflate.h"

#include <QDateTime>
#include <QString>
#include <QVector>
#include <functional>
#include <memory>
#include <vector>

class QIODevice;
class QSqlDatabase;
class QuaZip;

namespace lumkar {

class Progress;

// The maximum of the progress displays a backup and a restore report to.
inline constexpr int kBackupProgressMaximum = 1000;

// A consistent copy of an SQLite database file, taken while other connections (this
// program's own, a second instance) may be writing: the copy holds the last committed state.
// The file's bytes are copied under one read lock (writers wait for a moment); a file kept
// with a write-ahead log goes through SQLite's online backup. `betweenSteps`, when given, makes
// the copy go page by page and runs after each step (tests write through another connection
// there). Returns an empty text, or the cause.
QString copyDatabaseFile(
    const QString &source, const QString &target, const std::function<void()> &betweenSteps = {});

// Whether a file is a sound database of this program: it opens as SQLite, passes SQLite's
// integrity check and holds every table and column of the schema. Empty text, or the cause.
// `keepGoing`, when given, is asked now and then during the check with how many of its pieces
// are done; false breaks it off (the text then says so).
QString checkProgramDatabase(const QString &path,
                             const std::function<bool(int done, int total)> &keepGoing = {});

// One file to put into an archive: its entry name and the file on disk that holds the data.
struct ArchiveSource {
    QString entryName;
    QString filePath;
};

// What an entry of a written archive must hold.
struct ArchiveEntryCheck {
    QString name;
    quint64 size = 0;
    quint32 crc = 0;
    // For an entry packed in blocks: the file that was packed and the marks of its blocks, so
    // that the read-back can check the blocks side by side.
    QString plainPath;
    QVector<BlockMark> blocks;
};

class BackupWriter {
public:
    // Puts every "*.mdb" file of the data folder into the archive, each under its bare name;
    // the database `databaseName` is copied through SQLite's online backup first, the others
    // as they are on disk. An existing archive is extended: its entries keep their place
    // unless a new entry has their name. The archive is written beside its final place,
    // read back and checked, and only then put in place; on any failure the archive as it
    // was stays untouched and errorText() names the cause.
    bool backupDataFolder(
        const QString &dataFolder, const QString &databaseName, const QString &archivePath);

    // The same archive for a database on a server: a snapshot of every table, read in one
    // consistent read, written as the program's database file `databaseName` (its tables,
    // indexes and day totals) and archived under that name.
    bool backupServer(
        QSqlDatabase &server, const QString &databaseName, const QString &archivePath);

    // The writing step alone: the entries of `existingArchive` (when given) not replaced,
    // then the sources, into `device`. The entries written and their checksums are kept for
    // verify().
    bool writeArchive(
        QIODevice &device, const QString &existingArchive, const QVector<ArchiveSource> &sources);
    // Reads the archive back: every entry written is there, its size and checksum match and
    // its data reads back whole.
    bool verify(const QString &archivePath);

    QVector<ArchiveEntryCheck> written() const { return m_written; }
    QString errorText() const { return m_error; }
    // Runs between the steps of the database copy (see copyDatabaseFile), and between the
    // statements of a server's snapshot.
    void setBetweenCopySteps(std::function<void()> hook) { m_betweenSteps = std::move(hook); }

    // Reports the copy, the packing and the read-back to `progress` (maximum
    // kBackupProgressMaximum) and stops when it is cancelled: then the backup fails with
    // canceled() true and no file of it remains.
    void setProgress(Progress *progress) { m_progress = progress; }
    bool canceled() const { return m_canceled; }

private:
    // Checks the archive's folder and place and starts the progress display.
    bool begin(const QString &archivePath);
    // Writes the archive beside its place, reads it back and puts it in place.
    bool writeInPlace(const QVector<ArchiveSource> &sources, const QString &archivePath);
    bool fail(const QString &text);
    bool stop();
    // Fails with what could not be written (`what`) and why `device` refused it.
    bool refused(const QString &what, QIODevice &device);
    bool report(const QString &label, int value);
    bool writeEntry(QuaZip &zip, const ArchiveSource &source, quint64 &done, quint64 total);

    QVector<ArchiveEntryCheck> m_written;
    QString m_error;
    std::function<void()> m_betweenSteps;
    Progress *m_progress = nullptr;
    bool m_canceled = false;
};

// A restore in two steps: prepare() checks the archive and unpacks every database file it
// holds (its "*.mdb" entries) beside the current ones; nothing else changes and a refused
// archive leaves no trace. replace() keeps each current file under a name with the date and
// time and puts the unpacked ones in their places, all of them or none. The program's
// connection must be closed around replace().
class DatabaseRestore {
public:
    DatabaseRestore(const QString &dataFolder, const QString &databaseName);
    ~DatabaseRestore();

    bool prepare(const QString &archivePath);
    bool replace(const QDateTime &now);
    // The program's database as prepare() unpacked and checked it (empty before), there until
    // replace() or the end of this object: what a restore onto a server reads.
    QString preparedDatabasePath() const;

    // Reports the unpacking and the check to `progress` (maximum kBackupProgressMaximum); a
    // cancel during prepare() makes it fail with canceled() true, leaving nothing unpacked.
    // replace() cannot be cancelled: it switches the cancel button off.
    void setProgress(Progress *progress) { m_progress = progress; }
    bool canceled() const { return m_canceled; }

    // The copy of the program's database as it was before the restore (empty when none).
    QString keptCopyPath() const;
    // Every file put back by replace(), the program's database first, with its kept copy.
    QVector<RestoredFile> restored() const { return m_restored; }
    // The entries of the archive that are no database files: prepare() leaves them in it.
    QStringList leftAside() const { return m_leftAside; }
    QString errorText() const { return m_error; }

    // The name of the kept copy: "Tovaskel_2024_03_05_14_30_00.onceki". It does not end in
    // ".mdb", so later backups do not carry it.
    static QString keptCopyName(const QString &databaseName, const QDateTime &now);
    // An entry name that is a bare file name: no folder, no drive, no "." or "..".
    static bool isBareName(const QString &entryName);

private:
    struct Unpacked;

    bool fail(const QString &text);
    bool stop();
    bool report(const QString &label, int value);
    bool unpack(QuaZip &zip, const QString &archive, const QString &entryName, quint64 size,
        quint32 crc, quint64 &done, quint64 total);
    void undo(const QVector<RestoredFile> &swapped);

    QString m_dataFolder;
    QString m_databaseName;
    std::vector<Unpacked> m_unpacked; // the program's database first
    QVector<RestoredFile> m_restored;
    QStringList m_leftAside;
    QString m_error;
    Progress *m_progress = nullptr;
    bool m_canceled = false;
};

} // namespace lumkar
