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

    DataSet *randevuTable;
    GridView *JvDBUltimGrid1;
};

} // namespace lumkar
