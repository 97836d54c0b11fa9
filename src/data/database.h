#pragma once
// The one connection to the program's database: the file AnaData/Tovaskel.mdb beside the
// program, or a database on a PostgreSQL server when the connection settings file says so
// (connectionsettings.h). The engine is chosen when the Database is made.

#include "data/connectionsettings.h"
#include "data/deskchanges.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QString>
#include <functional>
#include <memory>

class QObject;
struct sqlite3;

namespace lumkar {

// The password of the original file format. SQLite has no counterpart and the program does
// not pretend to encrypt; the constant is kept for the record only.
inline constexpr const char *kDatabasePassword = "m4tkweq9PRTXV7B";

// What went wrong underneath a read or a write, as the user is told about it.
enum class StorageFailure {
    Locked,   // another program holds the file: wait and try again
    Damaged,  // the file is not a sound database: restore a backup
    Disk,     // the disk refused (full, read-only, gone)
    Replaced, // the file was put aside under the open connection (a restore by another program)
    Unreachable, // the server cannot be reached (down, network, connection lost)
    Other,
};

StorageFailure classifyFailure(const QSqlError &error);
// One Turkish sentence saying what happened, with the engine's own words where they help.
QString failureText(const QSqlError &error);
// The error as the data layer keeps it: its text made Turkish, the engine's code kept.
QSqlError turkishError(const QSqlError &error);
// The SQLite handle behind a connection (null for another driver).
sqlite3 *sqliteHandle(const QSqlDatabase &db);

// Takes the write lock `lock` ("BEGIN IMMEDIATE" or "BEGIN EXCLUSIVE") on the connection's
// file and settles what a program that ended in the middle of a write left beside it: taking
// the lock reads the file, and SQLite rolls back a journal that holds such a write; a journal
// whose header was never completed (the program ended before it wrote into the database)
// SQLite ignores, and it would stay beside the file looking like a write in progress, so it is
// removed, as no other connection can be writing while the lock is held. Returns SQLite's
// code: SQLITE_OK with the lock held (the caller ends the transaction), SQLITE_BUSY or
// SQLITE_LOCKED when another connection holds the file.
int lockAndSettleJournal(sqlite3 *handle, const char *lock);

class Database {
public:
    // A connection named uniquely for this instance; nothing is opened yet.
    explicit Database(const QString &programFolder);
    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    static QString dataFolderName() { return QStringLiteral("AnaData"); }
    static QString fileName() { return QStringLiteral("Tovaskel.mdb"); }

    QString filePath() const;
    QString dataFolder() const;

    // The engine and the server chosen by the connection settings file when this was made.
    Engine engine() const { return m_settings.engine; }
    const ConnectionSettings &settings() const { return m_settings; }
    // A password in a settings file others can read, not used: what the user is told.
    QString settingsWarning() const { return m_settingsWarning; }

    // The embedded file exists (always true for a server, which is asked when opened).
    bool fileExists() const;

    // Opens the file, creating the folder and the database when the file does not exist, and
    // checks that every table and column is there. On failure returns false and errorText()
    // names the file and the cause in Turkish.
    bool open();
    void close();
    bool isOpen() const;
    QString errorText() const { return m_error; }

    QSqlDatabase &db() { return m_db; }

    // How long a statement waits for another program's lock before it gives up.
    static constexpr int kBusyWaitMilliseconds = 1500;

    // Failures of reads and writes reach the user through this, set by the session.
    using FailureHandler = std::function<void(const QString &text)>;
    void setFailureHandler(FailureHandler handler) { m_failureHandler = std::move(handler); }

    // Tells the user of a failed read or write. Within one action (until control returns to
    // the event loop) the user is told once, and after a lock no statement waits again.
    void reportFailure(const QSqlError &error);
    // Notes a failure without telling the user (the caller shows its own message).
    void noteFailure(const QSqlError &error);
    // While a Silence lives (and was made `on`), failures are noted but not told: an automatic
    // refresh tells the user of a lasting lock once, not at every tick.
    class Silence {
    public:
        Silence(Database &database, bool on) : m_database(on ? &database : nullptr)
        {
            if (m_database)
                ++m_database->m_silent;
        }
        ~Silence()
        {
            if (m_database)
                --m_database->m_silent;
        }
        Silence(const Silence &) = delete;
        Silence &operator=(const Silence &) = delete;

    private:
        Database *m_database;
    };

    // The database of a connection, if it is one of this program's.
    static Database *of(const QSqlDatabase &db);

    // Tells when another desk on the same server has written (never on the embedded file).
    OtherDesks &otherDesks() { return m_otherDesks; }

    // How many other connections use the same server database (the other desks): 0 for the
    // embedded file; -1 with `error` when the server could not be asked.
    int otherConnections(QSqlError *error = nullptr);

    // A damaged file is read no further than needed and never written again until reopened.
    bool isDamaged() const { return m_damaged; }

private:
    bool openFile();
    bool openServer();
    // What every connection to the server is set to, at the first opening and at a reconnect.
    void configureServerSession();
    bool verify();
    bool verifyServer(bool &empty);
    void settleLeftoverJournal();
    void endActionLater();

    QString m_programFolder;
    QString m_settingsWarning; // before m_settings: reading the settings fills it
    ConnectionSettings m_settings;
    QString m_connectionName;
    QSqlDatabase m_db;
    QString m_error;
    FailureHandler m_failureHandler;
    OtherDesks m_otherDesks;
    std::unique_ptr<QObject> m_actionContext; // receives the end of the current action
    bool m_reportedInAction = false;
    bool m_busyInAction = false;
    bool m_damaged = false;
    bool m_reconnect = false; // the server was lost: the next action connects again
    int m_silent = 0;
};

} // namespace lumkar
