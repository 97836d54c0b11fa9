#pragma once
// The program's text rules as SQL functions, so that a long list is ordered, filtered and
// searched by the database, on an index, exactly as the program orders and compares texts:
//   lumkar_sirala(text): a byte string whose byte order is the Turkish text order of
//     textorder.h (NULL first, then the empty text), for ORDER BY and ranges on an index;
//   lumkar_kucuk(text): the text lower-cased and trimmed as KucukHarfTr does ('' for NULL).
// The file's connections get them from the program itself; the server keeps them as SQL
// functions made with its tables.

#include "data/connectionsettings.h"

#include <QString>
#include <QStringList>
#include <QVariantList>

namespace lumkar {

// Makes both functions known to every SQLite connection this program opens from now on
// (including those of Qt's driver). Safe to call more than once.
void installTextFunctions();

namespace textsql {

// The order expression of a text column, and the same of a bound value.
QString sortKey(const QString &column);
// The column lower-cased and trimmed.
QString lowered(const QString &column);
// The condition that `text` holds a text anywhere, and the value to bind for `needle` (not
// empty): on the server a LIKE pattern, which a trigram index of `text` serves.
QString contains(Engine engine, const QString &text);
QString containsValue(Engine engine, const QString &needle);
// The statements that make the functions on the server (each replaces one made before).
QStringList serverFunctions();
// A statement that counts the functions the server holds as this program makes them (an older
// version of one is not counted), with its values; and how many there are.
QString currentFunctionsCount(QVariantList &values);
int functionCount();

} // namespace textsql

} // namespace lumkar
