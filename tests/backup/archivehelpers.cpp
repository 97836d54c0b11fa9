#include "archivehelpers.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QUuid>
#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <quazip/quazipnewinfo.h>
#include <zlib.h>

namespace lumkar::test {

bool makeZip(const QString &path, const ZipEntries &entries)
{
    QuaZip zip(path);
    if (!zip.open(QuaZip::mdCreate))
        return false;
    for (const auto &entry : entries) {
        QuaZipFile out(&zip);
        if (!out.open(QIODevice::WriteOnly, QuaZipNewInfo(entry.first)))
            return false;
        out.write(entry.second);
        out.close();
        if (out.getZipError() != ZIP_OK)
            return false;
    }
    zip.close();
    return zip.getZipError() == ZIP_OK;
}

bool makeZipStating(const QString &path, const QString &name, const QByteArray &stored,
    bool deflated, quint64 statedSize)
{
    QuaZip zip(path);
    zip.setZip64Enabled(statedSize >= 0xffffffffu);
    QuaZipNewInfo info(name);
    info.uncompressedSize = statedSize;
    QuaZipFile out(&zip);
    if (!zip.open(QuaZip::mdCreate)
        || !out.open(QIODevice::WriteOnly, info, nullptr, 0, deflated ? Z_DEFLATED : 0, 9, true))
        return false;
    out.write(stored);
    out.close();
    zip.close();
    return out.getZipError() == ZIP_OK && zip.getZipError() == ZIP_OK;
}

QByteArray rawDeflate(const QByteArray &data)
{
    // A zlib stream is a raw deflate stream between a 2-byte header and a 4-byte checksum.
    QByteArray packed(qsizetype(compressBound(uLong(data.size()))), Qt::Uninitialized);
    uLongf size = uLongf(packed.size());
    compress2(reinterpret_cast<Bytef *>(packed.data()), &size,
        reinterpret_cast<const Bytef *>(data.constData()), uLong(data.size()), 9);
    return packed.mid(2, qsizetype(size) - 6);
}

QStringList zipEntryNames(const QString &path)
{
    QuaZip zip(path);
    if (!zip.open(QuaZip::mdUnzip))
        return {};
    return zip.getFileNameList();
}

QByteArray zipEntry(const QString &path, const QString &name)
{
    QuaZip zip(path);
    if (!zip.open(QuaZip::mdUnzip) || !zip.setCurrentFile(name))
        return {};
    QuaZipFile in(&zip);
    if (!in.open(QIODevice::ReadOnly))
        return {};
    return in.readAll();
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

qlonglong rowCount(const QString &databasePath, const QString &table)
{
    const QString name = QUuid::createUuid().toString();
    qlonglong count = -1;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(databasePath);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (db.open()) {
            QSqlQuery q(db);
            if (q.exec(QStringLiteral("SELECT count(*) FROM ") + table) && q.next())
                count = q.value(0).toLongLong();
        }
    }
    QSqlDatabase::removeDatabase(name);
    return count;
}

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

} // namespace lumkar::test
