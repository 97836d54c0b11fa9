#pragma once
// Which appointments the appointment list shows, and the heading its printouts carry: a date
// range, waiting or held appointments or both, never cancelled ones, and one user's or
// everyone's. The planner reads its month through the same list.

#include "data/dataset.h"

#include <QDate>

namespace lumkar {

enum class ListMode { Waiting, Held, WaitingAndHeld };

// The mode of the two boxes: "Bekleyen ve Görüşülen ..." wins over "Sadece Görüşme ...";
// with neither ticked, waiting appointments only.
ListMode listModeOf(bool waitingAndHeld, bool heldOnly);

// A visit code as a whole number: empty reads as 0. Above 0 means held.
int visitCodeOf(const QVariant &gorusmekodu);

struct AppointmentListFilter {
    QDate from;
    QDate to;
    ListMode mode = ListMode::Waiting;
    bool oneUser = true; // only the appointments given to `user`
    QString user; // RKime

    bool accepts(const Record &row) const;
    // The same condition in SQL with its bound values, so that the list reads only its rows.
    QString sqlCondition() const;
    QVariantList sqlValues() const;
};

// The printouts' heading line: "KISITLAMA: 01.10.2009-31.10.2009 Tarihleri Arası ..." naming
// the user whose appointments are listed, or all users.
QString listHeading(const AppointmentListFilter &filter, const QString &userFullName);

} // namespace lumkar
