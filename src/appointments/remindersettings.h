#pragma once
// The reminders' settings in "hatirlatma.ayr" in the program folder, section "HATIRLATMA": the
// template (subject and text) and the outgoing mail server. The password is kept only when the
// user asks for it, and then only in a file that its owner alone may read; a password found in
// a file that others may read is not used.

#include "appointments/remindersend.h"

namespace lumkar {

struct ReminderSettings {
    ReminderTemplate pattern{defaultReminderSubject(), defaultReminderText()};
    MailServer server;
    bool keepPassword = false;

    // Reads the file; a missing file or key leaves the value above, a port that is no number
    // from 1 to 65535 too. `refusal` (Turkish) says why a password in the file was not taken.
    static ReminderSettings read(const QString &path, QString *refusal);
    // Writes every key in one go. With keepPassword the file is made readable by its owner
    // alone before the password goes in; where the disk cannot keep it so, the password is
    // left out. True when the settings were written; `message` (Turkish) holds what the user
    // must be told: why nothing was written, or that the password was not kept.
    bool write(const QString &path, QString *message) const;

    static QString fileName() { return QStringLiteral("hatirlatma.ayr"); }
    static QString section() { return QStringLiteral("HATIRLATMA"); }
};

// A text on one line of a settings file: a line break as "\n", a backslash as "\\"; and back.
QString oneLineText(const QString &text);
QString textFromOneLine(const QString &line);

} // namespace lumkar
