#pragma once
// The main window: toolbar, task bar, notes panes, the day view of appointments with the
// entry panels, context menus, function keys and the exit.

#include "data/dataset.h"
#include "kit/controls.h"
#include "kit/grid.h"
#include "shell/formbase.h"

#include <QMainWindow>
#include <memory>
#include <optional>

class QAction;
class QDateEdit;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QTimer;
class QToolButton;

namespace lumkar {

class DailyPrint;

class Tanamenuf : public QMainWindow, public FormContext {
    Q_OBJECT
public:
    Tanamenuf(Forms &forms, Session &session);
    ~Tanamenuf() override;

    // --- the day view of appointments ---
    QDate workingDate() const;
    void setWorkingDate(const QDate &day);
    bool gunYenile();                 // day refresh: notes and the three lists
    bool reopenDayLists();            // the waiting, held and cancelled lists read again
    void JvNavPanelButton10Click();   // "  Yenile": full refresh
    void JvNavPanelButton7Click();    // "GÜNCELLE": re-run the held list
    // Every list of the day and the open lists of other windows read again; false when a
    // read failed (the user was told, the lists keep what they showed).
    bool refreshAll();
    bool rerunHeldList();
    void CheckBox2MouseUp();          // all-users box released with the mouse
    void CheckBox2Exit();             // the focus left the all-users box
    void CheckBox3MouseUp();          // "Tüm Sütunu Göster" released with the mouse
    void CheckBox1Click();            // "Otomatik Yenile"
    void JvDotNetEdit1Change();       // refresh interval typed
    void Timer1Timer();               // one tick of the automatic refresh
    bool openDayLists();              // opens the three lists if they are not open
    void showOwnerColumns(bool show); // first column of the three grids
    bool timerRunning() const;
    int timerInterval() const;

    // --- navigation ---
    void N1KisiGiris();
    void N2KisiListeleri();
    void N3RandevuRaporlari();
    void N4Gorusmeler();
    void N5Aylik();
    void N6Cari();
    void N7KullaniciDegistir();
    void N8Paketler();
    void N9Kasa();
    void N10KrediKarti();
    void JvNavPanelButton6Click(); // "  Kapat": exit with one question
    void helpClick();
    // The entry form's actions; the appointment entry fills them in.
    void JvNavPanelButton2Click(); // "Yeni Rand."
    void JvNavPanelButton1Click(); // " Kaydet", F2
    void JvNavPanelButton3Click(); // " Vazgeç", F3
    void JvNavPanelButton4Click(); // "R.Görüşme"
    void printDay(int printout); // one of DailyPrint::Printout

    // --- notes ---
    void JvDotNetDBMemo5Enter();
    void JvDotNetDBMemo5Exit();
    bool postDailyNote();           // writes a typed daily note at once
    void JvNavPanelButton11Click(); // "Genel Not Gir"
    bool openNoteTables();          // the daily and the general notes of the working day
    bool openDailyNote();  // the user's note of the working day
    bool openGeneralNotes();        // the general notes of the working day

    // Fills the person boxes of the appointment entry with a chosen person.
    struct Person {
        QString sicilKodu, adi, soyadi, tel1, tel2, ceptel, adres;
    };
    void setEntryPerson(const Person &person);

    // Shows `menu` as the context menu of `widget`.
    static void setPopupMenu(QWidget *widget, QMenu *menu);
    static QMenu *popupMenu(QWidget *widget);

    // Toolbar and labels.
    QLabel *kullaniciKoduLabel;
    QLabel *adSoyadLabel;
    QToolButton *JvNavPanelButton2;  // "Yeni Rand."
    QToolButton *JvNavPanelButton1;  // " Kaydet"
    QToolButton *JvNavPanelButton3;  // " Vazgeç"
    QToolButton *JvNavPanelButton4;  // "R.Görüşme"
    QToolButton *JvNavPanelButton5;  // " Yazdır"
    QToolButton *JvNavPanelButton6;  // "  Kapat"
    QToolButton *JvNavPanelButton10; // "  Yenile"
    QToolButton *JvNavPanelButton11; // "Genel Not Gir"
    QToolButton *tfXPButton1;        // help
    TaskBar *JvXPBar1;               // "İşlemler"

