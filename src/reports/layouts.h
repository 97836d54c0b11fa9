#pragma once
// The printout layouts of the program's windows, each found by its window's unit name and its
// print component ("frReport1", ...); an unknown component gives an empty layout.
//
// Data links: the main window's layouts read "frDBDataSet1" (waiting list `randevuTable`),
// "frDBDataSet2" (held list `ffQuery1`) and "frDBDataSet3" (cancelled list `ffQuery4`); every
// other layout reads its window's one data set through "frDBDataSet1".
//
// Cells printing operations write: Memo19 (the user's full name, empty in every layout: the
// caller sets it), Memo1 (title), and per layout Memo5, Memo18, Memo45 (heading line), Memo30
// and Memo31 (section titles), Memo6, Memo9, Memo10, Memo14, Memo15 (totals), Memo17.

#include "reports/layout.h"

#include <QStringList>

namespace lumkar::reports::layouts {

inline QString waitingLink() { return QStringLiteral("frDBDataSet1"); }
inline QString heldLink() { return QStringLiteral("frDBDataSet2"); }
inline QString cancelledLink() { return QStringLiteral("frDBDataSet3"); }
inline QString singleLink() { return QStringLiteral("frDBDataSet1"); }
// The commission report's second list: the totals of each user.
inline QString userTotalsLink() { return QStringLiteral("frDBDataSet2"); }

Layout anamenu(const QString &component);    // main window day lists: frReport1..frReport8
Layout randevu(const QString &component);    // appointment list: frReport1..frReport4
Layout cari(const QString &component);       // person accounts: frReport1, frReport5
Layout gorusme(const QString &component);    // visits: frReport5
Layout kasa(const QString &component);       // cash ledger: frReport5
Layout kkart(const QString &component);      // credit-card ledger: frReport5
Layout sicilrapor(const QString &component); // person list: frReport1
Layout perozluk(const QString &component);   // a person's packages: frReport1
// Closing of a day: frReport1 the cash book (with the count), frReport2 the card book. The
// ledger layout with the user of each movement, and under the totals Memo20 (counted), Memo21
// (difference), Memo22 (the count by denomination) and Memo23 (the closing).
Layout gunsonu(const QString &component);
// Commissions, frReport1: the visits (frDBDataSet1) and the totals of each user
// (frDBDataSet2); the heading Memo5, the grand totals Memo6, Memo9, Memo10, Memo14 and how the
// commission is computed (Memo20).
Layout prim(const QString &component);

// Every layout as "unit.component" ("anamenu.frReport1"), and the layout of such a name.
QStringList names();
Layout byName(const QString &name);

} // namespace lumkar::reports::layouts
