#pragma once
// "nikra render --batch FILE": many pages in one run, drawn side by side on all cores.
//
// Each command line of FILE (or of standard input for "-") is one page: the page file to
// write, then the arguments "nikra render" takes for it (--slot, --pth, --header, --dpi,
// ...), in words split and quoted as a POSIX shell does (shell_words.h). Relative names are
// taken from the current folder, as on the command line. Every page is the page its own
// "nikra render" writes, byte for byte.

#include <QString>

namespace nikra {

// The usage lines of --batch.
QString batchUsage();

// Draws the pages and prints one line per page on standard output in the file's order,
// "ok PAGE" or "failed PAGE: REASON", with that page's file problems before it on standard
// error as "PAGE: TITLE: TEXT". Exit status: 0 every page written, 1 some page not (a
// line's arguments unusable, or a page file that an earlier line writes too, counts as
// such a page), 2 the file cannot be read or leaves a quote open (then no page is drawn).
int runBatch(const QString &file);

} // namespace nikra
