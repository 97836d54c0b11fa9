#pragma once
// Reminders of waiting appointments: the text of each from a template with bracketed fields,
// the waiting appointments of one day with the person's mobile number and e-mail address from
// the register, and the log of reminders sent by e-mail (table `hatirlatma`), which keeps any
// reminder from going out twice.

#include <QDate>
#include <QDateTime>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QTime>
#include <QVector>

namespace lumkar {

// One waiting appointment as its reminder needs it.
struct ReminderAppointment {
    qlonglong rid = 0;
    QString adi;
    QString soyadi;
    QDate day;
    QTime time;
    QString paketadi;
    QString owner;     // RKime
    QString ownerName; // Rkimeadsoyad
    QString ceptel;    // the register's mobile number, else the one the appointment carries
    QString email;     // the register's e-mail address
};

// The fields a template may hold, [AD], [SOYAD], [TARİH], [GÜN], [SAAT], [PAKET] and
// [PERSONEL], with what each stands for, in one line for the window.
QString reminderFieldsHelp();
// The template with every field replaced by the appointment's value. A field's name matches
// whatever its case and with or without the dot of the i ("[tarih]", "[TARIH]"); a bracketed
// word that is no field stays as it is written.
QString reminderText(const QString &pattern, const ReminderAppointment &appointment);
// The bracketed words of a template that are no field, each once, in the order written.
QStringList unknownFields(const QString &pattern);

QString defaultReminderSubject();
QString defaultReminderText();

// One e-mail address: a name, "@", a domain with a dot, no blanks, brackets or separators.
bool isMailAddress(const QString &address);

enum class ReminderState {
    ToSend,      // an address, nothing sent yet
    NoAddress,   // the register has no e-mail address for the person
    BadAddress,  // what the register holds is no e-mail address
    Sent,        // the mail server took it
    Interrupted, // a send began and never ended (the program stopped): not sent again
    Failed,      // the last try failed; a later send tries again
};

struct ReminderRow {
    ReminderAppointment appointment;
    ReminderState state = ReminderState::ToSend;
    QDateTime when; // of the send, for Sent and Interrupted
    QString cause;  // of the failure, for Failed
};

// The state of a row as the list shows it.
QString reminderStateText(const ReminderRow &row);

// The waiting appointments of `day` (one user's when `oneUser`), by time, each with what the
// log holds for its reminder. False when the database could not be read (the user was told).
bool readReminders(QSqlDatabase db, const QDate &day, bool oneUser, const QString &user,
                   QVector<ReminderRow> &rows);

// The log of sent reminders. A reminder is the appointment's number, the address and the
// appointment's day and time: a moved appointment is reminded of again.
class ReminderLog {
public:
    explicit ReminderLog(QSqlDatabase db) : m_db(db) {}

    enum class Claim { Claimed, AlreadyThere, Failed };
    // Writes, before the mail goes out, that the reminder is being sent by `sender` (a user
    // code). AlreadyThere when it was sent (or begun) before, from any desk, with the state
    // and time the log holds in `previous`; Failed when the database refused (errorText()).
    Claim claim(const ReminderAppointment &appointment, const QString &sender,
                const QDateTime &now, ReminderRow &previous);
    // The mail server took it: the row is marked sent.
    bool confirm(const ReminderAppointment &appointment, const QDateTime &now);
    // The mail did not go out: the row goes, so that a later send tries again.
    bool release(const ReminderAppointment &appointment);
    QString errorText() const { return m_error; }

private:
    QSqlDatabase m_db;
    QString m_error;
};

} // namespace lumkar
