#include "appointments/doublebooking.h"

#include "data/values.h"

#include <QSqlError>
#include <QSqlQuery>
#include <algorithm>
#include <numeric>

namespace lumkar {

namespace {

constexpr qint64 kDayMinutes = 24 * 60;

// The day holding minute `minute` of the running count.
QDate dayOfMinute(qint64 minute)
{
    return QDate::fromJulianDay(minute / kDayMinutes);
}

} // namespace

qint64 appointmentMinute(const QDate &day, const QTime &time)
{
    return day.toJulianDay() * kDayMinutes + time.hour() * 60 + time.minute();
}

bool appointmentsOverlap(const QDate &dayA, const QTime &timeA, const QDate &dayB,
                         const QTime &timeB, int slotMinutes)
{
    if (!dayA.isValid() || !timeA.isValid() || !dayB.isValid() || !timeB.isValid())
        return false;
    const qint64 apart = appointmentMinute(dayA, timeA) - appointmentMinute(dayB, timeB);
    return std::abs(apart) < slotMinutes;
}

QVector<bool> overlapMarks(const QVector<BookedAppointment> &appointments, int slotMinutes)
{
    QVector<bool> marks(appointments.size(), false);
    // By owner, then by the minute each begins: all appointments last as long, so one that
    // overlaps any later appointment of its owner overlaps the next one.
    QVector<int> order(appointments.size());
    std::iota(order.begin(), order.end(), 0);
    const auto minute = [&](int i) {
        return appointmentMinute(appointments[i].day, appointments[i].time);
    };
    std::sort(order.begin(), order.end(), [&](int a, int b) {
        if (appointments[a].owner != appointments[b].owner)
            return appointments[a].owner < appointments[b].owner;
        return minute(a) < minute(b);
    });
    for (int k = 1; k < order.size(); ++k) {
        const BookedAppointment &before = appointments[order[k - 1]];
        const BookedAppointment &after = appointments[order[k]];
        if (before.owner == after.owner
            && appointmentsOverlap(before.day, before.time, after.day, after.time, slotMinutes))
            marks[order[k - 1]] = marks[order[k]] = true;
    }
    return marks;
}

OverlapReading storedOverlaps(QSqlDatabase db, const QString &owner, const QDate &day,
                              const QTime &time, int slotMinutes, qlonglong ownRid)
{
    OverlapReading reading;
    if (!day.isValid() || !time.isValid() || slotMinutes <= 0)
        return reading;
    const qint64 start = appointmentMinute(day, time);
    QSqlQuery q(db);
    q.setForwardOnly(true);
    q.prepare(QStringLiteral(
        "SELECT rid, RKime, Rkimeadsoyad, adi, soyadi, randevutarihi, randevusaati FROM randevu "
        "WHERE randevutarihi >= ? AND randevutarihi <= ? AND RKime = ? AND rid <> ? "
        "AND gorusmekodu IS NULL AND iptalkodu IS NULL "
        "ORDER BY randevutarihi, randevusaati, rid"));
    q.addBindValue(values::dayKey(dayOfMinute(start - slotMinutes + 1)));
    q.addBindValue(values::dayKey(dayOfMinute(start + slotMinutes - 1)));
    q.addBindValue(owner);
    q.addBindValue(ownRid);
    if (!q.exec()) {
        reading.error = q.lastError().text();
        return reading;
    }
    while (q.next()) {
        const auto stored = [&q](int column) {
            return values::fromDatabase(q.value(column), FieldType::DateTime).toDateTime();
        };
        BookedAppointment other{q.value(0).toLongLong(), q.value(1).toString(),
                                q.value(2).toString(),   q.value(3).toString(),
                                q.value(4).toString(),   stored(5).date(),
                                stored(6).time()};
        if (appointmentsOverlap(day, time, other.day, other.time, slotMinutes))
            reading.others << other;
    }
    return reading;
}

QString overlapQuestion(const QVector<BookedAppointment> &others)
{
    if (others.isEmpty())
        return QString();
    const BookedAppointment &first = others.first();
    const QString user = first.ownerName.isEmpty() ? first.owner : first.ownerName;
    QString text = user
        + (others.size() == 1
               ? QStringLiteral(" kullanıcısının bu saatle çakışan bekleyen bir randevusu var:")
               : QStringLiteral(" kullanıcısının bu saatle çakışan bekleyen randevuları var:"));
    for (const BookedAppointment &other : others)
        text += QLatin1Char('\n') + other.day.toString(QStringLiteral("dd.MM.yyyy"))
            + QLatin1Char(' ') + other.time.toString(QStringLiteral("HH:mm")) + QLatin1Char(' ')
            + other.adi + QLatin1Char(' ') + other.soyadi;
    return text + QStringLiteral("\nRandevu yine de kaydedilsin mi?");
}

} // namespace lumkar
