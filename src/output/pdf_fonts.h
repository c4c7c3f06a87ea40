#pragma once
// The faces a PDF document's texts are drawn in, and what the document embeds of each: a
// TrueType subset of exactly the glyphs used (glyph numbers kept, so the page content names
// glyphs by their own numbers), their widths, and which characters they show, so readers
// can search and copy the text. The subset is named with a tag made from its glyphs, the
// same tag for the same glyphs on every run.

#include <QByteArray>
#include <QRawFont>
#include <QString>

#include <map>
#include <optional>
#include <vector>

namespace nikra {

// One embedded font, ready to be written as the objects of a Type 0 font.
struct PdfFontParts {
    QByteArray name;          // the tagged name, "ABCDEF+LiberationSerif"
    QByteArray program;       // the TrueType subset, uncompressed
    QByteArray widths;        // the /W array's contents
    QByteArray descriptor;    // the font descriptor's metrics entries
    QByteArray toUnicode;     // the ToUnicode CMap
};

class PdfFonts {
public:
    // The document's number for a glyph run's face; nothing when its glyphs cannot be
    // embedded as TrueType (outlines of another kind): those are drawn as paths.
    std::optional<int> fontFor(const QRawFont &face);
    // The advance of a glyph in thousandths of the font size, as the document's /W states it.
    double width(int font, quint32 glyph) const;
    // A glyph drawn, and the character it shows (0: not known).
    void use(int font, quint32 glyph, char32_t shows);

    // The font subset to its glyphs; nothing when the subsetter failed.
    std::optional<PdfFontParts> parts(int font) const;

private:
    struct Face {
        std::vector<std::pair<const char *, QByteArray>> tables;  // the program's own, as read
        QByteArray baseName;
        int unitsPerEm = 1000;
        std::vector<double> widths;  // by glyph, thousandths of an em, rounded as written
        std::vector<bool> used;
        std::map<quint32, char32_t> shows;
        QByteArray descriptor;
    };

    std::map<QString, int> known_;  // by family, style and weight
    std::vector<Face> faces_;
};

} // namespace nikra
