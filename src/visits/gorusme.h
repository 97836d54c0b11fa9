#pragma once
// The visits window: recording a visit from an appointment, with its postings to the person
// account and the cash or card book; and the list of visits with change, deletion and print.

#include "app/formbase.h"
#include "data/dataset.h"
#include "data/tablewriter.h"
#include "kit/controls.h"
#include "kit/grid.h"

#include <QWidget>

class QDateEdit;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QToolButton;

namespace lumkar {

class ReportPreview;
struct LoggedInUser;

class TgorusmeF : public QWidget, public FormContext, public UserFilterMembers {
    Q_OBJECT
public:
    TgorusmeF(Forms &forms, Session &session);

    // Loads the waiting appointment `rid` into the entry area as a new visit and shows the
    // window. False (nothing changed) when the appointment has no person or is not there.
    bool startVisit(const QVariant &rid);
    // Loads the visit `mid` of a held appointment for a change, whatever the user's rights,
    // and shows the window. False when there is no such visit (held without a visit).
    bool changeHeldVisit(const QVariant &mid);
    // Opened from the main window: the visit list read again.
    void reopenVisits();

    void kaydetButClick();            // "Kaydet...": save the visit with its postings
    void JvNavPanelButton8Click();    // "Yenile": filter the list again
    void JvNavPanelButton12Click();   // "DEĞİŞTİR": the selected visit into the entry area
    void SatirSilClick();             // "Satır Sil": the visit and its postings deleted
    ReportPreview *JvNavPanelButton14Click(); // "YAZDIR": the preview, or null
    void helpClick();
    // After a login: the user filter as the user's rights allow; every user as "Görüşen".
    void fitToUser(const LoggedInUser &user);

    // Entry area.
    QPushButton *kaydetBut;
    QPushButton *kapatBut;
    QLineEdit *ralanEdit;
    QLineEdit *ridEdit;
    QLabel *Label2;  // first name
    QLabel *Label17; // surname
    QLineEdit *firmanoedit;
    QLineEdit *randevunoEdit;
    QLineEdit *RTarihiEdit;
    QLineEdit *RSaatiEdit;
    QPlainTextEdit *konuMemo;
    QComboBox *gorusenBox2; // user codes, hidden
    QComboBox *gorusenBox;  // user names: who held the visit
    PickerPair *gorusenPickers;
    QLineEdit *islemTutariEdit;
    QLineEdit *tahsiledilenEdit;
    QRadioButton *nakitRadio;      // "Nakit"
    QRadioButton *krediKartiRadio; // "Kredi Kartı"
    QLineEdit *VTarihiEdit;
    QLineEdit *paketkoduEdit;
    QLineEdit *paketadiEdit;
    QLineEdit *paketprimEdit; // hidden
    QPlainTextEdit *adresMemo; // hidden

    // List.
    DataSet *gorusmeTable;
    DataSet *randevuTable; // the appointment a visit is started from
    DataSet *visitLookup;  // one visit found among all, for a held appointment
    DataSet *accountLine;  // the person-account line of a visit loaded for change
    QDateEdit *JvDateTimePicker1; // "Başlama Tarihi"
    QDateEdit *JvDateTimePicker2; // "Bitiş Tarihi"
    GridView *bolumgrid2;
    QPlainTextEdit *neticeMemo;
    QPlainTextEdit *adresiMemo;
    QPushButton *JvNavPanelButton8;
    QPushButton *JvNavPanelButton12;
    QPushButton *JvNavPanelButton14;
    QToolButton *tfXPButton1;
    QMenu *GorusmePopup;

signals:
    // A save linked its appointment, or found it no longer waiting: the day's lists are to
    // be read again.
    void appointmentHeld();

private:
    void buildEntry(class QVBoxLayout *layout);
    void buildList(class QVBoxLayout *layout);
    // Reads the list again with the dates and user chosen; false when the read failed.
    bool applyListFilter();
    // Fills the entry area from the current row of `visits`, with the payment kind and the
    // due date it was saved with; the amount collected as plain text when `plainCollected`,
    // else formatted. False, with nothing filled, when its account line could not be read.
    bool loadVisit(DataSet &visits, bool plainCollected);
    // The visit in the entry area as it was read (or last written), for a change of it to
    // write only while it is still so.
    RowValues m_visitAsRead;
    // After a write: the windows that show the written tables read them again (the person
    // accounts always, the cash and card books when asked).
    void reloadPostedWindows(bool cash, bool card);
};

} // namespace lumkar
