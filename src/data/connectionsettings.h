#pragma once
// Which database the program works on, as the connection settings file "Baglanti.ini" in the
// program folder says: without the file (or with "motor=sqlite") the embedded file
// AnaData/Tovaskel.mdb; with "motor=postgresql" a database on a PostgreSQL server, named by
// host, port, database and user. The password is never kept where others can read it: it is
// taken from PostgreSQL's own password file (~/.pgpass, or the file PGPASSFILE names), or from
// the settings file only when that file is readable by its owner alone.

#include <QString>

namespace lumkar {

enum class Engine { Sqlite, Postgres };

struct ConnectionSettings {
    Engine engine = Engine::Sqlite;
    QString host;
    int port = 0; // 0: PostgreSQL's own (PGPORT, else 5432)
    QString database;
    QString user;
    QString password; // empty: PostgreSQL's password file (or none) is used

    static QString fileName() { return QStringLiteral("Baglanti.ini"); }

    // Reads the settings file of a program folder. A password in a file others can read is
    // not used, and `warning` says so (empty otherwise).
    static ConnectionSettings read(const QString &programFolder, QString *warning = nullptr);
    // Writes the settings; a password is written only into a file made readable by its owner
    // alone. False, with `error` in Turkish, when the file could not be written.
    bool write(const QString &programFolder, QString *error = nullptr) const;

    // "sunucu:5432/veritabani (kullanici)", for messages.
    QString serverText() const;

    // Whether a password kept for `other` may go to this server: the same host, port and user.
    bool sameServerAndUser(const ConnectionSettings &other) const;

    bool operator==(const ConnectionSettings &) const = default;
};

// The password settings keep after the user edited them (`edited` carries no password of its
// own): none unless it is to be kept in the settings file; then the one typed, or else the one
// stored, but only while the server and user are those it was stored for, so that a stored
// password, never shown, is never sent to another server either.
QString keptPassword(const ConnectionSettings &stored, const ConnectionSettings &edited,
                     const QString &typed, bool keep);

// Whether a file may hold a password: readable and writable by its owner alone.
bool ownerOnly(const QString &path);

} // namespace lumkar
