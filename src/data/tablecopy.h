#pragma once
// Copies every table of the program from one database into another: a desk's file onto a
// server, a server into a file. The source is read in one consistent read (one state of the
// database, whatever other desks write meanwhile); the target is written in one transaction,
// its rows replaced by the source's or left as they were. The day totals of the money books
// are made anew from the movements copied, never copied themselves.

#include <QSqlDatabase>
#include <QSqlError>
#include <QString>
#include <QVector>
#include <functional>

namespace lumkar {

// The rows of one table, as counted or copied.
struct TableRows {
    QString table;
    qlonglong rows = 0;
};

qlonglong totalRows(const QVector<TableRows> &rows);
// "randevu: 200.000 satır", a line per table, in the order given (no blank lines between).
QString tableRowsText(const QVector<TableRows> &rows);

// How a copy ended.
struct TableCopy {
    bool ok = false;
    bool canceled = false;
    QSqlError error; // what a database refused, when it did
    QString errorText; // what the user is told of a failure (Turkish)
    QVector<TableRows> copied; // every table of the schema, when ok
};

// Told now and then how many rows of how many are copied; false breaks the copy off.
using CopyProgress = std::function<bool(qlonglong done, qlonglong total)>;

// The rows of every table of the schema (a table the database lacks counts none); false with
// `error` when the database refused.
bool countTableRows(QSqlDatabase &db, QVector<TableRows> &rows, QSqlError *error = nullptr);

// Replaces the rows of every table of `target` by those of `source`, keys and all; on a server
// the AutoNumber keys then go on after the highest key copied. `source` and `target` are two
// connections, and neither has a transaction under way.
TableCopy copyTables(QSqlDatabase &source, QSqlDatabase &target, const CopyProgress &progress = {});

// The same into a new database file at `path` (missing or empty), made as the program makes
// its file: the tables, the rows, then the indexes and the day totals.
TableCopy copyIntoNewFile(
    QSqlDatabase &source, const QString &path, const CopyProgress &progress = {});

// A database file opened on a connection of its own, closed when it goes.
class FileConnection {
public:
    FileConnection(const QString &path, bool readOnly);
    ~FileConnection();
    FileConnection(const FileConnection &) = delete;
    FileConnection &operator=(const FileConnection &) = delete;

    // False with the cause (Turkish) in errorText().
    bool open();
    QSqlDatabase &db() { return m_db; }
    QString errorText() const { return m_error; }

private:
    QString m_name;
    QString m_path;
    QSqlDatabase m_db;
    QString m_error;
};

} // namespace lumkar
