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

#include "plot/character_tally.h"

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QImage>
#include <QRawFont>
#include <QString>

#include <array>
#include <memory>
#include <vector>

class QPaintDevice;

namespace nikra {

// The installed face used for a face as users name it in their files.
QString standInFace(const QString &named);

struct MadeFont {
    QFont font;          // sized for the device it was made for
    double xScale = 1;   // horizontal scale that brings the average width to the request
    double ascent = 0;   // device units from the cell's top to the baseline
    int measures = -1;   // where the factory that made it keeps its text widths
};

class FontFactory {
public:
    FontFactory();

    // cellHeight and averageWidth in device units of `device`. The same request gives the
    // same font, made once.
    MadeFont make(const QString &face, double cellHeight, double averageWidth, const QPaintDevice &device);
    // The advance of a text in device units of `device`, scale included, laid out whole.
    static double advance(const MadeFont &made, const QString &text, const QPaintDevice &device);
    // The same advance in a font this factory made, measured once per font: each distinct
    // character once where the text's width is the sum of its characters' (the fonts are
    // unkerned), else the whole text once. Printed comments fit a font to every line, so
    // this is what keeps a page of many or long lines fast.
    double width(const MadeFont &made, const CharacterTally &text, const QPaintDevice &device);
    double width(const MadeFont &made, const QString &text, const QPaintDevice &device);

    // The width in mm of a text in the canvas font of a given width in screen pixels (cell
    // height rnd(1.5 w), average width rnd(w)), measured on the reference screen (96 dpi),
    // never the screen the program runs on: what the printer fits its fonts to and what the
    // metafile centres its texts by, so printed and metafile pages are the same everywhere.
    double screenWidthMm(const QString &face, double widthPx, const CharacterTally &text);
    const QPaintDevice &screen() const { return screen_; }

private:
    struct FaceFigures {
        double cellPerEm;     // ascent + descent, in ems
        double averagePerEm;  // average character width, in ems
    };
    const FaceFigures &figures(const QString &face);

    // What one font (a face at one size on one device) has measured.
    struct Measures {
        QFontMetricsF metrics;
        QRawFont ownGlyphs;  // the face itself, without the faces that stand in for it
        bool unshaped;       // a face known to keep its glyphs' widths next to any other
        // Advances, -1 where a character is not measured alone. The Basic Multilingual
        // Plane in blocks of 256 made as they are first used (a look-up per character and
        // candidate font is the fitting's inner loop), the rest in a table.
        std::array<std::unique_ptr<std::array<double, 256>>, 256> planeZero;
        QHash<char32_t, double> characters;
        QHash<QString, double> texts;  // advances of texts measured whole
    };
    double characterAdvance(Measures &m, char32_t c);
    double measureCharacter(Measures &m, char32_t c);

    struct MadeKey {
        QString face;
        double cellHeight;
        double averageWidth;
        int dpiX;
        int dpiY;
        friend bool operator==(const MadeKey &, const MadeKey &) = default;
        friend size_t qHash(const MadeKey &k, size_t seed = 0)
        {
            return qHashMulti(seed, k.face, k.cellHeight, k.averageWidth, k.dpiX, k.dpiY);
        }
    };

    QImage screen_;  // a page-less reference screen: only its resolution is used
    QHash<QString, FaceFigures> figures_;
    QHash<MadeKey, MadeFont> made_;
    // Fonts of the same face and cell height share their measures (only the scale differs).
    QHash<MadeKey, int> measureIds_;
    std::vector<std::unique_ptr<Measures>> measures_;
};

} // namespace nikra
