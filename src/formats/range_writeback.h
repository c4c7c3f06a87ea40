#pragma once
// Writing a slot's shifted view back into its Format Data file: lines 4 and 6 are rebuilt
// with the ranges moved by whole divisions, every other line stays as it was. The values
// are written after three blanks each, with "######0.0#####" (FNT with "#######.0#####",
// so 0 is ".0" and 3 is "3.0"); lines end in CR LF; the file keeps its encoding and is
// replaced atomically, so a failure leaves it untouched.

#include <QString>

#include <optional>

namespace nikra {

struct WriteBack {
    // NotRead: the file could not be read or decoded exactly; Unreadable: a line of it holds
    // no usable range.
    enum class Status { Written, Missing, NotRead, Unreadable, Unwritable };
    Status status = Status::Written;
    int line = 0;     // Unreadable: the line that could not be read
    QString failure;  // NotRead, Unwritable: why, in the system's words
};

// The new text of a file (already decoded), or the line that cannot be read. A division
// step is |MX - MN| / |DV| with the file's own DV (0 taken as 1), so a file whose range is
// written high to low moves the way the screen moved.
struct ShiftedText {
    QString text;
    int unreadableLine = 0;
};
ShiftedText shiftedRangesText(const QString &text, float panX, float panY);

WriteBack writeShiftedRanges(const QString &path, float panX, float panY);

} // namespace nikra