    // Notes panes.
    DataSet *ffTable1;  // the user's daily note of the working day
    DataSet *ffTable2;  // the general notes of the working day
    DataSet *ADOTable1; // every general note, for the general-notes window
    QPlainTextEdit *JvDotNetDBMemo5; // "GÜNLÜK NOTLAR"
    QPlainTextEdit *JvDotNetDBMemo2; // "GENEL GÜNLÜK NOTLAR", read-only
    QWidget *gunlukNotPane;
    QWidget *genelNotPane;

    // Top pane.
    QWidget *topPane;
    QDateEdit *JvDateTimePicker1;
    CheckBox *CheckBox2; // "Tüm Kullanıcıların Randevularını Göster"
    QCheckBox *CheckBox1; // "Otomatik Yenile"
    QLineEdit *JvDotNetEdit1; // "Yenileme Süresi"
    CheckBox *CheckBox3; // "Tüm Sütunu Göster"
    QTimer *Timer1;

    // Person panel and appointment entry panel.
    QWidget *kisiPanel;
    QWidget *randevuPanel;
    QLineEdit *kisinoedit;
    QPushButton *JvNavPanelButton8;  // "Getir"
    QPushButton *JvNavPanelButton9;  // "Listeden Getir"
    QLineEdit *AdiEdit;
    QPushButton *JvNavPanelButton20; // "Getir" beside the name
    QLineEdit *SoyadiEdit;
    QLineEdit *Telefon1Edit;
    QLineEdit *Telefon2Edit;
    QLineEdit *CepTelefonEdit;
    QPlainTextEdit *adresMemo;
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

    // The three lists.
    DataSet *randevuTable; // waiting
    DataSet *ffQuery1;     // held
    DataSet *ffQuery4;     // cancelled
    GridView *JvDBUltimGrid1;
    GridView *bolumgrid2;
    GridView *JvDBUltimGrid4;
    QWidget *bekleyenPane;
    QWidget *gorusulenPane;
    QWidget *iptalPane;
    QLabel *gorusulenHeader;
    QPushButton *JvNavPanelButton13; // "DEĞİŞTİR" of the waiting pane
    QPushButton *JvNavPanelButton7;  // "GÜNCELLE"
    QPushButton *gorusulenDegistirBut;
    QPushButton *bekleyenYazdirBut;
    QPushButton *bekleyenYazdir2But;
    QPushButton *bekleyenYazdir3But;
    QPushButton *gorusulenYazdirBut;
    QPushButton *gorusulenYazdir2But;
    QPushButton *iptalYazdirBut;

    // Menus.
    QMenu *recetemenu;
    QMenu *RandevuMenu;
    QMenu *GorusmePopup;
    QMenu *iptalPopup;
    QMenu *BosPopup;
    QAction *kaydetAction;       // F2
    QAction *vazgecAction;       // F3
    QAction *yazdirAction;       // F4
    QAction *yeniRandevuAction;  // F5
    QAction *listelerAction;     // F6
    QAction *yeniFirmaAction;    // F7
    QAction *randevuRaporAction; // F9
    QAction *kapatAction;        // F10

    bool exitConfirmed() const { return m_exitConfirmed; }
    // The printouts of the three lists (pane buttons, " Yazdır" and F4).
    DailyPrint &dailyPrint() const { return *m_dailyPrint; }

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildFrame();
    void buildDayView(QWidget *listsArea);
    void buildEntryPanels();
    void buildNotes();
    void buildMenus();
    bool askExit();
    void deleteTraceFile();
    void applyTimer();

    std::unique_ptr<DailyPrint> m_dailyPrint;
    QString m_traceFile;
    bool m_exitConfirmed = false;
    bool m_timerOn = false;
    bool m_refreshing = false;             // an automatic refresh is running
    bool m_automaticRefreshFailed = false; // the last one met a failure and told it
    QDate m_notesDay; // the day the daily-note table was opened for
    // The daily note whose write failed and was told; the same note failing again (on leaving
    // the memo, at a user change, at program end) is not told twice.
    std::optional<QString> m_refusedNote;
};

} // namespace lumkar
