#include "appointments/dayfilter.h"

#include "data/values.h"

namespace lumkar {

bool DayFilter::accepts(DayList list, const Record &row) const
{
    const QVariant stored = row.value(QStringLiteral("randevutarihi"));
    if (stored.isNull() || stored.toDateTime() != QDateTime(day, QTime(0, 0)))
        return false;
    if (!allUsers) {
        const QVariant owner = row.value(QStringLiteral("RKime"));
        if (owner.isNull() || owner.toString() != user)
            return false;
    }
    const bool visit = !row.isNull(QStringLiteral("gorusmekodu"));
    const bool cancelled = !row.isNull(QStringLiteral("iptalkodu"));
    switch (list) {
    case DayList::Waiting: return !visit && !cancelled;
    case DayList::Held: return visit;
    case DayList::Cancelled: return cancelled;
    }
    return false;
}

QString DayFilter::sqlCondition(DayList list) const
{
    QString condition = QStringLiteral("randevutarihi = ?");
    switch (list) {
    case DayList::Waiting:
        condition += QStringLiteral(" AND gorusmekodu IS NULL AND iptalkodu IS NULL");
        break;
    case DayList::Held: condition += QStringLiteral(" AND gorusmekodu IS NOT NULL"); break;
    case DayList::Cancelled: condition += QStringLiteral(" AND iptalkodu IS NOT NULL"); break;
    }
    if (!allUsers)
        condition += QStringLiteral(" AND RKime = ?");
    return condition;
}

QVariantList DayFilter::sqlValues() const
{
    QVariantList out{values::dayKey(day)};
    if (!allUsers)
        out << user;
    return out;
}

QString heldListQuery()
{
    return QStringLiteral(
               "select konu,gorusmekodu,randevusaati,randevutarihi,adi,soyadi,telefonu,ceptel,"
               "RKime,islem_tutari,")
        + QStringLiteral("gorustudiyenkodu,iptaldiyenkodu,Rkimeadsoyad,adresi,paketkodu,paketadi,"
                         "pakettutari from randevu order by randevusaati ASC");
}

QString cancelledListQuery()
{
    return QStringLiteral(
               "select adi,soyadi,randevusaati,randevutarihi,iptalnedeni,konu,iptalkodu,RKime,"
               "islem_tutari,")
        + QStringLiteral("gorustudiyenkodu,iptaldiyenkodu,Rkimeadsoyad,adresi,paketkodu,paketadi,"
                         "pakettutari from randevu order by ")
        + QStringLiteral("randevusaati ASC");
}

} // namespace lumkar
