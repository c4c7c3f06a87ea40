#pragma once
// Fonts made the way a size key asks for them: by the height of the character cell and the
// average character width, both in device units, weight 500, in the face a file names
// (through the installed face that stands in for it).
//
// The average width is the named face's own figure, not the stand-in's: Liberation Serif
// has the letter widths of Times New Roman but reports a 37 % wider average, so asking it
// for the average would make every text too narrow. The difference between the wanted and
// the face's natural average width becomes a horizontal scale, applied when the text is
// drawn and measured, so fractional sizes stay as they are.

#include <QFont>
#include <QHash>
#include <QImage>
#include <QString>

class QPaintDevice;

namespace nikra {

// The installed face used for a face as users name it in their files.
QString standInFace(const QString &named);

struct MadeFont {
    QFont font;          // sized for the device it was made for
    double xScale = 1;   // horizontal scale that brings the average width to the request
    double ascent = 0;   // device units from the cell's top to the baseline
};

class FontFactory {
public:
    FontFactory();

    // cellHeight and averageWidth in device units of `device`.
    MadeFont make(const QString &face, double cellHeight, double averageWidth, const QPaintDevice &device);
    // The advance of a text in device units of `device`, scale included.
    static double advance(const MadeFont &made, const QString &text, const QPaintDevice &device);

    // The width in mm of a text in the canvas font of a given width in screen pixels (cell
    // height rnd(1.5 w), average width rnd(w)), measured on the reference screen (96 dpi),
    // never the screen the program runs on: what the printer fits its fonts to and what the
    // metafile centres its texts by, so printed and metafile pages are the same everywhere.
    double screenWidthMm(const QString &face, double widthPx, const QString &text);
    const QPaintDevice &screen() const { return screen_; }

private:
    struct FaceFigures {
        double cellPerEm;     // ascent + descent, in ems
        double averagePerEm;  // average character width, in ems
    };
    const FaceFigures &figures(const QString &face);

    QImage screen_;  // a page-less reference screen: only its resolution is used
    QHash<QString, FaceFigures> figures_;
};

} // namespace nikra
