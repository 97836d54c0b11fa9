#pragma once
// The appointment reminders window: a day's waiting appointments (tomorrow's when opened),
// one user's or everyone's as the user's rights allow, each with the person's mobile number,
// e-mail address and the reminder text made from the template; the list goes to a CSV file
// for a messaging service, or by e-mail through the outgoing mail server set here.

#include "app/formbase.h"
#include "appointments/remindersettings.h"
#include "kit/controls.h"

#include <QWidget>

class QCheckBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace lumkar {

class GridModel;
class GridView;
struct LoggedInUser;

class ThatirlatmaF : public QWidget, public FormContext, public UserFilterMembers {
    Q_OBJECT
public:
    ThatirlatmaF(Forms &forms, Session &session);

    // Shows the window with the settings read from their file and the day's list.
    void openReminders();
    // Reads the day's waiting appointments again; false when the database could not be read
    // (the user was told).
    bool listele();
    // Sends the reminders not yet sent by e-mail, after a question.
    void gonder();
    // Writes the template and the mail server settings to their file.
    void ayarlariKaydet();
    void varsayilanSablon();
    void kapatButClick();
    // After a login: the user filter as the user's rights allow.
    void fitToUser(const LoggedInUser &user);

    // The rows as listed, with their states.
    const QVector<ReminderRow> &rows() const { return m_rows; }
    // The template and the server as the boxes hold them.
    ReminderTemplate currentTemplate() const;
    MailServer currentServer() const;

    // The grid's columns.
    enum Column { Tarih, Saat, Adi, Soyadi, Paket, Personel, Ceptel, Eposta, Metin, Durum };

    QDateEdit *gunTarihi;
    QPushButton *listeleBut;
    QPushButton *gonderBut;
    QPushButton *disaAktarBut;
    QPushButton *kapatBut;
    GridView *hatirlatmaGrid;
    QLineEdit *konuEdit;
    QPlainTextEdit *metinEdit;
    QLabel *alanlarLabel;
    QLabel *bilinmeyenLabel;
    QPushButton *varsayilanBut;
    QLineEdit *sunucuEdit;
    QLineEdit *portEdit;
    QCheckBox *tlsBox;
    QLineEdit *kullaniciEdit;
    QLineEdit *sifreEdit;
    QCheckBox *sifreSaklaBox;
    QLineEdit *gonderenEdit;
    QPushButton *kaydetBut;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildWindow();
    QWidget *buildTemplateBox();
    QWidget *buildServerBox();
    void showSettings(const ReminderSettings &settings);
    // The mail server boxes checked: empty when they hold a usable setting (or nothing), else
    // the refusal to show.
    QString serverRefusal(bool forSending) const;
    void templateChanged();
    void showRow(int row);
    void showAllRows();
    void fitColumns();
    QString settingsPath() const;

    QVector<ReminderRow> m_rows;
    GridModel *m_cells = nullptr;
};

} // namespace lumkar
