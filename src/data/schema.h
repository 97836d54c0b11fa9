#pragma once
// The tables of the database: every column in its declared order and type. The data layer
// creates the file from this description and converts values by the declared types.

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
    // A table added after the first files were made: a file without it gets it when opened.
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

// The SQL that creates every table and index, in order.
QStringList createStatements();

// Brings a file made by an earlier version up to date: the indexes added since. Writes only
// when something is missing.
QStringList upgradeStatements();
QSqlError upgrade(QSqlDatabase &db);

// Creates in a file made by an earlier version the tables added since, with their indexes;
// writes nothing when they are there.
QSqlError addMissingTables(QSqlDatabase &db);

// Quotes a column name for SQL ("not" is a keyword).
QString quoted(const QString &column);

// Creates the tables, the indexes, the master row and the default user in an empty database.
QSqlError create(QSqlDatabase &db);

// The default user, created with the database: no password, every right "E".
inline QString defaultUser() { return QStringLiteral("lumkar"); }

} // namespace schema
} // namespace lumkar
