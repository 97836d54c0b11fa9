#pragma once
// The cash ledger and the credit-card ledger: one window class, two books.

#include "app/formbase.h"
#include "kit/controls.h"

#include <QWidget>

namespace lumkar {

struct LedgerBook {
    QString objectName;      // "kasaF" or "kkartF"
    QString caption;
    QString table;           // "kasa" or "kredikart"
    QString userLabel;       // label of the name picker
    QString allUsersCaption; // caption of the all-users box
};

class LedgerWindow : public QWidget, public FormContext, public UserFilterMembers {
    Q_OBJECT
public:
    LedgerWindow(const LedgerBook &book, Forms &forms, Session &session);

    const LedgerBook &book() const { return m_book; }

    // Opened from the main window: carry-over and totals computed when not yet open.
    void openBook();


private:
    LedgerBook m_book;
};

class TkasaF : public LedgerWindow {
    Q_OBJECT
public:
    TkasaF(Forms &forms, Session &session);
};

class TkkartF : public LedgerWindow {
    Q_OBJECT
public:
    TkkartF(Forms &forms, Session &session);
};

} // namespace lumkar
