#include "data/wholefile.h"

#include <QFile>
#include <QSaveFile>
#include <QStorageInfo>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace lumkar {

QString fileErrorCause(const QFileDevice &device)
{
    QString words;
    switch (device.error()) {
    case QFileDevice::ResourceError:
        words = QStringLiteral("diskte yer kalmadı");
        break;
    case QFileDevice::PermissionsError:
        words = QStringLiteral("yazma izni yok");
        break;
    case QFileDevice::OpenError:
        words = QStringLiteral("dosya açılamadı");
        break;
    default:
        words = QStringLiteral("disk yazmayı kabul etmedi");
        break;
    }
    const QString system = device.errorString();
    return system.isEmpty() || device.error() == QFileDevice::NoError
        ? words
        : words + QStringLiteral(": ") + system;
}

bool noRoomToGrow(const QString &path)
{
    // As much as a disk's smallest free extent: a disk with only crumbs left counts as full.
    constexpr qint64 kProbe = 64 * 1024;
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOSPC || errno == EDQUOT;
    struct stat before { };
    bool full = false;
    if (::fstat(fd, &before) == 0) {
        const QByteArray block(kProbe, '\0');
        const ssize_t written
            = ::pwrite(fd, block.constData(), size_t(block.size()), before.st_size);
        full = written < kProbe
            && (written >= 0 || errno == ENOSPC || errno == EDQUOT || errno == EFBIG);
        if (written > 0 && ::ftruncate(fd, before.st_size) != 0)
            full = true;
    }
    ::close(fd);
    return full;
#else
    return QStorageInfo(path).bytesAvailable() < kProbe;
#endif
}

bool writeWholeFile(const QString &path, const QByteArray &bytes, QString *cause)
{
    auto fail = [cause](const QString &text) {
        if (cause)
            *cause = text;
        return false;
    };
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return fail(fileErrorCause(file));
    // QSaveFile::write only fills a buffer, and commit() does not look at what the flush
    // met: flush and check here, before anything replaces the old file.
    if (file.write(bytes) != bytes.size() || !file.flush()
        || file.error() != QFileDevice::NoError) {
        const QString text = fileErrorCause(file);
        file.cancelWriting();
        return fail(text);
    }
    if (!file.commit())
        return fail(fileErrorCause(file));
    if (cause)
        cause->clear();
    return true;
}

} // namespace lumkar
