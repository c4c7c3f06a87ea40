#pragma once
// A PDF document written as it is made: each page's content goes out in compressed pieces
// while the page is drawn, so a page of a hundred thousand markers needs no more memory
// than one piece; the fonts the pages used follow at the end, subset to their glyphs.
//
// Nothing in it depends on the moment or on hash order: objects are numbered in the order
// they are first needed and font names on a page in the order the page first uses them,
// so the same pages give the same bytes, and a page gives the same content wherever it
// stands in a document.

#include "output/pdf_fonts.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <vector>

class QIODevice;

namespace nikra {

struct PdfInfo {
    QString title;
    QString producer;
    QDateTime created;  // written in UTC
};

class PdfDocument {
public:
    PdfDocument(QIODevice *output, const PdfInfo &info);
    PdfDocument(const PdfDocument &) = delete;
    PdfDocument &operator=(const PdfDocument &) = delete;

    // A page of the given size in points; its content is drawn in device units, `unitsPerPt`
    // to the point, from the top-left corner downward.
    void beginPage(double widthPt, double heightPt, double unitsPerPt);
    // The content of the page being drawn; the writer appends whole operators to it and
    // then calls contentAdded(), which sends a full piece on its way.
    QByteArray &content() { return content_; }
    void contentAdded()
    {
        if (content_.size() >= kPieceSize)
            sendPiece();
    }
    // The page's resource name of a font ("F0", "F1", ...).
    QByteArray fontName(int font);
    PdfFonts &fonts() { return fonts_; }
    void endPage();

    // The fonts, the page tree and the trailer; false if anything could not be written
    // (a write failed, or a font could not be embedded).
    bool finish();

private:
    static constexpr qsizetype kPieceSize = qsizetype(1) << 22;
    static constexpr qsizetype kSmallPage = qsizetype(1) << 20;

    int newObject();
    void beginObject(int id);
    void writeObject(int id, const QByteArray &body);
    void writeStream(int id, const QByteArray &dictionary, const QByteArray &data);
    void sendPiece();
    void write(const QByteArray &bytes);

    struct Page {
        int id;
        QByteArray mediaBox;
        std::vector<int> contents;
        QByteArray fonts;  // the /Font dictionary's entries
    };

    QIODevice *out_;
    PdfInfo info_;
    qint64 written_ = 0;
    bool ok_ = true;
    std::vector<qint64> offsets_;  // by object number - 1; -1 until written
    std::vector<Page> pages_;
    bool inPage_ = false;
    QByteArray content_;
    std::vector<int> pageFonts_;  // the document's font numbers in the page's order
    PdfFonts fonts_;
    std::vector<int> fontObjects_;  // by font number; 0 until a page names it
    int catalog_ = 0;
    int pageTree_ = 0;
};

// A number as PDF writes it: at most `decimals` decimals, no trailing zeros.
void appendNumber(QByteArray &out, double value, int decimals = 6);
// A 16-bit value as four hexadecimal digits, as glyph numbers and UTF-16 units stand in
// hexadecimal strings.
void appendHex4(QByteArray &out, quint32 value);
// A text as UTF-16 units in hexadecimal, without the string's brackets.
void appendUtf16Hex(QByteArray &out, const QString &text);

} // namespace nikra
