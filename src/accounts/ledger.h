#pragma once
// The cash ledger and the credit-card ledger: one window class, two books. Everything that
// differs between the two is data (LedgerBook).

#include "app/formbase.h"
#include "data/dataset.h"
#include "kit/controls.h"
#include "kit/grid.h"

#include <QWidget>

class QDateEdit;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;

namespace lumkar {

class ReportPreview;
struct LoggedInUser;

// Why a line of the cash or card book may not be deleted there, or empty when it may: a line
// that a visit (`gorusme_no`) or a collection (`tahsilatno`) wrote belongs to it, and is
// changed or deleted where it was made. A number of 0 links nothing.
QString postedLineRefusal(const QVariant &gorusmeNo, const QVariant &tahsilatNo);

struct LedgerBook {
    QString objectName;      // "kasaF" or "kkartF"
    QString caption;
    QString table;           // "kasa" or "kredikart"
    QString dataSetName;     // "kasaTable" or "kkartTable"
    QString userLabel;       // label of the name picker
    QString allUsersCaption; // caption of the all-users box
    QString balanceLabel;    // "Kasa Mevcudu" or "KK Mevcudu"
    QString outflowQuestion;
    QString deleteQuestion;
    QString titleSuffix;     // after the period in the printout's title
    QString previewTitle;
    QString reportUnit;      // the layouts' unit: "kasa" or "kkart"
};

class LedgerWindow : public QWidget, public FormContext, public UserFilterMembers {
    Q_OBJECT
public:
    LedgerWindow(const LedgerBook &book, Forms &forms, Session &session);

    const LedgerBook &book() const { return m_book; }

    // Opened from the main window: carry-over and totals computed when not yet done.
    void openBook();
    // The balance brought forward: every movement before the period, same user choice.
    void nakliyekun();
    // The period's rows read again with the current choices, and their totals.
    void toplamal();
    void BitBtn2Click();           // "BİLGİLERİ YÜKLE"
    void BitBtn6Click();           // "KAYDET": an outflow
    void deleteMovement();         // context menu "Sil": an outflow of this book
    ReportPreview *BitBtn28Click(); // "YAZDIR": the preview, or null when it failed
    // After another window wrote into this book: the shown rows are read again.
    void reloadRows();
    // After a login: the user filter as the user's rights allow.
    void fitToUser(const LoggedInUser &user);

    DataSet *ledgerTable; // `kasaTable` or `kkartTable`

    QDateEdit *DateTimePicker61; // "İlk Tarih"
    QDateEdit *DateTimePicker1;  // "Son Tarih"
    QPushButton *BitBtn2;
    QPushButton *BitBtn28;
    QPushButton *kapatBut;
    QLineEdit *tahsiledilenEdit; // "Kasa Çıkışı"
    QDateEdit *DateTimePicker2;  // "İşlem Tarihi"
    QLineEdit *paketadiEdit;     // "Açıklama"
    QPushButton *BitBtn6;
    QLineEdit *nakliyekunEdit;
    QLineEdit *tahsilatEdit;
    QLineEdit *odemeEdit;
    QLineEdit *kasabakiyeEdit;
    QLabel *balanceLabel;
    GridView *bolumgrid2;
    QMenu *PopupMenu1;

private:
    void buildWindow();
    bool m_carriedOverRead = false; // the sum of earlier movements was read once
    LedgerBook m_book;
};

class TkasaF : public LedgerWindow {
    Q_OBJECT
public:
    TkasaF(Forms &forms, Session &session);
};

class TkkartF : public LedgerWindow {
    Q_OBJECT
public:
    TkkartF(Forms &forms, Session &session);
};

} // namespace lumkar
