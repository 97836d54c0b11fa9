#pragma once
// Day totals of the two money books, of the person accounts, of the visits and of the
// appointments. Beside `kasa`, `kredikart`, `cari`, `gorusmeler` and `randevu` the database
// keeps, per day and user, the sums of the debit and credit columns (`borc` and `alacak`; a
// visit's `islem_borcu` and `tahsiledilen`; none for an appointment, which is kept by whether
// it was cancelled and whether it was held) and the number of rows (`satir`)
// (tables `<table>_gunluk`, kept by triggers on every insert, change and deletion of a row).
// The persons (`siciltablo`) are counted alone, in sixteen parts by key (`siciltablo_sayi`),
// and by the beginnings of their names (namestarts.h).
// The balance brought forward to a period, the sums of a period and its number of rows are
// then sums over days, not over every row, so opening a period costs the same in a young
// book and in one of many years.

#include "data/connectionsettings.h"

#include <QDate>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

namespace lumkar::moneytotals {

// The two money books, "kasa" and "kredikart".
const QStringList &books();
// The tables kept with day totals: the two books, the person accounts ("cari"), the visits
// ("gorusmeler") and the appointments ("randevu"), whose day totals give the sums and the
// number of the rows of a period, or of every row, without reading the rows; and the persons
// ("siciltablo"), whose count gives the number of every person.
const QStringList &totalledTables();

// The name of the day-totals table of a money book ("kasa" -> "kasa_gunluk").
QString totalsTable(const QString &book);

// The statements that create a book's day-totals table, its index and its triggers (on the
// server, a function and one trigger) and fill the table from the movements already there.
QStringList createStatements(const QString &book, Engine engine);
// The statements that take all of that away again (nothing is missed when some is not there):
// a copy of many movements drops the day totals first and makes them anew from the rows
// copied, instead of keeping them row by row.
QStringList dropStatements(const QString &book, Engine engine);

// Creates the day totals of both books when the database has none yet and fills them from
// the movements already there; makes sure each book has its index on the visit number.
// False with *error (Turkish) when the database refused.
bool ensure(QSqlDatabase &db, QString *error);

struct Sums {
    bool ok = true;
    QString error;
    double borc = 0;
    double alacak = 0;
};

// The sums of `borc` and `alacak` of the table's rows that meet `condition` (with `values`
// bound in order), an SQL condition over `tarih` and `gorusen_kodu` alone.
Sums within(QSqlDatabase &db, const QString &table, const QString &condition,
            const QVariantList &values);
// The number of the table's rows (that meet `condition`, one the totals answer, with `values`
// bound in order), from its day totals; -1 when they cannot be read.
qint64 rowCount(QSqlDatabase &db, const QString &table, const QString &condition = QString(),
                const QVariantList &values = {});
// Whether an SQL condition on `table` speaks only of the day ("tarih") and the user, which the
// table's day totals keep, so that they answer it.
bool answers(const QString &table, const QString &condition);
// The statement that reads, of the rows of the totalled `table` that meet `condition` (one the
// totals answer), their number, and when there are more than `longerThan` their lowest and
// highest `key` (else empty): the number from the day totals, the keys from each day's first
// and last key on the date index. Its values are the condition's, bound `*repeats` times over.
QString spanSelect(const QString &table, const QString &key, const QString &condition,
                   qint64 longerThan, int *repeats);
// The same sums read from the rows themselves, for a condition over other columns that an
// index of the table narrows to a few rows (one person's lines).
Sums ofRows(QSqlDatabase &db, const QString &table, const QString &condition,
            const QVariantList &values);
// The sums of `borc` and `alacak` of the book's movements dated before `firstDay`, of every
// user, or of the one user code.
Sums before(QSqlDatabase &db, const QString &book, const QDate &firstDay, bool allUsers,
            const QString &userCode = QString());
// The same sums of the movements dated on `day` (any time of that day).
Sums on(QSqlDatabase &db, const QString &book, const QDate &day, bool allUsers,
        const QString &userCode = QString());

} // namespace lumkar::moneytotals
