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

// The columns a save writes and their values; or, when a box cannot be stored, the message
// that says which.
struct BookingRow {
    QVector<QPair<QString, QVariant>> fields;
    QString message; // empty when the row can be written
};

// What the save refuses before it writes: a name shorter than two letters, no date, no time
// (the boxes as the completion rules left them). Empty when the boxes may be saved.
QString bookingRefusal(const EntryAppointment &entry);

// The number of the appointment (`rid`) is not among the columns. `takenBy` is the full name
// of the user who saves; `change` leaves an empty premium rate out (a change keeps the stored
// one) where a new appointment stores it empty.
BookingRow bookingRow(const EntryAppointment &entry, const QString &takenBy, const QDateTime &now,
                      bool change);

} // namespace lumkar
