#pragma once
// A booking made straight from a planner cell: the package chosen in the catalogue, then the
// person in the person list, then the amount asked, and the appointment saved through the
// entry form's methods as a new appointment, never through its boxes.

#include "appointments/plannerslots.h"
#include "visits/packagechoice.h"

#include <functional>
#include <optional>

namespace lumkar {

class Dialogs;
struct Forms;

class DirectBooking {
public:
    // The entry form and the package catalogue are those of `forms` when the booking runs.
    DirectBooking(Forms &forms, Dialogs &dialogs);

    // The package chosen so far; cleared at the start of every booking.
    ChosenPackage picked;

    // Asks for the package and then for the person for the entry form; `personChosen` runs
    // once the person is in the form.
    void choosePackageAndPerson(std::function<void()> personChosen);

    // Where and for whom the appointment is booked.
    struct Slot {
        QString date;     // "07.10.2009"
        QString time;     // "09:30"
        QString userCode; // RKime
        QString userName; // Rkimeadsoyad
    };
    // Asks for the amount (the package's price offered; cancel keeps it), fills the entry form
    // and saves a new appointment. What was booked, for the planner's cell; nothing when the
    // save was refused (the user was told).
    std::optional<CellAppointment> book(const Slot &slot);

private:
    Forms &m_forms;
    Dialogs &m_dialogs;
};

} // namespace lumkar
