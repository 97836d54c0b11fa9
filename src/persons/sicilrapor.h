#pragma once
// The person list: lists, narrows, searches, sorts and prints the person register and hands
// the chosen person to the window that opened it.

#include "app/formbase.h"
#include "data/dataset.h"
#include "kit/grid.h"
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
    void titleClick(int column); // sort by the column
    void helpClick();

    // The filter as the boxes stand now.
    PersonListFilter currentFilter() const;
    // The empty phone box as it reads.
    static QString emptyPhoneText();
    static QString previewTitle()
    {
        return QStringLiteral("Lumkar Rapor Önizleme - Firma Sicil Takip Kartları");
    }

    DataSet *sicrapQuery;
    QString listeIsteyen; // who opened the list: "randevu", "aylik", "sicil", "cari"
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

protected:
    void showEvent(QShowEvent *event) override; // the name box takes the focus
    void hideEvent(QHideEvent *event) override;

private:
    void buildWindow();
    void buildMenu();
    void handOver();

    PersonListFilter m_filter;
    bool m_filterStale = true; // a box changed since the filter was made
    EnterAsTab *m_enterAsTab = nullptr;
};

} // namespace lumkar
