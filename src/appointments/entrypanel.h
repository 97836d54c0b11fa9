#pragma once
// The appointment entry form of the main window: the person panel and the appointment panel.

#include "app/formbase.h"

#include <QWidget>

class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace lumkar {

class PickerPair;

class EntryForm : public QWidget, public FormContext {
    Q_OBJECT
public:
    EntryForm(Forms &forms, Session &session, QWidget *parent);

    // A person chosen elsewhere (the person list, the person record).
    struct Person {
        QString sicilKodu, adi, soyadi, tel1, tel2, ceptel, adres;
    };
    // Fills the person boxes with a chosen person.
    void setEntryPerson(const Person &person);
    // Writes a person's code into the code box (after the person record saved the person).
    void setEntryPersonCode(const QString &code);
    // Shows the form enabled or greyed out as the user's rights allow.
    void setEntryAllowed(bool allowed);

    // The entry form's actions, reached from the toolbar, the keys and the menus.
    void startNew(); // "Yeni Rand."
    void save(); // "KAYDET", " Kaydet", F2
    void discard(); // " Vazgeç", F3

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

private:
    void buildPersonPanel();
    void buildAppointmentPanel();
};

} // namespace lumkar
