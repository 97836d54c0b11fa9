#pragma once
// Closing a day of the cash or card book ("Günü Kapat") and what a closed day forbids.
//
// A closing records the day's balance brought forward, receipts, payments and amount on hand
// of one user (or of every user), and for the cash book the counted amount and the difference
// (table `gunsonu`). From then on no write may add, change or delete a line of that book dated
// on the closed day or before it for that user: so the amount on hand of the closed day and
// the balance brought forward to every later period stay what they were when the day was
// closed. Every writer of the books (visits, collections, outflows, deletions) asks
// passClosedDays() inside its transaction before it writes; a user with the right to change
// closed days may accept the one closed day it names, after a question.

#include "data/tablewriter.h"
#include "data/transaction.h"
#include "kit/dialogs.h"

#include <QDate>
#include <QDateTime>
#include <QSqlDatabase>
#include <QVector>
#include <optional>

namespace lumkar {

inline QString cashBook()
{
    return QStringLiteral("kasa");
}
inline QString cardBook()
{
    return QStringLiteral("kredikart");
}

// A line of the cash or card book as a write would leave it or remove it.
struct BookLine {
    QString book; // cashBook() or cardBook()
    QString userCode; // `gorusen_kodu`
    QDate day;
};

// The lines of `book` whose `column` equals `value`, as stored; false with *error when the
// read failed.
bool readBookLines(QSqlDatabase db, const QString &book, const QString &column,
    const QVariant &value, QVector<BookLine> &lines, QString *error);

// The latest closed day that holds any of the lines: a closing of the line's book dated on the
// line's day or later, made for the line's user or for every user. Invalid when none does.
struct ClosedDayCheck {
    bool ok = true;
    QString error;
    QDate day;
};
ClosedDayCheck closedDayOf(QSqlDatabase db, const QVector<BookLine> &lines);

QString closedDayRefusal(const QDate &day);
QString closedDayQuestion(const QDate &day);

// Whether a writer may touch the lines: none is in a closed day, or the closed day that holds
// them is the one the user accepted (`accepted`, invalid when none). Otherwise `closedDay`
// names the day (empty when the read failed) and `error` tells why.
struct ClosedDayGate {
    bool passed = false;
    QDate closedDay;
    QString error;
};
ClosedDayGate passClosedDays(
    QSqlDatabase db, const QVector<BookLine> &lines, const QDate &accepted);

// Runs a write of the books in one transaction. `linesOf(lines, result)` gives the lines the
// write touches, or stops it with `result` filled; they must pass the closed days (refused
// unless the closed day that holds them is `accepted`); then `write(writer)` writes, false on
// failure. `Result` carries ok, refused, error and closedDay.
template<typename Result, typename Lines, typename Write>
Result guardedBookWrite(QSqlDatabase db, const QDate &accepted, Lines linesOf, Write write)
{
    Result result;
    Transaction transaction(db);
    if (!transaction.isActive()) {
        result.error = transaction.errorText();
        return result;
    }
    QVector<BookLine> touched;
    if (!linesOf(touched, result))
        return result;
    const ClosedDayGate gate = passClosedDays(db, touched, accepted);
    if (!gate.passed) {
        result.error = gate.error;
        result.refused = gate.closedDay.isValid();
        result.closedDay = gate.closedDay;
        return result;
    }
    TableWriter writer(db);
    if (!write(writer)) {
        result.error = writer.errorText();
        return result;
    }
    if (!transaction.commit()) {
        result.error = transaction.errorText();
        return result;
    }
    result.ok = true;
    return result;
}

// Runs `write(accepted)`, whose result carries `closedDay`. When a closed day stopped it and
// the user may change closed days, asks the question naming that day and, on Yes, runs it
// again accepting it. Empty when the user answered No: nothing was written.
template<typename Write>
auto writeAcrossClosedDays(Write write, bool mayChangeClosedDays, Dialogs &dialogs)
    -> std::optional<decltype(write(QDate()))>
{
    auto result = write(QDate());
    if (!result.closedDay.isValid() || !mayChangeClosedDays)
        return result;
    if (dialogs.question(programTitle(), closedDayQuestion(result.closedDay), Buttons::YesNo)
        != Answer::Yes)
        return std::nullopt;
    return write(result.closedDay);
}

// Tells why a write did not happen: a refusal (a closed day) as a notice, a failure as an
// error.
inline void tellNotWritten(Dialogs &dialogs, bool refused, const QString &text)
{
    if (refused)
        dialogs.information(programTitle(), text);
    else
        dialogs.error(programTitle(), text);
}

// --- the count of the cash drawer --------------------------------------------------------

// Turkish lira banknotes and coins, largest first: 200, 100, 50, 20, 10, 5 and 1 TL, 50, 25,
// 10 and 5 kuruş.
struct Denomination {
    int kurus;
    QString name; // "200 TL", "50 kr"
};
const QVector<Denomination> &denominations();

// The counted amount of `counts` (pieces of each denomination, in the order above), to the
// kuruş; negative counts count as none.
double countedAmount(const QVector<int> &counts);
// The count as one line: "200 TL x 3, 5 kr x 2" (denominations with no piece left out).
QString countText(const QVector<int> &counts);

// Counted minus the book's amount on hand, to the kuruş: above zero more money than the book
// says, below zero less.
double countDifference(double counted, double onHand);
// "Kasa fazlası", "Kasa açığı" or "Fark yok".
QString differenceName(double difference);

// --- the figures of a day and its closing -----------------------------------------------

// A day of a book as the ledgers compute it: the balance brought forward (every movement
// before the day), the day's receipts and payments, and the amount on hand after the day.
struct DayFigures {
    bool ok = true;
    QString error;
    double carried = 0;
    double receipts = 0;
    double payments = 0;
    double onHand = 0;
};
DayFigures readDayFigures(
    QSqlDatabase db, const QString &book, const QDate &day, bool allUsers, const QString &userCode);

// The movements of a book dated on the day (any time of it), of one user code unless every
// user's: the condition a list reads them with, and its values.
QString dayLinesCondition(bool allUsers);
QVariantList dayLinesValues(const QDate &day, bool allUsers, const QString &userCode);

struct DayCloseEntry {
    QString book;
    QDate day;
    bool allUsers = false;
    QString userCode; // empty when every user's day is closed
    QString userName;
    DayFigures figures; // as the user saw them
    bool counted = false; // the cash book is counted; the card book is not
    double countedAmount = 0;
    QString countText; // the count by denomination; empty when typed as one sum
    QString closedBy; // code of the user who closes
    QString closedByName;
    QDateTime when;
};

// Why the day may not be closed, or empty: a day after `today`.
QString dayCloseRefusal(const DayCloseEntry &entry, const QDate &today);
RowValues dayCloseRow(const DayCloseEntry &entry);

struct DayCloseResult {
    bool ok = false;
    bool refused = false; // the book changed since the figures were read
    QString error;
    qlonglong number = 0;
};
// Writes the closing row. The day's figures are read again in the same transaction: when
// they differ from what the user saw, nothing is written.
DayCloseResult writeDayClose(QSqlDatabase db, const DayCloseEntry &entry);

// The last closing of the day for the user choice, if any: for one user, a closing of that
// user or of every user.
struct DayClosing {
    bool ok = true;
    QString error;
    bool found = false;
    QDateTime when;
    QString byName; // who closed it
    QString forName; // whose day: a user's name or "TÜM KULLANICILAR"
    double onHand = 0;
    QVariant counted; // null for the card book
    QVariant difference;
};
DayClosing lastClosing(
    QSqlDatabase db, const QString &book, const QDate &day, bool allUsers, const QString &userCode);
// What the window says about it: not closed, or when, by whom, and the difference.
QString closingStatus(const DayClosing &closing);

} // namespace lumkar
