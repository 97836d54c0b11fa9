#pragma once
// The backup window: manual and automatic zip backups of the data folder, and restores.

#include "app/formbase.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QWidget>

namespace lumkar {

class TgirisRF : public QWidget, public FormContext {
    Q_OBJECT
public:
    TgirisRF(Forms &forms, Session &session);

    // The automatic backup run at program end when it is due.
    void TumunuYedekleOto();

    QCheckBox *CheckBox1;     // "Otomatik Olarak Yedek Al"
    QLineEdit *Edit1;         // folder of the automatic backups
    QLineEdit *yedekgunEdit;  // interval in days
    QDateEdit *DateTimePicker1; // "Son Yedek Alınma Tarihi"
};

} // namespace lumkar
