#pragma once
// The checker's reference panel: every Format Data key with its meaning and allowed values,
// as users have always read it beside the text (half-width kana, full-width blanks and the
// leading blanks are part of the layout).

#include <QList>
#include <QString>
#include <QStringList>

namespace nikra {

// The panel's 135 lines, without line ends.
QStringList keyReferenceLines();

// The panel's text: every line followed by CR LF, the last one included.
QString keyReferenceText();

// Where the squares of the PCL colour list stand in the panel's text: the seventeen "■"
// after the first one (which belongs to the marker list and keeps the text colour), in the
// order of the colours 0 to 15 and then white.
QList<qsizetype> colourSquarePositions(const QString &text);

} // namespace nikra
