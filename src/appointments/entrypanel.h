#pragma once
// The appointment entry form of the main window: the person panel and the appointment panel.

#include "app/formbase.h"
#include "appointments/entryappointment.h"
#include "persons/personchoice.h"
#include "visits/packagechoice.h"

#include <QWidget>

class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace lumkar {

class DataSet;
class PickerPair;
struct LoggedInUser;

class EntryForm : public QWidget, public FormContext {
    Q_OBJECT
public:
    // The boxes in the order Tab walks them, from the person code to "KAYDET".
    QList<QWidget *> tabChain() const;
    EntryForm(Forms &forms, Session &session, QWidget *parent);

    // Fills the person boxes with a person chosen elsewhere (the person list).
    void setEntryPerson(const ChosenPerson &person);
    // Writes a person's code into the code box (after the person record saved the person).
    void setEntryPersonCode(const QString &code);
    // Fills the package boxes with a package chosen in the catalogue, price and premium rate
    // as "#,###.00".
    void setEntryPackage(const ChosenPackage &package);
    // The amount of the appointment as typed elsewhere (the planner's amount box).
    void setEntryAmount(const QString &amount);
    // Fills the boxes with an appointment to change (the appointment list's "Değiştir", the
    // day view's change); an empty premium rate leaves its box as it is.
    void setEntryAppointment(const EntryAppointment &appointment);
    // The boxes' texts as a save reads them.
    EntryAppointment entryAppointment() const;
    // The day and time of the appointment, as a planner cell hands them over ("07.10.2009",
    // "09:30").
    void setEntryDayAndTime(const QString &date, const QString &time);
    // The user the appointment is given to; false when the user pickers cannot hold that user
    // (not among those this user may book for), and then they show no user.
    bool setEntryUser(const QString &code, const QString &fullName);
    // Shows the form enabled or greyed out as the user's rights allow.
    void setEntryAllowed(bool allowed);
    // After a login: the owner pickers and the form as the user's rights allow.
    void fitToUser(const LoggedInUser &user);

    // The entry form's actions, reached from the toolbar, the keys and the menus.
    void startNew(); // "Yeni Rand."
    // "KAYDET", " Kaydet", F2: true when an appointment was written.
    bool save();
    // A booking made elsewhere (the planner): always a new appointment, never the change of
    // an appointment loaded into the form.
    bool saveAsNew();
    // Before another window fills the form for a booking of its own: when the form holds a
    // typed person or a loaded change, asks whether to drop it. False when the user keeps it.
    bool makeRoomForBooking();
    void discard();           // " Vazgeç", F3
    void loadForChange();     // "Randevu Bilgilerini Değiştir", "DEĞİŞTİR" of the waiting list
    void markHeld();          // "Randevu Gerçekleşti"
    void cancelAppointment(); // "Bu Randevuyu İptal Et": the cancellation dialog

    // The lookups that fill the boxes.
    void personByCode();         // "Getir" beside the code, leaving the code box
    void personByName();         // "Getir" beside the name
    // "Listeden Getir", a double click in the code or name box: the person list opened to
    // choose a person for the form; `thenDo` runs once the person is in the boxes.
    void personFromList(const std::function<void()> &thenDo = {});
    void packageByCode();        // leaving the package code box
    void packageFromCatalogue(); // a double click in the package code box

    // True when the code or name box holds text, so that leaving the form asks first.
    bool hasTypedPerson() const;

    // Person panel.
    QWidget *kisiPanel;
    QLineEdit *kisinoedit;
    QPushButton *JvNavPanelButton8; // "Getir"
    QPushButton *JvNavPanelButton9; // "Listeden Getir"
    QLineEdit *AdiEdit;
    QPushButton *JvNavPanelButton20; // "Getir" beside the name
    QLineEdit *SoyadiEdit;
    QLineEdit *Telefon1Edit;
    QLineEdit *Telefon2Edit;
    QLineEdit *CepTelefonEdit;
    QPlainTextEdit *adresMemo;
    // Appointment panel.
    QWidget *randevuPanel;
    QLineEdit *RTarihiEdit;
    QLineEdit *RSaatiEdit;
    QLineEdit *paketkoduEdit;
    QLineEdit *islemTutariEdit;
    QLineEdit *paketadiEdit;
    QPlainTextEdit *konuMemo;
    QComboBox *RKiminAdSoyadBox;
    QComboBox *RKimeBox;
    QPushButton *Button1; // "KAYDET"
    QLineEdit *randevunoEdit;
    QLineEdit *primEdit;
    PickerPair *userPickers;

signals:
    // The person record is wanted for a new register (the main window's "Kişi Giriş ve
    // Değişiklik").
    void personRecordWanted();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildPersonPanel();
    void buildAppointmentPanel();
    void setTabOrders();
    // Empties the boxes a new appointment starts with; the package boxes too when asked.
    void clearBoxes(bool packageBoxes);
    void showCurrentUser();
    bool askDrop();
    // The selected waiting appointment, or null when the list is empty.
    DataSet *selectedWaiting();
    // The package of the code box looked up: none typed, found (in m_packages), not found
    // ("Paket bulunamadı!" told), or the catalogue could not be read (told).
    enum class PackageLookup { NoCode, Found, NotFound, Unreadable };
    PackageLookup lookUpPackage();
    // The first package with the code (lowest pid) in m_packages; false when there is none.
    bool findPackage(int code);
    // The first person with the code into m_found; false when there is none or the register
    // could not be read (told; m_registerRead then false).
    bool findPerson(const QString &code);
    void showFoundPerson(); // m_found's names and telephones into the boxes
    bool checkPerson();
    bool writeAppointment();
    // Before an appointment of `owner` at `day` and `time` is written: when it overlaps
    // waiting appointments of that user as stored now (the appointment `rid` itself left
    // out), asks whether to save it all the same. False when the user says no, or when the
    // appointments could not be read (told).
    bool confirmOverlaps(const QString &owner, const QDate &day, const QTime &time,
                         qlonglong rid);

    ChosenPerson m_found;    // the person last found by code
    bool m_registerRead = true;
    DataSet *m_packages;     // the packages with one code, by pid
    DataSet *m_appointments; // the appointment being written
};

} // namespace lumkar
