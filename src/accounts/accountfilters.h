#pragma once
// The filters of the money windows as plain rules over a row, each with its exact SQL twin
// (the lists are read by pages through it), and the sums the windows show under their lists.

#include "data/dataset.h"
#include "data/moneytotals.h"

#include <QDate>
#include <QVariantList>

namespace lumkar {

// A day column between two days at 00:00, both inclusive: the last day counts only at 00:00;
// an empty value is outside.
bool withinDayRange(const Record &row, const QString &field, const QDate &first,
                    const QDate &last);

// The cash and card books: the days from `first` to `last` (both at 00:00, so a movement of
// the last day at 10:00 is outside), of one user code unless every user is shown.
struct LedgerFilter {
    QDate first;
    QDate last;
    bool allUsers = false;
    QString userCode;

    bool accepts(const Record &row) const;
    QString sqlCondition() const;
    QVariantList sqlValues() const;
};

// The person accounts: by person code, else by first name or surname, and then, replacing
// both, by the days from `first` to `last`. With nothing chosen every line is shown.
struct AccountFilter {
    bool byCode = false;
    bool byName = false;
    bool byDates = false;
    QString code;
    QString adi;
    QString soyadi;
    QDate first;
    QDate last;

    bool accepts(const Record &row) const;
    QString sqlCondition() const;
    QVariantList sqlValues() const;
};

// The sums of `borc` and `alacak` over the lines a filter shows (an empty value counts as
// zero), asked of the database: a period's and every line's from the day totals, one
// person's from the person's lines.
moneytotals::Sums ledgerSums(QSqlDatabase &db, const QString &book, const LedgerFilter &filter);
moneytotals::Sums accountSums(QSqlDatabase &db, const AccountFilter &filter);

} // namespace lumkar
