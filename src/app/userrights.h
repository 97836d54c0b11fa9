#pragma once
// What the logged-in user may do, read once from the user's rights flags ("E" yes, "H" no,
// anything else as each right's own rule says), and what every window fits itself to after a
// login.

#include "app/session.h"
#include "kit/controls.h"

#include <QStringList>

namespace lumkar {

struct UserRights {
    bool mayAdd = false;              // `ekle`: anything but "H" may book and record
    bool seesEveryone = false;        // `herksesigor` "E": the all-users boxes are shown
    bool showsGeneralNotes = false;   // `herkesidegistir` "E": "Genel Not Gir" is offered
    bool changesOthersVisits = false; // `herkesidegistir` anything but "H"
    // `herkesidegistir` "E": may change the lines of a closed day (after a question).
    bool changesClosedDays = false;
    // The main window's appointment-owner pickers (`baskasirandevuver`).
    PickerReach bookingPickers = PickerReach::AsBefore;
    // The user pickers of the list windows: appointment list, planner, visits, ledgers
    // (`herksesigor`).
    PickerReach listPickers = PickerReach::AsBefore;

    static UserRights of(const CurrentUser &user)
    {
        const auto reach = [](const QString &flag) {
            if (flag == QLatin1String("E"))
                return PickerReach::Everyone;
            return flag == QLatin1String("H") ? PickerReach::OnlySelf : PickerReach::AsBefore;
        };
        UserRights rights;
        rights.mayAdd = user.ekle != QLatin1String("H");
        rights.seesEveryone = user.herksesigor == QLatin1String("E");
        rights.showsGeneralNotes = user.herkesidegistir == QLatin1String("E");
        rights.changesOthersVisits = user.herkesidegistir != QLatin1String("H");
        rights.changesClosedDays = user.herkesidegistir == QLatin1String("E");
        rights.bookingPickers = reach(user.baskasirandevuver);
        rights.listPickers = reach(user.herksesigor);
        return rights;
    }
};

// The user who has just logged in, as every window fits itself to it.
struct LoggedInUser {
    CurrentUser user;
    UserRights rights;
    PickerUsers users; // every user of the program, for the user pickers
};

} // namespace lumkar
