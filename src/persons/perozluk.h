#pragma once
// The person record: one person of the register at a time. New persons get the next free
// code; the record is saved, discarded, deleted, stepped through, and the person list opens
// from here. It also owns the name-prefix search the appointment entry uses.

#include "app/formbase.h"
#include "data/dataset.h"
#include "persons/personchoice.h"
#include "persons/personsearch.h"

#include <QWidget>

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QToolButton;

namespace lumkar {

class EnterAsTab;
class GridView;
class ReportPreview;

class Tozluk : public QWidget, public FormContext {
    Q_OBJECT
public:
    Tozluk(Forms &forms, Session &session);

    // A new person with the next code, not yet written; false when it was not started.
    bool YeniKisi();
    void JvXPButton1Click(); // "Kaydet": save
    void JvXPButton5Click(); // "İşlemden Vazgeç": discard
    void JvXPButton4Click(); // "Kayıtlı Kişiyi Sil": delete after two questions
    void JvXPButton2Click(); // "Kayıtlı Kişi Listeleri": open the person list
    void JvXPButton9Click(); // "İlk Kayıt"
    void JvXPButton7Click(); // "Önceki"
    void JvXPButton6Click(); // "Sonraki"
    void JvXPButton8Click(); // "Son Kayıt"
    void Button1Click();     // "Kapat"
    void helpClick();
    // "Paket Durumunu Yazdır": the printout of the shown person's packages; null when there is
    // no person or it could not be printed (the user was told).
    ReportPreview *paketYazdirButClick();

    // Moves to the first person whose code begins with `code`, ignoring case.
    bool positionOn(const QString &code);
    // Shows the record on the person with `code` (the first person when there is none), or
    // on a new person when the register is empty; a pending change is dropped.
    void openOn(const QString &code);
    // The name search: the first person (in register order) whose first name and surname
    // begin with `adi` and `soyadi`, Turkish case folded.
    enum class NameSearch { Found, None, Unreadable };
    NameSearch findByName(const QString &adi, const QString &soyadi, ChosenPerson &first);
    // A new person with the next code, filled with what was typed elsewhere (the appointment
    // entry's boxes) and shown, not yet written; false when it was not started.
    bool startPersonFrom(const ChosenPerson &typed);

    // The register opened when it is closed; false when it could not be read (the user was
    // told).
    bool openRegister();
    // The register read again unless the user is changing a person.
    bool refreshRegister();

    // A pending change: the record is modified or in edit or insert state.
    bool hasPendingChange() const;
    // An unsaved modification: the modified flag alone.
    bool hasUnsavedModification() const;

    DataSet *sicilTable;
    // The name-prefix search: select sicil_kodu, adi, soyadi, always filtered by the two
    // search texts below, which the appointment entry writes before opening it.
    DataSet *ffQuery4;
    QString aramaAdi;
    QString aramaSoyadi;
    // What the shown person has of the packages (packagestatus.h), read again when another
    // person is shown and when the window is shown.
    DataSet *paketDurumu;

    QLineEdit *JvDotNetDBEdit1;  // "Kayıt No"
    QLineEdit *JvDotNetDBEdit2;  // "Kodu"
    QLineEdit *JvDotNetDBEdit3;  // "Adı"
    QLineEdit *JvDotNetDBEdit5;  // "Soyadı"
    QLineEdit *JvDotNetDBEdit6;  // "Telefonu 1"
    QLineEdit *JvDotNetDBEdit4;  // "Telefonu 2"
    QLineEdit *JvDotNetDBEdit7;  // "CepTel. 1"
    QLineEdit *JvDotNetDBEdit8;  // "CepTel. 2"
    QLineEdit *JvDotNetDBEdit9;  // "Faks"
    QLineEdit *JvDotNetDBEdit10; // "eMail"
    QPlainTextEdit *JvDotNetDBMemo4; // "Adresi"
    QCheckBox *CheckBox2;        // "İlk Harf Büyük Olsun"
    GridView *paketGrid;         // "Paket Durumu"
    QLabel *paketToplamLabel;    // debt, credit and balance of the person
    QPushButton *paketYazdirBut; // "Paket Durumunu Yazdır"

    QPushButton *JvXPButton3; // "Yeni Kişi Kaydı Gir"
    QPushButton *JvXPButton1; // "Kaydet"
    QPushButton *JvXPButton5; // "İşlemden Vazgeç"
    QPushButton *JvXPButton4; // "Kayıtlı Kişiyi Sil"
    QPushButton *JvXPButton2; // "Kayıtlı Kişi Listeleri"
    QPushButton *JvXPButton9; // "İlk Kayıt"
    QPushButton *JvXPButton7; // "Önceki"
    QPushButton *JvXPButton6; // "Sonraki"
    QPushButton *JvXPButton8; // "Son Kayıt"
    QPushButton *Button1;     // "Kapat"
    QToolButton *tfXPButton1; // help

    QMenu *PopupMenu1;

signals:
    // A person was written: its code, for the appointment entry that asked for a new person.
    void personSaved(const QString &code);

protected:
    void showEvent(QShowEvent *event) override; // the name box takes the focus
    void closeEvent(QCloseEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void buildWindow();
    void buildMenu();
    // Asks before an unsaved modification is dropped; false when the user keeps it.
    bool mayDropModification();
    // Before a move: the modification dropped after asking, or the table opened.
    bool prepareMove();
    // Hiding other than by "Kapat": the change saved or discarded, never kept.
    void settleBeforeHiding();
    bool codeNameSurnameFilled() const;
    bool write();
    void focusOn();
    QWidget *buildPackagePanel();
    // The shown person's packages read, unless they were read for this person since the
    // window was last shown; while the window is hidden, the read waits for it to be shown.
    void showPackageStatus();
    QString m_givenCode;  // the code "Yeni Kişi" gave the person being added
    QString m_statusCode; // whose packages paketDurumu holds
    bool m_statusRead = false;

    NamePrefixSearch m_nameSearch;
    EnterAsTab *m_enterAsTab = nullptr;
};

} // namespace lumkar
