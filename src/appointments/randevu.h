#pragma once
// The appointment list window: the appointments of a date range, waiting, held or both, one
// user's or everyone's; deletion, change in the main window's entry form and four printouts.
// The planner reads its month through this window's table and filter.

#include "app/formbase.h"
#include "appointments/appointmentlist.h"
#include "data/dataset.h"
#include "kit/controls.h"
#include "kit/grid.h"
#include "reports/layout.h"

#include <QHash>
#include <QWidget>

class QAction;
class QDateEdit;
class QMenu;
class QPushButton;
class QToolButton;

namespace lumkar {

class EnterAsTab;
class ReportPreview;
struct LoggedInUser;

class TrandevuF : public QWidget, public FormContext, public UserFilterMembers {
    Q_OBJECT
public:
    TrandevuF(Forms &forms, Session &session);

    void ButsorguClick(); // query: heading of the printouts, filter applied again
    void Button2Click(); // "...": the filter applied again, for a user who sees everyone's
    void Button1Click(); // delete
    void degistirButClick(); // change in the main window's entry form
    ReportPreview *yazButClick(); // print, list layouts; null when it failed
    ReportPreview *yazBut2Click(); // print, layouts with amounts
    void kapatButClick();
    void CheckBox1Click(); // "Bekleyen ve Görüşülen ...": unticks the other box, queries
    void CheckBox3Click(); // "Sadece Görüşme ...": unticks the other box, queries
    void CheckBox2Exit();
    void CheckBox2MouseUp();
    void helpClick();
    // "Takvime Aktar (.ics)...": the appointments listed, as listed, to a calendar file the
    // user names; each event as long as one slot of the planner.
    void exportToCalendar();

    // The list as the boxes stand now.
    AppointmentListFilter currentFilter() const;
    // Reads the appointments again with the boxes as they stand (the table is opened when
    // closed); false when the database could not be read (the user was told).
    bool applyFilter();
    // Opens the table with the boxes as they stand when it is closed; false when it could not
    // be read (the user was told).
    bool openAppointments();
    // Reads the appointments again when the list is open (the main window's full refresh).
    bool refreshIfOpen();
    // Shows or hides the user column "R.Kimin".
    void showUserColumn(bool show);
    // After a login: the user filter as the user's rights allow.
    void fitToUser(const LoggedInUser &user);

    // The planner's month and choices, so that the list and its printouts show what the
    // planner shows: the boxes set, the user column shown or hidden, the query run.
    struct PlannerChoice {
        QDate from;
        QDate to;
        int userIndex = -1; // in the user pickers
        bool allUsers = false;
        bool waitingAndHeld = false;
        bool heldOnly = false;
    };
    void showPlannerChoice(const PlannerChoice &choice);

    // Prepares the list for a change begun in the main window: waiting appointments from the
    // day before the working date to 30 days after it, everyone's when `allUsers`.
    void prepareForChange(const QDate &workingDate, bool allUsers);

    // The layouts frReport1 to frReport4 with the texts set so far.
    const reports::Report &report(const QString &component);
    static QString previewTitle()
    {
        return QStringLiteral("Lumkar Rapor Önizleme - Selvaron Kartları");
    }

    DataSet *randevuTable;
    GridView *JvDBUltimGrid1;
    QDateEdit *JvDateTimePicker1; // "Başlama Tarihi"
    QDateEdit *JvDateTimePicker2; // "Bitiş Tarihi"
    CheckBox *CheckBox1; // waiting and held
    CheckBox *CheckBox3; // held only
    QPushButton *Button2; // "..."
    QPushButton *Butsorgu;
    QPushButton *yazBut;
    QPushButton *yazBut2;
    QPushButton *Button1;
    QPushButton *degistirBut;
    QPushButton *kapatBut;
    QToolButton *tfXPButton1;
    QMenu *recetemenu;
    QAction *takvimeAktar; // in the grid's context menu, beside the CSV export

protected:
    void closeEvent(QCloseEvent *event) override; // as "Kapat"

private:
    void buildWindow();
    void buildMenu();
    reports::Report &reportFor(const QString &component);
    ReportPreview *print(const QString &withUsers, const QString &withoutUsers);

    AppointmentListFilter m_filter;
    QHash<QString, reports::Report> m_reports;
    EnterAsTab *m_enterAsTab = nullptr;
};

} // namespace lumkar
