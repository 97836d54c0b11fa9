#pragma once
// The cancellation dialog: the reason of cancelling a waiting appointment. It stays over the
// main window and takes every input while it is shown, so the appointment it opened for
// stays the selected one until it closes.

#include "app/formbase.h"

#include <QPointer>
#include <QWidget>

class QLineEdit;
class QPushButton;

namespace lumkar {

class DataSet;

class TiptalF : public QWidget, public FormContext {
    Q_OBJECT
public:
    TiptalF(Forms &forms, Session &session);

    // Shows the dialog for the current row of `waiting`; the reason box edits its reason.
    void openFor(DataSet *waiting);
    void OKBtnClick();        // "Tamam": cancel the appointment after the question
    void JvXPButton1Click();  // "Vazgeç"

    QLineEdit *JvDotNetDBEdit10; // "İptal Nedeni"
    QPushButton *OKBtn;
    QPushButton *JvXPButton1;

private:
    QPointer<DataSet> m_waiting;
};

} // namespace lumkar
