#pragma once
// The person accounts: charges, payments and collections of each person.

#include "shell/formbase.h"

#include <QWidget>

namespace lumkar {

class TcariF : public QWidget, public FormContext {
    Q_OBJECT
public:
    TcariF(Forms &forms, Session &session);

    // Opened from the main window: the ledger opened and its totals computed.
    void openAccounts();
};

} // namespace lumkar
