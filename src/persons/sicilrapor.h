#pragma once
// The person list: lists, narrows, searches, sorts and prints the person register and hands
// the chosen person to the window that opened it.

#include "app/formbase.h"
#include "data/dataset.h"
#include "kit/grid.h"
#include "persons/personchoice.h"
#include "persons/personsearch.h"

#include <QWidget>

class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QToolButton;

namespace lumkar {

class EnterAsTab;
class ReportPreview;

class Tsicrapor : public QWidget, public FormContext {
    Q_OBJECT
public:
    Tsicrapor(Forms &forms, Session &session);

    void yeniButClick();      // "Yeni Arama": clear the search, show every row
    void araButtonClick();    // "Kısıtlayarak Ara": filter by the boxes
    void SpeedButton1Click(); // "Peşpeşe Ara": jump to the next match
    void Button1Click();      // "SEÇ": choose the row (also double click, F8)
    void kapatButClick();     // "KAPAT"
    ReportPreview *yazButClick(); // "Yazdır": the preview, or null when it failed
    // "Paket Durumu..." of the list's context menu: the printout of the packages of the person
    // the list stands on, in a preview; null when there is none or it failed.
    ReportPreview *PaketDurumu1Click();
    void titleClick(int column); // sort by the column
    void helpClick();

    // Reads the register afresh for a window about to ask for a person; false when it could
    // not be read (the user was told). personCount() then tells whether there is anyone.
    bool readPersons();
    int personCount();
    // The rows opened when closed; false when they could not be read (the user was told).
    bool openPersons();
    // Reads the rows again when they are open (after a person was written or deleted); false
    // when the read failed (the user was told, the rows stay).
    bool readAgain();
    // Reads the rows again, opening them when closed (a full refresh of the main window).
    bool refresh();
    // Shows the list to choose a person for `chosen`: "SEÇ" hides the list and hands the
    // person over. With `followOnClose` the list also hands over the person it stands on when
    // it is closed without a choice (the person record follows the list).
    void choosePerson(PersonChosen chosen, bool followOnClose = false);
    // True while a window waits for a choice.
    bool isChoosing() const { return bool(m_chosen); }

    // The filter as the boxes stand now.
    PersonListFilter currentFilter() const;
    // The empty phone box as it reads.
    static QString emptyPhoneText();
    static QString previewTitle()
    {
        return QStringLiteral("Lumkar Rapor Önizleme - Firma Sicil Takip Kartları");
    }

    DataSet *sicrapQuery;
    QString siralamaYonu; // direction of the last title click: "ASC", "DESC", or empty

    GridView *bolumgrid;
    QLineEdit *JvDotNetEdit3;     // "Kodu"
    QLineEdit *JvDotNetEdit1;     // "Adı/Soyadı"
    QLineEdit *Telefon1Edit;      // "Telefon"
    QPlainTextEdit *JvDotNetDBMemo4; // "Adres", read-only
    QPushButton *yeniBut;
    QPushButton *araButton;
    QPushButton *SpeedButton1;
    QPushButton *Button1;
    QPushButton *yazBut;
    QPushButton *kapatBut;
    QToolButton *tfXPButton1;
    QMenu *PopupMenu1;
    QMenu *gridMenu; // the grid's own entries, before its export

protected:
    void showEvent(QShowEvent *event) override; // the name box takes the focus
    void hideEvent(QHideEvent *event) override;

private:
    void buildWindow();
    void buildMenu();
    ChosenPerson currentPerson();

    EnterAsTab *m_enterAsTab = nullptr;
    PersonChosen m_chosen; // who waits for the choice
    bool m_followOnClose = false;
};

} // namespace lumkar
