#include "app/programfolders.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

namespace lumkar {

namespace {
// The topic every copy of the help has.
const char *kFirstTopic = "ygiris";
} // namespace

bool folderAcceptsFiles(const QString &folder)
{
    if (!QFileInfo(folder).isDir())
        return false;
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".yazilabilir.XXXXXX")));
    return probe.open();
}

QString packageHelpFolder(const QString &executableFolder)
{
    return QDir::cleanPath(
        QDir(executableFolder).filePath(QStringLiteral("../share/lumkar-dorvalen/help")));
}

ProgramFolders chooseProgramFolders(const QString &executableFolder,
                                    const QString &userDataFolder)
{
    ProgramFolders folders;
    const QString beside = QDir(executableFolder).absolutePath();
    if (folderAcceptsFiles(beside) || userDataFolder.isEmpty()) {
        folders.data = beside;
    } else {
        // A folder that cannot be made is told by the database when it opens there.
        QDir().mkpath(userDataFolder);
        folders.data = QDir(userDataFolder).absolutePath();
    }
    const QString packaged = packageHelpFolder(beside);
    const bool helpBeside = QFileInfo::exists(QDir(beside).filePath(QLatin1String(kFirstTopic)));
    folders.help = !helpBeside && QFileInfo::exists(QDir(packaged).filePath(QLatin1String(kFirstTopic)))
        ? packaged
        : beside;
    return folders;
}

} // namespace lumkar
