#pragma once
// A text of command lines split into words the way a POSIX shell splits and unquotes them,
// with nothing expanded: a list of pages can be written, and checked, as lines of a shell
// script would be.
//
// Words are separated by blanks and tabs. 'single quotes' keep everything up to the next
// single quote; "double quotes" keep everything but a backslash before " \ $ ` or a line
// end (the backslash is dropped, and a backslash with its line end joins two lines); outside
// quotes a backslash keeps the next character as it is (with a line end: joins the lines).
// An unquoted # that begins a word starts a comment to the end of the line. A line end
// outside quotes ends a command line; CR LF counts as one line end. Nothing is expanded and
// nothing is an operator: $, `, ~, *, ?, ;, |, &, <, > and brackets stand for themselves.

#include <QString>
#include <QStringList>
#include <QStringView>

#include <vector>

namespace nikra {

struct ShellLine {
    int number = 0;  // the text's line on which the command line's first word stands, from 1
    QStringList words;
};

struct ShellLines {
    std::vector<ShellLine> lines;  // command lines with at least one word, in order
    int unclosedQuoteLine = 0;     // the line of a quote the text never closes; else 0
};

ShellLines splitShellLines(QStringView text);

} // namespace nikra
