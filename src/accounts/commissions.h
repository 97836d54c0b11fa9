#pragma once
// The commission report: per user and period, the visits held, what was charged and what was
// collected at each, and the commission at the rate the visit's package carries (`paketprim`,
// a percentage of the amount charged, copied from the catalogue's "Prim Oranı"), with the
// totals of each user. A visit belongs to the user who held it (`RKime`).

#include "data/dataset.h"

#include <QDate>
#include <QVariantList>

namespace lumkar {

// The visits dated from `first` to `last` (whole days), of one user code unless every user's
// visits are shown.
struct CommissionFilter {
    QDate first;
    QDate last;
    bool allUsers = false;
    QString userCode;

    // The values of the queries' "?" marks, in order (DataSet::openBound).
    QVariantList values() const;
};

// One row per visit: its date, time, user, person, package, rate `paketprim`, `islem_borcu`
// (charged), `tahsiledilen` (collected at the visit) and `prim`, the commission rounded to the
// kuruş; a user's visits together, by date and time. Empty amounts read as zero.
QString commissionLinesQuery(const CommissionFilter &filter);
// One row per user (`RKime`, `gorusenadsoyad`): `gorusmesayisi` (visits), and the sums of
// `islem_borcu`, `tahsiledilen` and `prim` over the same visits.
QString commissionTotalsQuery(const CommissionFilter &filter);

// The totals over every user a data set of commissionTotalsQuery() shows.
struct CommissionTotals {
    int visits = 0;
    double charged = 0;
    double collected = 0;
    double commission = 0;
};
CommissionTotals sumCommissionTotals(DataSet &totals);

// What the report and the window say about how the commission is computed.
QString commissionBasisText();

} // namespace lumkar
