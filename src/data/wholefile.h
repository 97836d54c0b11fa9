#pragma once
// Writing a file whole or not at all: the bytes go to a temporary file beside the target,
// which replaces the target only when every byte reached the disk. A full disk or a folder
// that refuses the write never leaves an empty or cut-off file behind, and a file that was
// there keeps what it held.

#include <QByteArray>
#include <QString>

class QFileDevice;

namespace lumkar {

// False when the disk refused the write, with the cause in the user's words (Turkish, with
// the system's own text after a colon) in `cause`.
bool writeWholeFile(const QString &path, const QByteArray &bytes, QString *cause);

// The cause of a failed read or write of `device` in the user's words.
QString fileErrorCause(const QFileDevice &device);

} // namespace lumkar
