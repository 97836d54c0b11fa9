#pragma once
// The appointment list window: the appointments of a date range, by state and user.

#include "app/formbase.h"
#include "data/dataset.h"
#include "kit/controls.h"
#include "kit/grid.h"

#include <QWidget>

namespace lumkar {

class TrandevuF : public QWidget, public FormContext, public UserFilterMembers {
    Q_OBJECT
public:
    TrandevuF(Forms &forms, Session &session);

    // Prepares the list for a change begun in the main window: waiting appointments from the
    // day before the working date to 30 days after it, everyone's when `allUsers`.
    void prepareForChange(const QDate &workingDate, bool allUsers);

    DataSet *randevuTable;
    GridView *JvDBUltimGrid1;
};

} // namespace lumkar
