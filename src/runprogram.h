#pragma once
// The program's run, from the login dialog to its end, beside createForms.

#include "app/forms.h"

#include <functional>

namespace lumkar {

class Dialogs;
struct ProgramFolders;

// Runs the program until its login dialog ends it: the session and every window, the login
// dialog shown and the database opened. Saved connection settings start it again: every
// window and the connection made anew over the new database, so that nothing of the old one
// stays behind. `started` is told of each start, before its event loop runs.
int runProgram(const ProgramFolders &folders, Dialogs &dialogs,
               const std::function<void(Forms &)> &started = {});

} // namespace lumkar
