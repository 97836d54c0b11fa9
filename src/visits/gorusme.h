#pragma once
// The visits window: recording a visit from an appointment, and the list of visits.

#include "app/formbase.h"
#include "kit/controls.h"

#include <QWidget>

namespace lumkar {

class TgorusmeF : public QWidget, public FormContext, public UserFilterMembers {
    Q_OBJECT
public:
    TgorusmeF(Forms &forms, Session &session);

    // Opened from the main window: the visit list read again.
    void reopenVisits();

    QComboBox *gorusenBox2; // user codes, hidden
    QComboBox *gorusenBox;  // user names: who held the visit
    PickerPair *gorusenPickers;
};

} // namespace lumkar
