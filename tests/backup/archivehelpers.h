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
// Writes a zip archive of one entry as it is to be stored (a raw deflate stream when
// `deflated`), stating a size and a CRC-32 of 0 that its data need not have.
bool makeZipStating(const QString &path, const QString &name, const QByteArray &stored,
    bool deflated, quint64 statedSize);
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
