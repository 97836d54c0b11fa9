#pragma once
// What the program asks of a database server before it works on it, in one place: how a
// connection to it is made, why it could not be made (in the user's words), whether the
// database is this program's (or empty), and, for the connection settings window, a trial of
// settings on a connection of its own that leaves the program's connection as it is.

#include "data/connectionsettings.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QString>

namespace lumkar {

// Sets host, port, database, user, password and the connection options of a QPSQL
// connection from the settings.
void prepareServerConnection(QSqlDatabase &db, const ConnectionSettings &settings);

// Why a connection to the server, or a statement on it, failed: unreachable, wrong user or
// password, no such database, no right to create or read tables.
QString serverOpenText(const QSqlError &error, const ConnectionSettings &settings);

// Reads which tables and columns the connection's schema holds. Empty text when the
// database is this program's (`empty` tells whether it holds no table at all); otherwise why
// it is not (another program's, a column missing, unreadable). Never alters anything.
QString checkServerTables(QSqlDatabase &db, const ConnectionSettings &settings, bool &empty);

struct ConnectionTrial {
    bool ok = false;
    QString text; // what the user is told, success or failure
};

// Tries the settings on a connection of its own, closed and removed afterwards: connects,
// checks the tables, and on an empty database makes a table in a transaction that is rolled
// back, so that a missing right to create tables shows now and not at the first start.
ConnectionTrial tryConnection(const ConnectionSettings &settings, const QString &programFolder);

} // namespace lumkar
