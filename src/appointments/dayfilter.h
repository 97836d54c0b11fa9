#pragma once
// Which appointments each list of the day view shows: the working day, the state, and the
// owner unless all users are shown. A row with an empty day or owner matches nothing.

#include "data/dataset.h"

#include <QDate>

namespace lumkar {

enum class DayList { Waiting, Held, Cancelled };

struct DayFilter {
    QDate day;
    bool allUsers = false;
    QString user;

    bool accepts(DayList list, const Record &row) const;
    // The same condition in SQL with its bound values, so that a list reads only its rows.
    QString sqlCondition(DayList list) const;
    QVariantList sqlValues() const;
};

// The query texts of the held and cancelled lists.
QString heldListQuery();
QString cancelledListQuery();

} // namespace lumkar
