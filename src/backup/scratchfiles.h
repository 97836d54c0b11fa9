#pragma once
// The files a backup or a restore writes while it works (the copy of the database,
// the archive being written, the files being unpacked) carry the number of the process that
// made them in their names. A run that was killed leaves them behind; the next start of the
// program removes those whose process no longer runs.

#include <QString>

namespace lumkar {

enum class ScratchKind {
    Copy, // the copy of the database a backup packs
    Partial, // an archive being written beside its final place
    Unpacked, // a file of a restore being unpacked into the data folder
};

// A name template for QTemporaryFile: `base` followed by
// ".lumkar-<process>-<kind>." and six characters that the temporary file fills in.
QString scratchTemplate(const QString &base, ScratchKind kind);

// Removes from `folder` every file named by scratchTemplate() whose process no longer runs.
// Other names, and those of running processes, stay.
void sweepScratch(const QString &folder);

} // namespace lumkar
