#pragma once
// The cancellation dialog: the reason of cancelling a waiting appointment.

#include "app/formbase.h"

#include <QWidget>

namespace lumkar {

class TiptalF : public QWidget, public FormContext {
    Q_OBJECT
public:
    TiptalF(Forms &forms, Session &session);
};

} // namespace lumkar
