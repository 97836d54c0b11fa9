#pragma once
// Person codes: whole numbers written in decimal, given once and never again.

#include "data/connectionsettings.h"

#include <QSqlDatabase>
#include <QStringList>
#include <QString>

namespace lumkar {

// The most characters a person code has: the width of the register's code column, which the
// code boxes of the windows hold in full.
int personCodeWidth();

// The code for a new person: one more than the largest whole-number code found in the
// register, the appointments, the visits and the person accounts, so that the code of a
// deleted person (and the rows that still carry it) is never handed to somebody else; "1"
// when there is none. Codes that are not whole numbers are skipped. Empty, with `error` set
// to the Turkish message for the user, when the database cannot be read or the next code would
// not fit the code column.
QString nextPersonCode(const QSqlDatabase &db, QString *error = nullptr);

// The indexes that give that code at once: each table's whole-number codes by their value.
QStringList personCodeIndexes(Engine engine);
QStringList personCodeIndexNames();

// The code a new person is stored with, looked at within the caller's transaction under the
// register's write lock, which it takes: `given` (the code the form gave when it opened) while
// no other desk has stored a person with it since, else the next free code, with `taken` set.
// Empty, with `error` set, when the next code cannot be had. When the lock cannot be taken
// `given` is returned: the save meets the same refusal and tells it.
QString codeForNewPerson(const QSqlDatabase &db, const QString &given, bool &taken,
                         QString *error = nullptr);

} // namespace lumkar
