#pragma once
// A slot's comment text under its frame: from half a line below the stacked axis texts,
// 10 mm left of the frame, one text line per piece. A piece ends at an LF, at the first
// character that makes it XWD + 100 mm wide or wider, or at the end of the file line; an
// empty file line still takes a line height.

#include "plot/pass_state.h"
#include "plot/surface.h"

#include <QStringList>

#include <functional>

namespace nikra {

// The pieces of one file line, each with the LF that ended it (if any). A tab takes the
// piece to its next tab stop, tabStopMm apart (0: measured as a character).
QStringList commentPieces(const QString &line, double limitMm, const std::function<double(const QString &)> &widthMm,
                          double tabStopMm = 0);

// drawSlotComments's drawing: lowers LowestY to the last line's bottom.
void drawComments(Surface &surface, PassState &state, const QStringList &lines);

} // namespace nikra
