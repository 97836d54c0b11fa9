#pragma once
// The one connection to the database file AnaData/Tovaskel.mdb beside the program.

#include <QSqlDatabase>
#include <QString>

namespace lumkar {

// The password of the original file format. SQLite has no counterpart and the program does
// not pretend to encrypt; the constant is kept for the record only.
inline constexpr const char *kDatabasePassword = "m4tkweq9PRTXV7B";

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

    // Opens the file, creating the folder and the database when the file does not exist, and
    // checks that every table and column is there. On failure returns false and errorText()
    // names the file and the cause in Turkish.
    bool open();
    void close();
    bool isOpen() const;
    QString errorText() const { return m_error; }

    QSqlDatabase &db() { return m_db; }

private:
    bool verify();

    QString m_programFolder;
    QString m_connectionName;
    QSqlDatabase m_db;
    QString m_error;
};

} // namespace lumkar
