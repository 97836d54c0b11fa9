#include "appointments/appointmentlist.h"

#include "data/formats.h"
#include "data/values.h"

namespace lumkar {

ListMode listModeOf(bool waitingAndHeld, bool heldOnly)
{
    if (waitingAndHeld)
        return ListMode::WaitingAndHeld;
    return heldOnly ? ListMode::Held : ListMode::Waiting;
}

int visitCodeOf(const QVariant &gorusmekodu)
{
    return gorusmekodu.isNull() ? 0 : gorusmekodu.toInt();
}

bool AppointmentListFilter::accepts(const Record &row) const
{
    if (!row.isNull(QStringLiteral("iptalkodu")))
        return false;
    const int visit = visitCodeOf(row.value(QStringLiteral("gorusmekodu")));
    if ((mode == ListMode::Held && visit <= 0) || (mode == ListMode::Waiting && visit >= 1))
        return false;
    if (oneUser && row.text(QStringLiteral("RKime")) != user)
        return false;
    // From the first day at 00:00 to the last day at 00:00, compared by day and time of day.
    const QVariant stored = row.value(QStringLiteral("randevutarihi"));
    if (stored.isNull())
        return false;
    const QDateTime moment = stored.toDateTime();
    const QDate day = moment.date();
    return day >= from && day <= to && (day < to || moment.time() == QTime(0, 0));
}

QString AppointmentListFilter::sqlCondition() const
{
    QString condition
        = QStringLiteral("randevutarihi >= ? AND randevutarihi <= ? AND iptalkodu IS NULL");
    switch (mode) {
    case ListMode::Waiting:
        condition += QStringLiteral(" AND (gorusmekodu IS NULL OR gorusmekodu < 1)");
        break;
    case ListMode::Held:
        condition += QStringLiteral(" AND gorusmekodu > 0");
        break;
    case ListMode::WaitingAndHeld:
        break;
    }
    if (oneUser)
        condition += QStringLiteral(" AND RKime = ?");
    return condition;
}

QVariantList AppointmentListFilter::sqlValues() const
{
    QVariantList out { values::dayKey(from), values::dayKey(to) };
    if (oneUser)
        out << user;
    return out;
}

QString listHeading(const AppointmentListFilter &filter, const QString &userFullName)
{
    QString out = QStringLiteral("KISITLAMA: ") + formats::date(filter.from) + QLatin1Char('-')
        + formats::date(filter.to) + QStringLiteral(" Tarihleri Arası ");
    out += filter.oneUser ? userFullName + QStringLiteral(" Kullanıcısına Ait ")
                          : QStringLiteral("Tüm Kullanıcılara Ait ");
    switch (filter.mode) {
    case ListMode::Waiting:
        return out + QStringLiteral("Sadece Bekleyen Randevular. ");
    case ListMode::Held:
        return out + QStringLiteral("Sadece Görüşme Yapılan Randevular. ");
    case ListMode::WaitingAndHeld:
        return out + QStringLiteral("Sadece Görüşme Yapılan - Bekleyen Tüm Randevular. ");
    }
    return out;
}

} // namespace lumkar
