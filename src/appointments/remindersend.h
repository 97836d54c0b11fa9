#pragma once
// Sending reminders by e-mail: each one written in the log before it goes out, sent in a
// worker thread while the program keeps answering and shows its progress, then marked sent,
// or failed with the cause (and taken out of the log, so that a later send tries again).

#include "appointments/reminders.h"
#include "appointments/smtpmail.h"

#include <functional>

namespace lumkar {

class Dialogs;

// The subject and the text of a reminder, with fields.
struct ReminderTemplate {
    QString subject;
    QString text;
};

class ReminderSending {
public:
    ReminderSending(QSqlDatabase db, Dialogs &dialogs, const MailServer &server,
                    const QString &userCode)
        : m_db(db), m_dialogs(dialogs), m_server(server), m_userCode(userCode)
    {
    }

    // Sends the reminder of every row waiting to be sent, in order. Each row's new state is
    // written into `rows` and told through `changed` (with the row's index) when it is known.
    // Stops after the mail under way once the user pressed "İptal", and at once when the log
    // cannot be written (the user is told). False when it stopped for the log.
    bool send(QVector<ReminderRow> &rows, const ReminderTemplate &pattern,
              const std::function<void(int row)> &changed);

    int sent() const { return m_sent; }
    int failed() const { return m_failed; }
    bool canceled() const { return m_canceled; }

private:
    QSqlDatabase m_db;
    Dialogs &m_dialogs;
    MailServer m_server;
    QString m_userCode;
    int m_sent = 0;
    int m_failed = 0;
    bool m_canceled = false;
};

// The rows a send would send now.
int remindersToSend(const QVector<ReminderRow> &rows);

// What a send tells at its end: how many went and how many did not, the first of those that
// did not with their causes, and whether it was broken off.
QString reminderSendSummary(const ReminderSending &sending, const QVector<ReminderRow> &rows);

} // namespace lumkar
