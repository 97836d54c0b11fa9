#pragma once
// The tables of the database: every column in its declared order and type. The data layer
// creates the file from this description and converts values by the declared types.

#include "data/connectionsettings.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QString>
#include <QVector>

namespace lumkar {

enum class FieldType { AutoNumber, Text, Long, Short, Double, DateTime, Memo };

struct ColumnDef {
    QString name;
    FieldType type;
    int size = 0; // characters, for Text
};

struct TableDef {
    QString name;
    QVector<ColumnDef> columns;
    QString key; // the AutoNumber column, empty when the table has none
    // A table later versions brought: a file made before it has none, and gets it when it is
    // opened (addLaterTables).
    bool addedLater = false;

    const ColumnDef *column(const QString &columnName) const;
};

namespace schema {

const QVector<TableDef> &tables();
const TableDef *table(const QString &name);

// The declared type of a column found by name in any table (for query results); the columns
// the lists compute (the balance `bakiye`, the commission `prim`, the count of visits
// `gorusmesayisi`) have their own.
FieldType typeOfColumn(const QString &table, const QString &column);

// The engine behind a connection.
Engine engineOf(const QSqlDatabase &db);

// The SQL that creates every table and index, in order: the tables, then their indexes
// (a copy of many rows fills the tables before it makes the indexes).
QStringList createStatements(Engine engine = Engine::Sqlite);
QStringList createTableStatements(Engine engine);
QStringList createIndexStatements();

// Whether the database holds a table of that name; false with `error` set when it could not
// be asked.
bool hasTable(QSqlDatabase &db, const QString &name, QSqlError *error = nullptr);

// Brings a file made by an earlier version up to date: the indexes added since. Writes only
// when something is missing.
QStringList upgradeStatements(Engine engine = Engine::Sqlite);
// The texts a person search looks inside: the first name and surname lower-cased, and the
// phone fields joined as they are stored (of the row `row` names, as "NEW.", in a trigger).
QString personNamesText(const QString &row = QString());
QString personPhonesText(const QString &row = QString());
// The phones text with its blanks and signs put as letters, as the server's index keeps it,
// and a searched text put the same way: a text inside the phones is inside their key.
QString personPhonesKey();
QString personPhonesKeyOf(QString phones);
// The phone fields of a person, in the order the search joins them.
const QStringList &personPhoneFields();
// Trigram indexes of those texts, so that a search finds a text inside them without reading
// every person: on the server where it offers the pg_trgm extension to this user, in the file
// an index kept by triggers. Made once; without them the search finds the same persons, only
// slower.
void addSearchIndexes(QSqlDatabase &db);
// The persons among whom a search for `names` in the names text and `phones` in the phones
// text (either may be empty) finds its hits, read on the file's index, with its values; empty
// where that index does not serve (on the server, whose index serves the search itself, for a
// text of fewer than three characters, without the index) or where more than a thousand
// persons hold the text.
QString personSearchCandidates(const QSqlDatabase &db, const QString &names,
                               const QString &phones, QVariantList &values);
// The statements that take the file's search index away (it is made again from the persons at
// the next opening).
QStringList fileSearchIndexDropStatements();
QSqlError upgrade(QSqlDatabase &db);

// Creates the tables marked `addedLater` that the file does not hold yet, with their
// indexes, in one transaction. Writes only when something is missing.
QSqlError addLaterTables(QSqlDatabase &db);

// Brings what the engine knows of its tables' contents up to date after many rows were written
// at once. The server plans every read from these statistics, and its own upkeep gathers them
// only a while after a large load: until then a search by name may read the whole table. The
// file plans its reads without them, and nothing is done there.
QSqlError refreshStatistics(QSqlDatabase &db);

// Quotes a column name for SQL ("not" is a keyword).
QString quoted(const QString &column);

// Creates the tables, the indexes, the master row and the default user in an empty database.
QSqlError create(QSqlDatabase &db);

// What `gorusmekodu` holds for an appointment marked held without a visit record, and
// `iptalkodu` for a cancelled one.
inline int appointmentMarker() { return 999999; }

// The default user, created with the database: no password, every right "E".
inline QString defaultUser() { return QStringLiteral("lumkar"); }

} // namespace schema
} // namespace lumkar
