#pragma once
// The commission report: the visits of a period held by one user or by every user, with what
// each charged and collected and its commission at the package's rate, the totals of each
// user and of all, a printout and the lists as spreadsheet files. The rules live in
// commissions.h.

#include "app/formbase.h"
#include "data/dataset.h"
#include "kit/controls.h"
#include "kit/grid.h"

#include <QWidget>

class QDateEdit;
class QLineEdit;
class QPushButton;

namespace lumkar {

class ReportPreview;
struct LoggedInUser;

class TprimF : public QWidget, public FormContext, public UserFilterMembers {
    Q_OBJECT
public:
    TprimF(Forms &forms, Session &session);

    // Opened from the main window: the period as the pickers stand, read again.
    void openReport();
    void yukleButClick(); // "BİLGİLERİ YÜKLE"
    ReportPreview *yazButClick(); // "YAZDIR": the preview, or null when it failed
    // After a login: the user filter as the user's rights allow.
    void fitToUser(const LoggedInUser &user);

    QDateEdit *JvDateTimePicker1; // "Başlama Tarihi"
    QDateEdit *JvDateTimePicker2; // "Bitiş Tarihi"
    QPushButton *yukleBut;
    QPushButton *yazBut;
    QPushButton *kapatBut;
    DataSet *primTable; // one row per visit
    DataSet *toplamTable; // one row per user
    GridView *primGrid;
    GridView *toplamGrid;
    QLineEdit *gorusmeSayisiEdit;
    QLineEdit *islemTutariEdit;
    QLineEdit *tahsilEdit;
    QLineEdit *primEdit;

private:
    void buildWindow();
    // Reads both lists with the period and user chosen and shows the totals; false when a
    // read failed (the user was told).
    bool readReport();
};

} // namespace lumkar
