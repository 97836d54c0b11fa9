#pragma once
// The person list: lists, narrows, searches, sorts and prints the person register and hands
// the chosen person to the window that opened it.

#include "data/dataset.h"
#include "shell/formbase.h"

#include <QWidget>

namespace lumkar {

class Tsicrapor : public QWidget, public FormContext {
    Q_OBJECT
public:
    Tsicrapor(Forms &forms, Session &session);

    DataSet *sicrapQuery;
    QString listeIsteyen; // who opened the list: "randevu", "aylik", "sicil", "cari"
};

} // namespace lumkar
