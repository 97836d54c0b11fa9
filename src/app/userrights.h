#pragma once
// What the logged-in user may do, read once from the user's rights flags ("E" yes, "H" no).

#include "app/session.h"

namespace lumkar {

struct UserRights {
    bool mayAdd = false;          // `ekle`: book appointments (any flag but "H")
    bool seesEveryone = false;    // `herksesigor`: other users' records shown
    bool changesEveryone = false; // `herkesidegistir`: other users' records changed
    bool booksForOthers = false;  // `baskasirandevuver`: appointments given to other users

    static UserRights of(const CurrentUser &user)
    {
        const auto yes = [](const QString &flag) { return flag == QLatin1String("E"); };
        UserRights rights;
        rights.mayAdd = user.ekle != QLatin1String("H");
        rights.seesEveryone = yes(user.herksesigor);
        rights.changesEveryone = yes(user.herkesidegistir);
        rights.booksForOthers = yes(user.baskasirandevuver);
        return rights;
    }
};

} // namespace lumkar
