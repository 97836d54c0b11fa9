#include "archivehelpers.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QUuid>
#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <quazip/quazipnewinfo.h>

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
