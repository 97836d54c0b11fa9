#pragma once
// The writes the cash and card windows make themselves: an outflow, and the deletion of a
// movement. Each runs in one transaction and is refused in a closed day (dayclose.h).

#include "data/tablewriter.h"

#include <QDate>
#include <QSqlDatabase>

namespace lumkar {

// A result of a write of the books.
struct BookWriteResult {
    bool ok = false;
    bool refused = false; // the data forbade it (error tells why); nothing failed
    QString error;
    QDate closedDay; // the closed day that forbade it, when one did
};

struct OutflowEntry {
    QString book; // "kasa" or "kredikart"
    QDate day;
    double amount = 0;
    QString aciklama;
    QString userCode;
    QString userName;
};
RowValues outflowRow(const OutflowEntry &entry);
BookWriteResult writeOutflow(
    QSqlDatabase db, const OutflowEntry &entry, const QDate &acceptedClosedDay = QDate());

// Deletes the movement `kid` of `book` while it is as `asRead` holds it (the list's row);
// refused when it no longer exists or another desk changed it since.
BookWriteResult removeMovement(QSqlDatabase db, const QString &book, const QVariant &kid,
    const RowValues &asRead, const QDate &acceptedClosedDay = QDate());

} // namespace lumkar
