#pragma once
// The login dialog: the program's first and main window. It opens the database, logs a user
// in, fits every window to that user's rights, remembers the last login in Ayar.ini, and ends
// the program when it closes.

#include "app/formbase.h"
#include "app/userrights.h"
#include "kit/controls.h"

#include <QWidget>

class QLineEdit;
class QPushButton;
class QToolButton;

namespace lumkar {

class TPasswordDlg : public QWidget, public FormContext {
    Q_OBJECT
public:
    TPasswordDlg(Forms &forms, Session &session);

    // The Tamam button: one login attempt.
    void OKBtnClick();
    // The three bar items: the master-password gate to the users window.
    void masterGate();
    // "Veritabanı Bağlantısı": the connection window behind the master password, or without it
    // when the database cannot be opened at all.
    void connectionGate();
    // The user chosen in the users window, typed into the boxes ready for "Tamam".
    void offerLogin(const QString &code, const QString &password);

    // Ayar.ini: read the last login; write it; read and write the main window's refresh
    // settings.
    void readLastLogin();
    void writeLastLogin();
    void readRefreshSettings();
    void writeRefreshSettings();
    // The same under the names the program's text gives them.
    void hafiza() { readLastLogin(); }
    void hafiza2() { writeLastLogin(); }
    void hafiza3() { readRefreshSettings(); }
    void hafiza4() { writeRefreshSettings(); }
    QString ayarPath() const;
    // The question asked before a missing database is made anew.
    static QString missingDatabaseQuestion(const QString &path);

    bool loggedIn() const { return m_loggedIn; }
    int failures() const { return m_failures; }
    // Set by the main window's confirmed exit: entering a field no longer opens the users table.
    void setClosing(bool closing) { m_closing = closing; }
    bool closing() const { return m_closing; }

    // Opens the connection if it is not open; shows the cause through Dialogs when it fails
    // and `report` is set.
    bool openConnection(bool report);
    // After the database file was replaced: every data set of every window that is open
    // reads its rows again, so each window shows what the new file holds.
    void reopenOpenDataSets();

    TaskBar *JvXPBar1;
    QLineEdit *kullan;
    QLineEdit *Password;
    QPushButton *OKBtn;
    QCheckBox *CheckBox1; // "Şifre Gizlenmesin"
    QCheckBox *CheckBox2; // "Şifre Hafızaya Alınsın"
    QToolButton *tfXPButton1;
    QPushButton *JvXPButton1; // "Yedek"

signals:
    // A user logged in: every window fits itself to the user's rights.
    void userLoggedIn(const lumkar::LoggedInUser &user);
    // The dialog closed: every window is to be destroyed and the program to end.
    void programEnded();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    QList<QWidget *> windows() const;
    bool openUserTables();
    // The password box holds the master password; otherwise the user is told so.
    bool masterPasswordGiven();
    void showIniError(const QString &text);
    void programEnd();

    int m_failures = 0;
    bool m_loggedIn = false;
    bool m_closing = false;
    bool m_ended = false;
};

} // namespace lumkar
