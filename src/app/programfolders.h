#pragma once
// Where a program run keeps its data and settings and finds its help topics. A copy of the
// program in a folder of its own (made by "cmake --install --prefix DIR" or run.sh) keeps
// everything beside the executable; an installed program whose folder the user cannot write
// to keeps its data in the user's data folder and reads the help topics from the package's
// share folder.

#include <QString>

namespace lumkar {

struct ProgramFolders {
    QString data; // data and settings files (the session's program folder)
    QString help; // the help topic files
};

// True when a file can be made in `folder` now (tried, not guessed from permissions).
bool folderAcceptsFiles(const QString &folder);

// The help topics of an installed package, relative to the executable's folder.
QString packageHelpFolder(const QString &executableFolder);

// `userDataFolder` is made when it is used and missing.
ProgramFolders chooseProgramFolders(const QString &executableFolder,
                                    const QString &userDataFolder);

} // namespace lumkar
