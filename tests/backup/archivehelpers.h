#pragma once
// What the backup tests share: zip archives made and read in a line, rows counted in a
// database file through a connection of their own, files read whole.

#include <QByteArray>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVector>

namespace lumkar::test {

using ZipEntries = QVector<QPair<QString, QByteArray>>;

// Writes a zip archive holding the given entries; false when it could not be written.
bool makeZip(const QString &path, const ZipEntries &entries);
// Writes a zip archive of one entry whose data and stated size and CRC-32 are given as they
// are to be stored: `packed` is a raw deflate stream, or the data itself when `deflated` is
// false. The archive may so say what its data does not hold.
bool makeZipStating(const QString &path, const QString &name, const QByteArray &packed,
    bool deflated, quint64 statedSize, quint32 statedCrc);
// A raw deflate stream of `data`, as a zip entry holds it.
QByteArray rawDeflate(const QByteArray &data);

// The entry names of an archive, in their order; empty when it cannot be read.
QStringList zipEntryNames(const QString &path);
// One entry's data; empty when it is missing.
QByteArray zipEntry(const QString &path, const QString &name);

QByteArray fileBytes(const QString &path);
bool writeBytes(const QString &path, const QByteArray &bytes);
// The number of rows of a table in a database file, -1 when it cannot be read.
qlonglong rowCount(const QString &databasePath, const QString &table);
// The files of a folder by name.
QStringList filesIn(const QString &folder);

} // namespace lumkar::test
