#pragma once
// The person accounts: the charges, payments and collections of persons, filtered by code,
// name or dates, with their totals, two printouts and the entry of a collection.

#include "accounts/accountfilters.h"
#include "app/formbase.h"
#include "data/dataset.h"
#include "kit/controls.h"
#include "kit/grid.h"

#include <QWidget>

class QButtonGroup;
class QDateEdit;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
class QToolButton;

namespace lumkar {

class ReportPreview;

class TcariF : public QWidget, public FormContext {
    Q_OBJECT
public:
    TcariF(Forms &forms, Session &session);

    // Opened from the main window: the ledger opened and its totals computed.
    void openAccounts();
    // The totals of the lines shown, and what the printout will say about them.
    void ToplamAl();
    // A person chosen in the person list: the person boxes filled, the lines read again
    // with the current filter, the totals computed.
    void setAccountPerson(const QString &code, const QString &adi, const QString &soyadi);
    void yenileButClick();          // "Yenile...": filter again, totals
    void tahsilButClick();          // "Tahsilat Ekle"
    ReportPreview *yazButClick();   // "Yazdır...": the preview, or null when it failed
    void openPersonList();          // double click on a person box
    void helpClick();
    // After another window wrote account lines: the shown lines read again.
    void reloadRows();

    DataSet *cariTable;
    GridView *JvDBUltimGrid1;
    QLineEdit *kisinoedit; // "Kodu"
    QLineEdit *AdiEdit;
    QLineEdit *SoyadiEdit;
    CheckBox *firmakoduBox; // "Kodu Sınırla"
    CheckBox *firmaadiBox;  // "Adı Soyadı Sınırla"
    CheckBox *tarihBox;     // "Tarihler Arası Sınırla"
    QDateEdit *JvDateTimePicker1; // "Başlama Tarihi"
    QDateEdit *JvDateTimePicker2; // "Bitiş Tarihi"
    QPushButton *yenileBut;
    QPushButton *yazBut;
    QPushButton *kapatBut;
    QLineEdit *borcEdit;
    QLineEdit *alacakEdit;
    QLineEdit *bakiyeEdit;
    QDateEdit *JvDateTimePicker3; // "İşlem Tarihi"
    QDateEdit *JvDateTimePicker4; // "İşlem Vadesi"
    QLineEdit *tahsiledilenEdit;
    QRadioButton *nakitRadio;     // "Nakit"
    QRadioButton *krediKartiRadio; // "Kredi Kartı"
    QPushButton *tahsilBut;
    QToolButton *tfXPButton1;
    QMenu *PopupMenu1;

    // What the last totals run left for the printout.
    QString raporTuru; // "tarih" or "firma"
    QString raporIlkTarih;
    QString raporSonTarih;
    QString raporAdi;
    QString raporSoyadi;

signals:
    // The person register is empty and the user wants to enter a new person.
    void newPersonWanted();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildWindow();
    // Reads the lines again with the filter of the boxes; false when the read failed.
    bool applyFilter();
    AccountFilter m_filter; // the lines shown
    void keepOneCriterion(CheckBox *chosen);
};

} // namespace lumkar
