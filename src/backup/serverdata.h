#pragma once
// A desk's data onto the database server, and an archive restored onto the server. Both
// check what they read as a restore of the file does (an archive is unpacked into the
// system's temporary folder, its database must be a sound database of this program), and
// both replace the server's rows in one transaction: all of them, or none.

#include "data/tablecopy.h"

#include <QDateTime>
#include <QString>
#include <memory>

namespace lumkar {

class Database;
class DatabaseRestore;
class Dialogs;
class Progress;

// The desk's data to be copied: a database file of the program (Tovaskel.mdb) or a backup
// archive holding one.
class DeskData {
public:
    DeskData();
    ~DeskData();
    DeskData(const DeskData &) = delete;
    DeskData &operator=(const DeskData &) = delete;

    // Checks the file (unpacking an archive first), reporting to `progress` when given
    // (maximum kBackupProgressMaximum). False with errorText(), or with canceled().
    bool prepare(const QString &path, Progress *progress);
    // The checked database file, until this object goes.
    QString databasePath() const { return m_databasePath; }
    // The entries of an archive that are no database files.
    QStringList leftAside() const;
    QString errorText() const { return m_error; }
    bool canceled() const { return m_canceled; }

private:
    std::unique_ptr<DatabaseRestore> m_restore;
    QString m_databasePath;
    QString m_error;
    bool m_canceled = false;
};

// Replaces every row of the server by the rows of the checked desk data.
TableCopy copyDeskData(const DeskData &desk, Database &server, const CopyProgress &progress = {});

// The rows a copy onto the server would replace: every row of every table, or none when the
// server holds only what its first start wrote (the master row and the first user without a
// password). -1 when the server could not be asked (`error`).
qlonglong rowsToReplace(QSqlDatabase &server, QSqlError *error = nullptr);

// What is asked before they are replaced.
QString replaceRowsQuestion(qlonglong rows);

// "Masaüstü Verisini Sunucuya Taşı": asks for the desk's database file or backup archive
// (the picker starts in `startFolder`), checks it, asks before replacing rows the server
// holds, copies every table in one transaction and tells the rows copied per table. True
// when the server now holds the desk's data, and the windows are to read it again.
bool moveDeskDataToServer(Database &server, Dialogs &dialogs, const QString &startFolder);

// Restores the archive onto the server, after "Yedekten Geri Yükle" was answered and the
// archive chosen: the archive is checked; while other desks are connected to the database
// it is refused; else a safety archive of the server's rows is written into `backupFolder`
// (made when missing) and the archive's rows replace the server's in one transaction. Tells
// the user how it ended; true when the rows were replaced.
bool restoreOntoServer(Database &server, Dialogs &dialogs, const QString &archive,
    const QString &backupFolder, const QDateTime &now);

} // namespace lumkar
