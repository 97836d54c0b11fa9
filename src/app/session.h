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
    // The help topics are read from `helpFolder`, by default the program folder.
    Session(const QString &programFolder, Dialogs &dialogs, const QString &helpFolder = {})
        : m_folder(QDir(programFolder).absolutePath()),
          m_helpFolder(helpFolder.isEmpty() ? m_folder : QDir(helpFolder).absolutePath()),
          m_database(m_folder), m_dialogs(dialogs)
    {
        // A read that fails underneath any window is told here, once per action.
        m_database.setFailureHandler(
            [this](const QString &text) { m_dialogs.error(programTitle(), text); });
    }

    // The program's folder with a trailing separator.
    QString GetPathPath() const { return m_folder + QLatin1Char('/'); }
    QString filePath(const QString &name) const { return QDir(m_folder).filePath(name); }
    // A help topic file.
    QString helpFilePath(const QString &name) const { return QDir(m_helpFolder).filePath(name); }

    Database &database() { return m_database; }
    QSqlDatabase &db() { return m_database.db(); }
    Dialogs &dialogs() { return m_dialogs; }

    CurrentUser currentUser;

private:
    QString m_folder;
    QString m_helpFolder;
    Database m_database;
    Dialogs &m_dialogs;
};

} // namespace lumkar
