#pragma once
// The day view of the main window: the working day's waiting, held and cancelled
// appointments, the working date and the all-users box, and the lists' printouts.

#include "app/formbase.h"
#include "appointments/dayfilter.h"
#include "data/dataset.h"
#include "kit/controls.h"
#include "kit/grid.h"

#include <QDate>
#include <QWidget>
#include <memory>

class QDateEdit;
class QLabel;
class QPushButton;
class QToolButton;

namespace lumkar {

class DailyPrint;
struct LoggedInUser;

class DayLists : public QWidget, public FormContext {
    Q_OBJECT
public:
    DayLists(Forms &forms, Session &session, QWidget *parent);
    ~DayLists() override;

    QDate workingDate() const;
    void setWorkingDate(const QDate &day); // without the refresh a typed date brings
    // The lists read from the database; false when a read failed (the user was told, the
    // list keeps what it showed).
    bool openDayLists();        // opens the three lists if they are not open
    bool reopenDayLists();      // the waiting, held and cancelled lists read again
    bool reopenWaitingList();   // the waiting list read again
    bool reopenCancelledList(); // the cancelled list read again
    bool readWaitingListAnew(); // closed and opened: after a booking of another day or user
    // The waiting list on its selected appointment, or null when the list shows none.
    DataSet *selectedWaiting();
    bool allUsersShown() const; // the all-users box
    bool rerunHeldList();
    void JvNavPanelButton7Click(); // "GÜNCELLE": re-run the held list
    void CheckBox2MouseUp(); // all-users box released with the mouse
    void CheckBox2Exit(); // the focus left the all-users box
    void CheckBox3MouseUp(); // "Tüm Sütunu Göster" released with the mouse
    void showOwnerColumns(bool show); // first column of the three grids
    // After a login: the all-users box only for a user who sees everyone's appointments.
    void fitToUser(const LoggedInUser &user);
    void printDay(int printout); // one of DailyPrint::Printout
    // The printouts of the three lists (pane buttons, " Yazdır" and F4).
    DailyPrint &dailyPrint() const { return *m_dailyPrint; }

    // Controls shown in the main window's top pane.
    QDateEdit *JvDateTimePicker1;
    CheckBox *CheckBox2; // "Tüm Kullanıcıların Randevularını Göster"
    CheckBox *CheckBox3; // "Tüm Sütunu Göster"

    DataSet *randevuTable; // waiting
    DataSet *ffQuery1; // held
    DataSet *ffQuery4; // cancelled
    GridView *JvDBUltimGrid1;
    GridView *bolumgrid2;
    GridView *JvDBUltimGrid4;
    QWidget *bekleyenPane;
    QWidget *gorusulenPane;
    QWidget *iptalPane;
    QLabel *gorusulenHeader;
    QPushButton *JvNavPanelButton13; // "DEĞİŞTİR" of the waiting pane
    QPushButton *JvNavPanelButton7; // "GÜNCELLE"
    QPushButton *gorusulenDegistirBut;
    QPushButton *bekleyenYazdirBut;
    QPushButton *bekleyenYazdir2But;
    QPushButton *bekleyenYazdir3But;
    QPushButton *gorusulenYazdirBut;
    QPushButton *gorusulenYazdir2But;
    QPushButton *iptalYazdirBut;

signals:
    // The user picked another working day.
    void workingDateChanged();

private:
    bool openList(DataSet *dataSet, DayList list);

    std::unique_ptr<DailyPrint> m_dailyPrint;
};

} // namespace lumkar
