#pragma once
// Double bookings. An appointment lasts one planner slot from its day and time; two waiting
// appointments of the same user overlap when one begins before the other ends. A save asks
// before it writes an appointment that overlaps one stored for the same user, and the planner
// colours the cells of overlapping appointments.

#include <QDate>
#include <QSqlDatabase>
#include <QString>
#include <QTime>
#include <QVector>

namespace lumkar {

// The minute an appointment begins, counted over whole days (no time zone, no clock change),
// so that an appointment late in a day meets one early on the next.
qint64 appointmentMinute(const QDate &day, const QTime &time);

// True when appointments beginning at the two moments overlap, each lasting `slotMinutes`:
// they begin less than one slot apart. Two that only touch (one ends as the other begins) do
// not overlap.
bool appointmentsOverlap(const QDate &dayA, const QTime &timeA, const QDate &dayB,
                         const QTime &timeB, int slotMinutes);

// An appointment as the overlap rule sees it.
struct BookedAppointment {
    qlonglong rid = 0;
    QString owner;     // RKime: the user it is given to
    QString ownerName; // Rkimeadsoyad
    QString adi;
    QString soyadi;
    QDate day;
    QTime time;
};

// For each appointment of the list, whether it overlaps another one of the same owner.
QVector<bool> overlapMarks(const QVector<BookedAppointment> &appointments, int slotMinutes);

struct OverlapReading {
    QVector<BookedAppointment> others; // by day and time
    QString error; // the database's cause when the appointments could not be read
};

// The waiting appointments of `owner`, as stored now, that overlap one at `day` and `time`;
// the appointment `ownRid` itself (0 for a new one) is left out. One query over the days the
// slot reaches.
OverlapReading storedOverlaps(QSqlDatabase db, const QString &owner, const QDate &day,
                              const QTime &time, int slotMinutes, qlonglong ownRid);

// The question asked before an appointment that overlaps `others` is saved.
QString overlapQuestion(const QVector<BookedAppointment> &others);

} // namespace lumkar
