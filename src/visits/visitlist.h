#pragma once
// The visit list's filter as a plain rule over a row, with its SQL twin: the visits of the
// days from `first` to `last` (both inclusive), held by one user (by full name) unless every
// user's visits are shown.

#include "app/session.h"
#include "data/dataset.h"

#include <QDate>
#include <QVariantList>

namespace lumkar {

struct VisitListFilter {
    QDate first;
    QDate last;
    bool allUsers = false;
    QString userName; // `gorusenadsoyad`

    bool accepts(const Record &row) const;
    QString sqlCondition() const;
    QVariantList sqlValues() const;
};

// Whether `user` may change or delete a visit held by `heldBy` (its `gorusenadsoyad`): a
// visit of one's own, or any visit with the right to change everyone's (anything but "H").
bool mayChangeVisit(const CurrentUser &user, const QString &heldBy);

// The visits with the balance of each (`bakiye` = price − collected), in number order.
QString visitListQuery();

// The background of a row of the visit list: every second row light blue, the others white.
QColor visitRowColour(int row);

} // namespace lumkar
