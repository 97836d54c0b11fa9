#pragma once
// The few places where the SQL of the embedded file and of the server differ, owned here once:
// the row id of a table without a key of its own, and the key of a row just inserted.

#include "data/connectionsettings.h"

#include <QSqlQuery>
#include <QString>

namespace lumkar::dialect {

// The row id of a table without an AutoNumber key, as a column of a select ("rowid" in the
// file, the tuple id as text on the server).
QString rowIdColumn(Engine engine);
// The condition that finds a row by that id, with one bound value.
QString rowIdMatch(Engine engine);

// What an INSERT ends with so that the new AutoNumber key can be read (nothing in the file).
QString returningKey(Engine engine, const QString &key);
// The key of the row the query has just inserted; -1 when there is none.
qlonglong insertedKey(QSqlQuery &query, Engine engine);
// What an INSERT or UPDATE of a table without a key ends with, and the row id it gives: the
// server's tuple id changes with every write of the row.
QString returningRowId(Engine engine);
QVariant writtenRowId(QSqlQuery &query, Engine engine, bool inserted);

// The statement that takes the write lock on `table` at the start of a transaction, so that
// what a read there decides (the next free code) cannot be overtaken by another desk before
// the write. Other desks still read meanwhile.
QString lockForWriting(Engine engine, const QString &table, const QString &key);

// The statement that begins a transaction of writes, empty where the driver's own begin does.
// The file's takes its write lock at once, waiting for another desk's to end: a transaction
// that read first and wrote later would find the lock taken and fail at once, as SQLite gives
// up rather than wait for a desk that waits for it.
QString beginWriting(Engine engine);

// The condition that a column holds the bound value, NULL matching NULL.
QString sameValue(Engine engine, const QString &column);

// A date-time column read as the text the file stores ("2024-03-05 14:30:00"), so that a
// copy carries it exactly, whatever the time zone of the desk.
QString storedDateTime(Engine engine, const QString &column);
// What a transaction that only reads runs first so that every read sees one state of the
// database (nothing in the file: its read lock holds one state from the first read on).
QString consistentReadStatement(Engine engine);
// Empties a table within a transaction.
QString emptyTable(Engine engine, const QString &table);
// What makes the next AutoNumber key of a table follow the highest key it holds, after rows
// were written with their keys (nothing in the file, whose keys follow by themselves).
QString continueKeys(Engine engine, const QString &table, const QString &key);

// An amount rounded to cents in SQL, written so that both engines read it alike (the server
// rounds only exact numbers) and give it back as a double.
QString roundedToCents(const QString &expression);

} // namespace lumkar::dialect
