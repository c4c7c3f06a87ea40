#pragma once
// Changes to a finished PDF document as Qt's writer makes it: byte ranges replaced, and the
// cross-reference table (every object's offset, the table's own start) moved with them,
// so every object is still found where the table says it is.

#include <QByteArray>

#include <optional>
#include <vector>

namespace nikra {

struct PdfChange {
    qsizetype start = 0;
    qsizetype length = 0;
    QByteArray bytes;  // what stands there instead
};

// The document with the changes made. They may come in any order but must not overlap,
// must lie before the cross-reference table and must not cut into an object's first line.
// Nothing when they do, or when the document has no table of the expected form (a
// classic table of 20-byte entries, its offset after "startxref").
std::optional<QByteArray> changedPdf(const QByteArray &pdf, std::vector<PdfChange> changes);

// Where the data of the page's content stream lies, and the number that gives its length
// (in the stream's dictionary or an object of its own).
struct PdfStreamPlace {
    qsizetype dataStart = 0;
    qsizetype dataLength = 0;
    qsizetype lengthStart = 0;  // the length's digits
    qsizetype lengthSize = 0;
    bool flate = false;  // compressed with /FlateDecode, and with no other filter
};

// The content stream of a one-page document with one content stream; nothing for any
// other form.
std::optional<PdfStreamPlace> pageContentStream(const QByteArray &pdf);

} // namespace nikra
