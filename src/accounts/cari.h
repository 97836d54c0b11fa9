#pragma once
// The person accounts: charges, payments and collections of each person.

#include "app/formbase.h"

#include <QWidget>

class QLineEdit;

namespace lumkar {

class TcariF : public QWidget, public FormContext {
    Q_OBJECT
public:
    TcariF(Forms &forms, Session &session);

    // Opened from the main window: the ledger opened and its totals computed.
    void openAccounts();
    // The totals of the person shown in the person boxes.
    void ToplamAl();

    // The person boxes: code, first name, surname.
    QLineEdit *kisinoedit;
    QLineEdit *AdiEdit;
    QLineEdit *SoyadiEdit;
};

} // namespace lumkar
