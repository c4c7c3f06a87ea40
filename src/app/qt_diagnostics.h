#pragma once
// Standard error of the commands without a window carries the program's own lines only
// (TITLE: TEXT messages and its own errors), so scripts can read it. Qt's diagnostics
// (no runtime folder on a headless machine, font and platform notes) stay out of it
// unless asked for.

namespace nikra {

// verbose: Qt's diagnostics go to standard error as Qt writes them; otherwise only a
// fatal one (which ends the program) is shown.
void routeQtDiagnostics(bool verbose);

} // namespace nikra
