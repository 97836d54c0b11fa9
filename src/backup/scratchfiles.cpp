#include "backup/scratchfiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <climits>
#include <csignal>
#endif

namespace lumkar {

namespace {

QString kindWord(ScratchKind kind)
{
    switch (kind) {
    case ScratchKind::Copy:
        return QStringLiteral("kopya");
    case ScratchKind::Partial:
        return QStringLiteral("yaziliyor");
    case ScratchKind::Unpacked:
        return QStringLiteral("aciliyor");
    }
    return QString();
}

const QRegularExpression &scratchName()
{
    static const QRegularExpression name(
        QStringLiteral("^.+\\.lumkar-(\\d{1,19})-(kopya|yaziliyor|aciliyor)\\.[A-Za-z0-9]{6}$"));
    return name;
}

// Whether the process with this number runs; a number that cannot be checked counts as
// running.
bool processRuns(qint64 pid)
{
#ifdef Q_OS_UNIX
    if (pid <= 0)
        return true;
    if (pid > INT_MAX)
        return false;
    return ::kill(pid_t(pid), 0) == 0 || errno != ESRCH;
#else
    Q_UNUSED(pid);
    return true;
#endif
}

} // namespace

QString scratchTemplate(const QString &base, ScratchKind kind)
{
    return base
        + QStringLiteral(".lumkar-%1-%2.XXXXXX")
              .arg(QCoreApplication::applicationPid())
              .arg(kindWord(kind));
}

void sweepScratch(const QString &folder)
{
    if (folder.isEmpty())
        return;
    const QDir dir(folder);
    for (const QString &name : dir.entryList(QDir::Files | QDir::Hidden | QDir::NoSymLinks)) {
        const QRegularExpressionMatch match = scratchName().match(name);
        if (match.hasMatch() && !processRuns(match.captured(1).toLongLong()))
            QFile::remove(dir.filePath(name));
    }
}

} // namespace lumkar
