#pragma once
// Standard error of the commands without a window carries the program's own lines only
// (TITLE: TEXT messages and its own errors), so scripts can read it. Qt's diagnostics
// (no runtime folder on a headless machine, font and platform notes) stay out of it
// unless asked for.

namespace nikra {

// verbose: Qt's diagnostics go to standard error as Qt writes them; otherwise only a
// fatal one (which ends the program) is shown.
void routeQtDiagnostics(bool verbose);

// The desktop program shows Qt's diagnostics as Qt writes them, but one: the note that
// XDG_RUNTIME_DIR is not set (a login without a session manager, su, a container). Qt then
// makes and checks a private folder of its own, and says so if that fails, so the note
// tells the user of no problem. Every other diagnostic goes on to the handler installed
// before, or to standard error.
void dropRuntimeFolderNote();

} // namespace nikra
