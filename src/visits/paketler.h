#pragma once
// The package catalogue: add, save, load for editing, delete, and choose a package for the
// window that asked (the appointment entry or the planner's direct booking).

#include "app/formbase.h"
#include "data/dataset.h"
#include "kit/grid.h"
#include "visits/packagechoice.h"

#include <QWidget>

class QLineEdit;
class QPushButton;

namespace lumkar {

class EnterAsTab;

class TpaketlerF : public QWidget, public FormContext {
    Q_OBJECT
public:
    TpaketlerF(Forms &forms, Session &session);

    // Opened from another window: the catalogue opened if it is not.
    void openCatalogue();
    // Shows the catalogue to choose a package for `chosen`: "Seç" hides the window and hands
    // the package over.
    void choosePackage(PackageChosen chosen);
    // True while a window waits for a choice.
    bool isChoosing() const { return bool(m_chosen); }

    void JvXPButton2Click(); // "Yeni Ekle": empty boxes
    bool JvXPButton1Click(); // "Sakla": add or change; false when refused or not written
    void JvXPButton3Click(); // "Düzelt": the selected package into the boxes
    void tabloyusilClick();  // "Sil": delete after the question
    void secButClick();      // "Seç" (also a double click): hand the package to the asker
    void kapatButClick();
    void islemTutariEditExit(); // the price box reformatted on leaving

    DataSet *paketlerTable;
    QLineEdit *koduEdit;        // "Paket Kodu"
    QLineEdit *PaketAdiEdit;    // "Paket Adı"
    QLineEdit *islemTutariEdit; // "Paket Tutarı"
    QLineEdit *aciklamaEdit;    // "Açıklama"
    QLineEdit *primoranEdit;    // "Prim Oranı"
    QLineEdit *kayitnoEdit;     // hidden: pid of the package being edited
    QPushButton *JvXPButton2;   // "Yeni Ekle"
    QPushButton *JvXPButton1;   // "Sakla"
    QPushButton *JvXPButton3;   // "Düzelt"
    QPushButton *tabloyusil;    // "Sil"
    QPushButton *secBut;        // "Seç"
    QPushButton *kapatBut;
    GridView *DBGrid1;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void buildWindow();
    bool hasSelectedPackage();

    EnterAsTab *m_enterAsTab = nullptr;
    QVariantList m_lastAdded; // what the last "Sakla" added, as it read the boxes
    PackageChosen m_chosen;   // who waits for the choice
};

} // namespace lumkar
