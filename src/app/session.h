#pragma once
// What every window of one program run shares: the program folder, the database connection,
// the logged-in user and the Dialogs seam.

#include "data/database.h"
#include "kit/dialogs.h"

#include <QDir>
#include <QString>

namespace lumkar {

// The logged-in user: code, full name and the five rights flags ("E", "H" or empty).
struct CurrentUser {
    QString kullanici;
    QString adSoyad;
    QString ekle;
    QString degistir;
    QString herksesigor;
    QString herkesidegistir;
    QString baskasirandevuver;
};

class Session {
public:
    Session(const QString &programFolder, Dialogs &dialogs)
        : m_folder(QDir(programFolder).absolutePath()), m_database(m_folder), m_dialogs(dialogs)
    {
        // A read that fails underneath any window is told here, once per action.
        m_database.setFailureHandler(
            [this](const QString &text) { m_dialogs.error(programTitle(), text); });
    }

    // The program's folder with a trailing separator.
    QString GetPathPath() const { return m_folder + QLatin1Char('/'); }
    QString filePath(const QString &name) const { return QDir(m_folder).filePath(name); }

    Database &database() { return m_database; }
    QSqlDatabase &db() { return m_database.db(); }
    Dialogs &dialogs() { return m_dialogs; }

    CurrentUser currentUser;

private:
    QString m_folder;
    Database m_database;
    Dialogs &m_dialogs;
};

} // namespace lumkar
