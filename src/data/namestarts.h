#pragma once
// The persons counted by the beginnings of their names. For every beginning of one to
// kLongest bytes of a first name's or a surname's sort key (textorder.h) the table
// `siciltablo_baslar` keeps how many first names begin so (`adi`), how many surnames (`soyadi`)
// and how many persons whose first name and surname both do (`ikisi`); triggers keep it on
// every insert, change and deletion of a person. A name that many persons begin with is then
// counted in one row, not along the name indexes.

#include "data/connectionsettings.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVariantList>

namespace lumkar::namestarts {

constexpr int kLongest = 3;

QString table();

// The statements that create the table and its triggers (on the server, a function and one
// trigger) and fill it from the persons already there; and those that take it all away.
QStringList createStatements(Engine engine);
QStringList dropStatements(Engine engine);

// An SQL expression of the number of persons whose first name or surname has a sort key that
// begins with `start` (its value appended to `values`); empty when `start` is longer than the
// beginnings kept.
QString personsBeginningWith(const QByteArray &start, QVariantList &values);

} // namespace lumkar::namestarts
