#pragma once
// A person of the register found by code: the one lookup every window uses (the appointment
// entry, the collections of the person accounts).

#include "persons/personchoice.h"

#include <QSqlDatabase>

namespace lumkar {

struct RegisteredPerson {
    bool ok = true; // false when the register could not be read (error tells why)
    bool found = false;
    ChosenPerson person; // the first person with the code, in register order
    QString error;
};
RegisteredPerson findPerson(QSqlDatabase db, const QString &code);

} // namespace lumkar
