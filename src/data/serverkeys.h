#pragma once
// The keys of a long list read from the database server through libpq itself, in its binary
// form: a year of a book is a million keys, which the generic query layer would turn into a
// million texts and then into numbers.

#include <QSqlDatabase>
#include <QSqlError>
#include <QString>
#include <QVariantList>
#include <QVector>

namespace lumkar::serverkeys {

enum class Outcome { Read, Failed, NotServer };

// Runs `sql` (its values bound to its ? marks in order) and appends the whole-number first
// column of every row to `keys`. NotServer when `db` is not a server connection that is free
// for a statement of its own (the caller reads another way); Failed with `error` set as the
// query layer would set it.
Outcome read(const QSqlDatabase &db, const QString &sql, const QVariantList &values,
             QVector<qint64> &keys, QSqlError &error);

} // namespace lumkar::serverkeys
