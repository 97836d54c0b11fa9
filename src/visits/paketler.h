#pragma once
// The package catalogue: add, save, load for editing, delete, and choose a package for the
// window that asked (the appointment entry or the planner's direct booking).

#include "app/formbase.h"
#include "data/dataset.h"
#include "kit/grid.h"

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

    void JvXPButton2Click(); // "Yeni Ekle": empty boxes
    bool JvXPButton1Click(); // "Sakla": add or change; false when refused or not written
    void JvXPButton3Click(); // "Düzelt": the selected package into the boxes
    void tabloyusilClick();  // "Sil": delete after the question
    void secButClick();      // "Seç" (also a double click): hand the package to the requester
    void kapatButClick();
    void islemTutariEditExit(); // the price box reformatted on leaving

    // Who asked for a choice: "anamenu" (the appointment entry), "aylik" (the planner), or
    // empty when nobody has yet.
    QString paketIsteyen;

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
};

} // namespace lumkar
