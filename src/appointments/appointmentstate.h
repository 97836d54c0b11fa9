#pragma once
// What ends an appointment's waiting life without a visit, and its deletion, written by the
// appointment's number as it was taken when the user began the action: marking it held,
// cancelling it, deleting it. Each writes only when the appointment is still in the state the
// user saw, so that a list read again meanwhile, or another program on the same database,
// never makes the action land on another appointment or undo what was done elsewhere.

#include "data/tablewriter.h"

#include <QSqlDatabase>
#include <QString>

namespace lumkar {

enum class StateChange {
    Done,
    NotWaiting, // held, cancelled or deleted meanwhile; nothing was written
    HasVisit,   // deletion refused: a visit is recorded for it
    Gone,       // deleted meanwhile
    Changed,    // changed elsewhere since it was read: nothing deleted; message() tells what
    Failed,     // the database refused; message() tells why
};

struct StateResult {
    StateChange change = StateChange::Failed;
    QString error; // the database's cause, for Failed; what is stored now, for Changed
    // What the user is told; empty for Done.
    QString message() const;
};

// "Randevu Gerçekleşti": held without a visit record (visit number 999999), by `user`.
StateResult markAppointmentHeld(QSqlDatabase db, qlonglong rid, const QString &user);
// Cancelled by `user` with the reason typed.
StateResult cancelWaitingAppointment(QSqlDatabase db, qlonglong rid, const QString &user,
                                     const QString &reason);
// Deletes an appointment that has no visit, only while it is as `asRead` holds it (the
// list's row when the user chose it).
StateResult deleteAppointment(QSqlDatabase db, qlonglong rid, const RowValues &asRead);

} // namespace lumkar
