#pragma once
// The monthly and weekly planner: one calendar month as a grid of days and time slots with the
// appointments of each slot, read through the appointment list window; booking from a cell.

#include "app/formbase.h"
#include "appointments/appointmentlist.h"
#include "appointments/directbooking.h"
#include "appointments/doublebooking.h"
#include "appointments/plannerslots.h"
#include "kit/controls.h"
#include "kit/grid.h"
#include "visits/packagechoice.h"

#include <QPair>
#include <QSet>
#include <QWidget>
#include <memory>

class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QToolButton;

namespace lumkar {

class ReportPreview;
struct LoggedInUser;

class TaylikF : public QWidget, public FormContext, public UserFilterMembers {
    Q_OBJECT
public:
    TaylikF(Forms &forms, Session &session);

    // The day whose month the planner shows; setting it does not reload.
    void setPlannerDate(const QDate &day);
    QDate plannerDate() const;

    void hazirlaButClick(); // "YENİDEN YÜKLE": refuses unreadable hours or slot length
    bool GridHazirla(); // the empty grid of the picked month; false when refused
    void Transfer(); // the appointments of the month into their slots
    // The month read again when the planner is on screen (after another desk's write).
    void refreshIfShown();
    void AyarYukle(); // the settings file into the boxes
    bool AyarKaydet(); // the boxes into the settings file; false when the disk refused
    void DateTimePicker1Change();
    void CheckBox1Click();
    void CheckBox3Click();
    ReportPreview *yazdirButClick(); // the appointment list's printout of the shown month
    void kapatButClick();
    void helpClick();
    // After a login: the user filter as the user's rights allow.
    void fitToUser(const LoggedInUser &user);

    // Booking from the current cell.
    void Bugnvebusaaterandevuver1Click(); // day and time to the entry form
    void Firmaseerekbugnvebusaaterandevuver1Click(); // the same, then the person list
    void Firmaseerekbugnvebusaatedorudanrandevuver1Click(); // direct booking (double click)
    void PaketAl(); // the package choice of a direct booking
    void GirisHazirla(); // completes a direct booking once the person is chosen

    // The package picked for a direct booking, as the catalogue hands it over.
    using PickedPackage = ChosenPackage;
    void setPickedPackage(const PickedPackage &package) { m_booking->picked = package; }
    const PickedPackage &pickedPackage() const { return m_booking->picked; }

    // The grid as columns and rows counted with the day-number and slot-time lines: column 0
    // holds the slot times, row 0 the weekday names, row 1 the day numbers; data cells start
    // at column 1, row 2.
    QString cellText(int column, int row) const;
    int columnCount() const; // day columns + 1
    int rowCount() const; // slot rows + 2
    // The current cell in the same counting; (-1, -1) when there is none.
    QPoint currentCell() const;
    void setCurrentCell(int column, int row);
    // The date and time texts a booking from the current cell hands over ("07.10.2009",
    // "09:30"); empty when no data cell is current.
    QString bookingDate() const;
    QString bookingTime() const;

    // True when the data cell holds a waiting appointment that overlaps another waiting one
    // of the same user (same counting as cellText).
    bool isDoubleBooked(int column, int row) const;

    const PlannerMonth &shownMonth() const { return m_month; }
    bool allUsersShown() const { return m_allUsers; }
    QString reportUserName() const { return m_reportUserName; }

    QLineEdit *RSaatiEdit; // "Mesai Başlangıç Saati"
    QLineEdit *RBitisSaatiEdit; // "Mesai Bitiş Saati"
    QComboBox *periodBox; // "Randevu Periodu"
    QDateEdit *DateTimePicker1; // "Rapor Tarihi"
    CheckBox *CheckBox1; // waiting and held
    CheckBox *CheckBox3; // held only
    QPushButton *hazirlaBut;
    QPushButton *yazdirBut;
    QPushButton *kapatBut;
    QToolButton *tfXPButton1;
    QLabel *Label6; // month and year
    QLabel *Label7; // whose appointments
    QLabel *cakismaLabel; // the colour of double bookings, explained
    GridView *StringGrid1;
    QMenu *PopupMenu1;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildWindow();
    void buildMenu();
    bool StringGrid1KeyPress(QKeyEvent *event); // true when the key is swallowed
    bool askDirectBooking();
    // The current cell's date and time into the main window's entry form; false when no day
    // and slot is current.
    bool handDayAndTimeToEntry();
    // The cells of the waiting appointments placed, coloured where they overlap.
    void markDoubleBookings();

    // A waiting appointment shown, with the cells it was placed in (grid-of-texts rows and
    // the column of its day).
    struct PlacedAppointment {
        BookedAppointment appointment;
        QVector<int> rows;
        int column = 0;
    };
    QVector<PlacedAppointment> m_waiting;
    QSet<QPair<int, int>> m_doubleBooked; // (row, column) of the grid of texts

    DataSet *m_appointments = nullptr; // the shown month's appointments
    AppointmentListFilter m_filter;    // which of them, as the appointment list chooses
    GridModel *m_cells = nullptr;
    PlannerMonth m_month; // the shown month; invalid until the first grid
    SlotPlan m_plan;
    QStringList m_labels;
    bool m_allUsers = false;
    QString m_reportUserName;
    std::unique_ptr<DirectBooking> m_booking;
};

} // namespace lumkar
