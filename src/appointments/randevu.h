#pragma once
// The appointment list window: the appointments of a date range, by state and user.

#include "data/dataset.h"
#include "kit/controls.h"
#include "kit/grid.h"
#include "shell/formbase.h"

#include <QWidget>

namespace lumkar {

class TrandevuF : public QWidget, public FormContext {
    Q_OBJECT
public:
    TrandevuF(Forms &forms, Session &session);

    DataSet *randevuTable;
    UserFilterBar *userBar;
    QComboBox *RKimeBox;
    QComboBox *RKiminAdSoyadBox;
    CheckBox *CheckBox2;
    GridView *JvDBUltimGrid1;
};

} // namespace lumkar
