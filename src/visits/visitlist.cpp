#include "visits/visitlist.h"

#include "accounts/accountfilters.h"
#include "app/userrights.h"
#include "data/values.h"

#include <QColor>

namespace lumkar {

bool VisitListFilter::accepts(const Record &row) const
{
    if (!withinDayRange(row, QStringLiteral("tarih"), first, last))
        return false;
    return allUsers
        || (!row.isNull(QStringLiteral("gorusenadsoyad"))
            && row.text(QStringLiteral("gorusenadsoyad")) == userName);
}

QString VisitListFilter::sqlCondition() const
{
    // Read by pages: the period is counted on the date index and a page's numbers are found
    // there before its rows are read.
    return allUsers ? QStringLiteral("tarih >= ? AND tarih <= ?")
                    : QStringLiteral("tarih >= ? AND tarih <= ? AND gorusenadsoyad = ?");
}

QVariantList VisitListFilter::sqlValues() const
{
    QVariantList out{values::dayKey(first), values::dayKey(last)};
    if (!allUsers)
        out << userName;
    return out;
}

bool mayChangeVisit(const CurrentUser &user, const QString &heldBy)
{
    return heldBy == user.adSoyad || UserRights::of(user).changesOthersVisits;
}

QString visitListQuery()
{
    return QStringLiteral("SELECT *, COALESCE(islem_borcu, 0) - COALESCE(tahsiledilen, 0) AS bakiye "
                          "FROM gorusmeler ORDER BY mid");
}

QColor visitRowColour(int row)
{
    // Record numbers count from 1: the even ones are blue.
    return row % 2 == 1 ? QColor(223, 235, 255) : QColor(255, 255, 255);
}

} // namespace lumkar
