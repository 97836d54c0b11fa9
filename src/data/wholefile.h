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

// Whether the file at `path` has no room to grow: a block written at its end does not go in
// whole because the disk, the user's share of it or the size a file may reach is used up.
// Asked after a write failed, when the error the writer saw does not tell why (a short
// write carries no cause). The block is taken back at once; the file keeps what it held. Not
// for a file an SQLite connection of this process holds open: closing the probe would drop
// that connection's locks.
bool noRoomToGrow(const QString &path);

} // namespace lumkar
