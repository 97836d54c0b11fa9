#pragma once
// The filters of the money windows as plain rules over a row, each with its SQL twin that
// narrows what is read (a superset of what the rule keeps), and the column sums the windows
// show under their lists.

#include "data/dataset.h"

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

// The sums of two amount columns over the rows a data set shows (an empty value counts as
// zero). The cursor is not moved.
struct ColumnSums {
    double first = 0;
    double second = 0;
};
ColumnSums sumShown(DataSet &dataSet, const QString &firstField, const QString &secondField);

} // namespace lumkar
