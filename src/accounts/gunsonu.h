#pragma once
// The end of a day ("Gün Sonu"): the day's movements of the cash or card book for one user or
// every user, the balance brought forward and the amount on hand after the day, the drawer
// counted piece by piece or as one sum with the difference, "GÜNÜ KAPAT" and the printout. The
// rules live in dayclose.h.

#include "accounts/dayclose.h"
#include "app/formbase.h"
#include "data/dataset.h"
#include "kit/controls.h"
#include "kit/grid.h"

#include <QWidget>

class QDateEdit;
class QFormLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace lumkar {

class ReportPreview;
struct LoggedInUser;

class TgunsonuF : public QWidget, public FormContext, public UserFilterMembers {
    Q_OBJECT
public:
    TgunsonuF(Forms &forms, Session &session);

    // Opened from the main window: the day as the pickers stand, read again.
    void openDay();
    void yukleButClick(); // "BİLGİLERİ YÜKLE": lines, figures and closing read again
    void gunuKapatButClick(); // "GÜNÜ KAPAT"
    ReportPreview *yazButClick(); // "YAZDIR": the preview, or null when it failed
    // After a login: the user filter as the user's rights allow.
    void fitToUser(const LoggedInUser &user);

    QString book() const; // cashBook() or cardBook()
    // The counted amount: by piece, or the one sum typed; false when the sum box is empty or
    // not a number.
    bool countedAmount(double &amount) const;

    QRadioButton *kasaRadio; // "Kasa"
    QRadioButton *kkartRadio; // "Kredi Kartı"
    QDateEdit *gunPicker; // "Gün"
    QPushButton *yukleBut;
    QPushButton *yazBut;
    QPushButton *kapatBut;
    DataSet *hareketTable;
    GridView *hareketGrid;
    QGroupBox *sayimGroup; // "Kasa Sayımı"
    QRadioButton *adetRadio; // "Banknot ve madeni para ile"
    QRadioButton *tutarRadio; // "Tek tutar olarak"
    QVector<QSpinBox *> adetBoxes; // pieces of each denomination (dayclose.h)
    QVector<QLabel *> adetTutarLabels;
    QLineEdit *tutarEdit; // the one sum
    QLineEdit *nakliyekunEdit;
    QLineEdit *tahsilatEdit;
    QLineEdit *odemeEdit;
    QLineEdit *mevcutEdit;
    QLabel *mevcutLabel; // "Kasa Mevcudu" or "KK Mevcudu"
    QLineEdit *sayilanEdit;
    QLineEdit *farkEdit;
    QLabel *farkLabel; // "Kasa fazlası", "Kasa açığı", "Fark yok"
    QLabel *durumLabel; // whether and when the day was closed
    QPushButton *gunuKapatBut;

private:
    void buildWindow();
    QWidget *buildCount();
    // The count's figures: the amount of each denomination, the counted sum, the difference.
    void showCount();
    // The counting part is for the cash book only.
    void bookChosen();
    // Another day, book or user: read again when shown.
    void choicesChanged();
    QVector<int> pieceCounts() const;
    DayCloseEntry closeEntry(double counted) const;

    QFormLayout *m_figuresForm = nullptr;
    DayFigures m_figures;
    DayClosing m_closing;
    bool m_loaded = false; // the figures belong to the choices the pickers show
};

} // namespace lumkar
