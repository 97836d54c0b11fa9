#pragma once
// The appointment a save of the entry form writes, free of widgets: the boxes' texts in,
// the columns of the `randevu` row out.

#include "appointments/entryappointment.h"

#include <QDateTime>
#include <QPair>
#include <QString>
#include <QVariant>
#include <QVector>
#include <optional>

namespace lumkar {

// The day of a completed date box (day, month, year at characters 1-2, 4-5, 7-10); nothing
// when that day does not exist (31.02.2025).
std::optional<QDate> bookingDay(const QString &text);
// The time of a completed time box (hour and minute at characters 1-2 and 4-5, seconds 0).
std::optional<QTime> bookingTime(const QString &text);

// The columns a save writes and their values; or, when a box cannot be stored, the message
// that says which.
struct BookingRow {
    QVector<QPair<QString, QVariant>> fields;
    QString message; // empty when the row can be written
};

// The number of the appointment (`rid`) is not among the columns. `takenBy` is the full name
// of the user who saves; `change` leaves an empty premium rate out (a change keeps the stored
// one) where a new appointment stores it empty.
BookingRow bookingRow(const EntryAppointment &entry, const QString &takenBy, const QDateTime &now,
                      bool change);

} // namespace lumkar
