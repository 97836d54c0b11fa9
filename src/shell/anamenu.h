#pragma once
// The main window: toolbar, task bar, menus, function keys, the automatic refresh and the
// exit; it composes the entry form, the day lists and the note panes and hands them out.

#include "app/formbase.h"
#include "kit/controls.h"

#include <QMainWindow>

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QTimer;
class QToolButton;

namespace lumkar {

class DayLists;
class EntryForm;
class NotesPanes;
struct LoggedInUser;

// The automatic refresh as the settings file keeps it: the interval as typed (seconds) and
// whether "Otomatik Yenile" is ticked.
struct RefreshSettings {
    QString interval;
    bool automatic = false;
};

class Tanamenuf : public QMainWindow, public FormContext {
    Q_OBJECT
public:
    Tanamenuf(Forms &forms, Session &session);
    ~Tanamenuf() override;

    // The parts.
    EntryForm *entryForm() const { return m_entryForm; }
    DayLists *dayLists() const { return m_dayLists; }
    NotesPanes *notesPanes() const { return m_notesPanes; }

    QDate workingDate() const;
    void setWorkingDate(const QDate &day);
    bool gunYenile(); // day refresh: notes and the three lists
    void JvNavPanelButton10Click(); // "  Yenile": full refresh
    // Every list of the day and the open lists of other windows read again; false when a
    // read failed (the user was told, the lists keep what they showed).
    bool refreshAll();
    void CheckBox1Click(); // "Otomatik Yenile"
    void JvDotNetEdit1Change(); // refresh interval typed
    // One tick of the automatic refresh; while the user answers a question or a dialog the
    // refresh waits and runs once the user is done.
    void Timer1Timer();
    bool refreshWaiting() const; // a tick waits for the user
    bool userIsAnswering() const;
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
    void N11Hatirlatmalar(); // reminders of the next day's appointments
    void N12GunSonu();       // closing the cash or card day
    void N13PrimRaporu();    // commissions
    void JvNavPanelButton6Click(); // "  Kapat": exit with one question
    void helpClick();
    void JvNavPanelButton2Click(); // "Yeni Rand."
    void JvNavPanelButton1Click(); // " Kaydet", F2
    void JvNavPanelButton3Click(); // " Vazgeç", F3
    void JvNavPanelButton4Click(); // "R.Görüşme"
    void GorusmeYap1Click();       // "Görüşme Yap" of the waiting list's menu
    // A visit from the selected waiting appointment ("R.Görüşme", "Görüşme Yap", a double
    // click in the waiting list, "Randevulu Muayene").
    void startVisit();
    // The visit of the selected held appointment into the visits window ("DEĞİŞTİR" of the
    // held pane, its hidden "Değiştir").
    void changeHeldVisit();
    void JvNavPanelButton11Click(); // "Genel Not Gir"
    bool postDailyNote(); // writes a typed daily note at once

    // Shows the context menus as the user's rights allow.
    void setMenusAllowed(bool mayAdd);
    // After a login: the window and its parts fitted to the user's rights.
    void fitToUser(const LoggedInUser &user);
    // After a login, the window shown: today's lists and notes read, the date picker focused.
    void startWorkingDay();

    RefreshSettings refreshSettings() const;
    void setRefreshSettings(const RefreshSettings &settings);
    void stopAutomaticRefresh();

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

    // Top pane: the automatic refresh.
    QWidget *topPane;
    QCheckBox *CheckBox1; // "Otomatik Yenile"
    QLineEdit *JvDotNetEdit1; // "Yenileme Süresi"
    QTimer *Timer1;

    // Menus.
    QMenu *recetemenu;
    QMenu *RandevuMenu;
    QAction *gorusmeYapAction;         // "Görüşme Yap"
    QAction *randevuGerceklestiAction; // "Randevu Gerçekleşti"
    QAction *randevuIptalAction;       // "Bu Randevuyu İptal Et"
    QAction *randevuDegistirAction;    // "Randevu Bilgilerini Değiştir"
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

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildFrame();
    void buildMenus();
    void buildRefreshControls();
    bool askExit();
    void deleteTraceFile();
    void applyTimer();

    EntryForm *m_entryForm = nullptr;
    DayLists *m_dayLists = nullptr;
    NotesPanes *m_notesPanes = nullptr;
    QString m_traceFile;
    bool m_exitConfirmed = false;
    bool m_timerOn = false;
    QTimer *m_refreshWaits = nullptr;      // looks again whether the user is done
    bool m_refreshing = false;             // an automatic refresh is running
    bool m_automaticRefreshFailed = false; // the last one met a failure and told it
    QTimer *m_otherDeskRefresh = nullptr;  // gathers the notices of another desk's action
    bool m_otherDeskWrote = false;         // a refresh for another desk's write is due
};

} // namespace lumkar
