#pragma once
// The day view's printouts: each print button of the waiting, held and cancelled panes and the
// toolbar print of all three lists. A printout puts the day's date into the list titles, the
// user restriction (from the all-users box as it is at that moment) into the heading line and
// the user's name into Memo19, runs the main window's layout over the day view's own data sets
// as they stand, and opens the preview "Lumkar Rapor Önizleme - Günlük Randevular".

#include "reports/layout.h"
#include "reports/prepared.h"
#include "reports/runner.h"

#include <QDate>
#include <QHash>
#include <QPointer>
#include <QString>

class QWidget;

namespace lumkar {

class DataSet;
class Dialogs;
class ReportPreview;

// The state of the day view when a print button is pressed.
struct DayPrintState {
    QDate workingDate;
    bool allUsers = false; // the all-users box, ticked or not at this moment
    QString userFullName;  // the logged-in user's first name and surname
};

class DailyPrint {
public:
    enum class Printout {
        Waiting,   // waiting pane "YAZDIR": frReport1
        Waiting2,  // waiting pane "YAZDIR2": frReport5
        Waiting3,  // waiting pane "YAZDIR3": frReport8
        Held,      // held pane "YAZDIR": frReport2
        Held2,     // held pane "YAZDIR2": frReport6
        Cancelled, // cancelled pane "YAZDIR": frReport3
        AllLists   // toolbar " Yazdır", F4: frReport7 with all users, else frReport4
    };

    // The day view's waiting (`randevuTable`), held (`ffQuery1`) and cancelled (`ffQuery4`)
    // lists; the preview opens over `parent` and reports through `dialogs`.
    DailyPrint(DataSet &randevuTable, DataSet &ffQuery1, DataSet &ffQuery4, Dialogs &dialogs,
               QWidget *parent = nullptr);

    // The button handlers. Each returns the preview it opened, or null when the report could
    // not be prepared (an error box was shown).
    ReportPreview *printWaiting(const DayPrintState &state);
    ReportPreview *printWaiting2(const DayPrintState &state);
    ReportPreview *printWaiting3(const DayPrintState &state);
    ReportPreview *printHeld(const DayPrintState &state);
    ReportPreview *printHeld2(const DayPrintState &state);
    ReportPreview *printCancelled(const DayPrintState &state);
    ReportPreview *printAllLists(const DayPrintState &state);
    ReportPreview *print(Printout printout, const DayPrintState &state);

    // Sets the texts and prepares the pages without a preview; empty with `error` set when
    // the report cannot be prepared.
    reports::PreparedReport prepare(Printout printout, const DayPrintState &state,
                                    QString *error = nullptr);

    // The main window's report component a printout runs ("frReport4", ...).
    static QString component(Printout printout, bool allUsers);
    // The report of a component with the texts set so far (they stay until set again).
    const reports::Report &report(const QString &component);

    static QString previewTitle()
    {
        return QStringLiteral("Lumkar Rapor Önizleme - Günlük Randevular");
    }
    // " TARİHLİ ..." titles and the restriction line, as the printouts write them.
    static QString dateText(const QDate &day);
    static QString restriction(bool allUsers, const QString &userFullName);

private:
    reports::Report &reportFor(const QString &component);
    reports::DataLinks links();
    void setTexts(Printout printout, reports::Report &report, const DayPrintState &state);

    DataSet &m_waiting;
    DataSet &m_held;
    DataSet &m_cancelled;
    Dialogs &m_dialogs;
    QPointer<QWidget> m_parent;
    QHash<QString, reports::Report> m_reports;
};

} // namespace lumkar
