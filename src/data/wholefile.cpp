#include "data/wholefile.h"

#include <QSaveFile>

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
