#pragma once
// The person record: one person of the register at a time.

#include "data/dataset.h"
#include "shell/formbase.h"

#include <QWidget>

namespace lumkar {

class Tozluk : public QWidget, public FormContext {
    Q_OBJECT
public:
    Tozluk(Forms &forms, Session &session);

    DataSet *sicilTable;
};

} // namespace lumkar
