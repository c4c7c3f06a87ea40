#include "output/pdf_document.h"

#include "output/flate.h"

#include <QIODevice>

#include <algorithm>
#include <charconv>
#include <cmath>

namespace nikra {

namespace {

// A text string of the document's information: UTF-16 with its byte order mark, in hex, so
// no character needs escaping.
QByteArray textString(const QString &text)
{
    QByteArray out = "<FEFF";
    appendUtf16Hex(out, text);
    out.append('>');
    return out;
}

} // namespace

void appendNumber(QByteArray &out, double value, int decimals)
{
    if (!std::isfinite(value))
        value = 0;
    char buffer[64];
    auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    if (error != std::errc()) {
        out.append('0');
        return;
    }
    char *dot = std::find(buffer, end, '.');
    if (dot != end) {
        while (end[-1] == '0')
            --end;
        if (end[-1] == '.')
            --end;
    }
    if (end - buffer == 2 && buffer[0] == '-' && buffer[1] == '0')  // "-0"
        out.append('0');
    else
        out.append(buffer, end - buffer);
}

void appendHex4(QByteArray &out, quint32 value)
{
    char hex[4];
    for (int i = 3; i >= 0; --i) {
        hex[i] = "0123456789ABCDEF"[value & 0xf];
        value >>= 4;
    }
    out.append(hex, 4);
}

void appendUtf16Hex(QByteArray &out, const QString &text)
{
    for (const QChar unit : text)
        appendHex4(out, unit.unicode());
}

PdfDocument::PdfDocument(QIODevice *output, const PdfInfo &info) : out_(output), info_(info)
{
    // A comment of bytes above 127 right after the header tells transfer programs the
    // file is binary.
    write("%PDF-1.4\n%\xe2\xe3\xcf\xd3\n");
    catalog_ = newObject();
    pageTree_ = newObject();
}

int PdfDocument::newObject()
{
    offsets_.push_back(-1);
    return int(offsets_.size());
}

void PdfDocument::write(const QByteArray &bytes)
{
    if (!ok_)
        return;
    if (out_->write(bytes) != bytes.size()) {
        ok_ = false;
        return;
    }
    written_ += bytes.size();
}

void PdfDocument::beginObject(int id)
{
    offsets_[std::size_t(id - 1)] = written_;
    write(QByteArray::number(id) + " 0 obj\n");
}

void PdfDocument::writeObject(int id, const QByteArray &body)
{
    beginObject(id);
    write(body);
    write("\nendobj\n");
}

void PdfDocument::writeStream(int id, const QByteArray &dictionary, const QByteArray &data)
{
    beginObject(id);
    write("<< /Length " + QByteArray::number(data.size()) + ' ' + dictionary + " >>\nstream\n");
    write(data);
    write("\nendstream\nendobj\n");
}

void PdfDocument::beginPage(double widthPt, double heightPt, double unitsPerPt)
{
    Page page;
    page.id = newObject();
    page.mediaBox = "[0 0 ";
    appendNumber(page.mediaBox, widthPt);
    page.mediaBox.append(' ');
    appendNumber(page.mediaBox, heightPt);
    page.mediaBox.append(']');
    pages_.push_back(std::move(page));
    pageFonts_.clear();
    inPage_ = true;
    // Device units, y downward from the top-left corner.
    content_.clear();
    appendNumber(content_, 1 / unitsPerPt, 9);
    content_.append(" 0 0 ");
    appendNumber(content_, -1 / unitsPerPt, 9);
    content_.append(" 0 ");
    appendNumber(content_, heightPt);
    content_.append(" cm\n");
}

void PdfDocument::sendPiece()
{
    if (content_.isEmpty())
        return;
    const int id = newObject();
    pages_.back().contents.push_back(id);
    // A page of ordinary size is compressed well in a few milliseconds; the pieces of a
    // page of a hundred thousand markers at the fastest level.
    const bool small = content_.size() < kSmallPage;
    writeStream(id, "/Filter /FlateDecode", small ? deflateAt(content_, 6) : deflateFast(content_));
    content_.clear();
}

QByteArray PdfDocument::fontName(int font)
{
    auto it = std::find(pageFonts_.begin(), pageFonts_.end(), font);
    if (it == pageFonts_.end()) {
        pageFonts_.push_back(font);
        it = pageFonts_.end() - 1;
    }
    return "F" + QByteArray::number(qsizetype(it - pageFonts_.begin()));
}

void PdfDocument::endPage()
{
    if (!inPage_)
        return;
    sendPiece();
    Page &page = pages_.back();
    // Every font gets its object number when a page first names it.
    for (std::size_t i = 0; i < pageFonts_.size(); ++i) {
        const int font = pageFonts_[i];
        if (int(fontObjects_.size()) <= font)
            fontObjects_.resize(std::size_t(font) + 1, 0);
        if (fontObjects_[std::size_t(font)] == 0)
            fontObjects_[std::size_t(font)] = newObject();
        page.fonts.append(" /F" + QByteArray::number(qulonglong(i)) + ' '
                          + QByteArray::number(fontObjects_[std::size_t(font)]) + " 0 R");
    }
    QByteArray contents = "[";
    for (const int id : page.contents)
        contents.append(QByteArray::number(id) + " 0 R ");
    contents.append(']');
    writeObject(page.id, "<< /Type /Page /Parent " + QByteArray::number(pageTree_) + " 0 R /MediaBox " + page.mediaBox
                             + " /Contents " + contents + " /Resources << /ProcSet [/PDF /Text] /Font <<" + page.fonts
                             + " >> >> >>");
    inPage_ = false;
}

bool PdfDocument::finish()
{
    endPage();
    // Fonts are a few kilobytes each once subset: compressed at the smallest level.
    for (std::size_t font = 0; font < fontObjects_.size(); ++font) {
        const int type0 = fontObjects_[font];
        if (type0 == 0)
            continue;
        const std::optional<PdfFontParts> parts = fonts_.parts(int(font));
        if (!parts)
            return false;
        const int cidFont = newObject();
        const int descriptor = newObject();
        const int program = newObject();
        const int toUnicode = newObject();
        writeObject(type0, "<< /Type /Font /Subtype /Type0 /BaseFont /" + parts->name
                               + " /Encoding /Identity-H /DescendantFonts [" + QByteArray::number(cidFont)
                               + " 0 R] /ToUnicode " + QByteArray::number(toUnicode) + " 0 R >>");
        writeObject(cidFont, "<< /Type /Font /Subtype /CIDFontType2 /BaseFont /" + parts->name
                                 + " /CIDSystemInfo << /Registry (Adobe) /Ordering (Identity) /Supplement 0 >>"
                                   " /FontDescriptor "
                                 + QByteArray::number(descriptor) + " 0 R /CIDToGIDMap /Identity /DW 1000 /W ["
                                 + parts->widths + "] >>");
        writeObject(descriptor, "<< /Type /FontDescriptor /FontName /" + parts->name + ' ' + parts->descriptor
                                    + " /FontFile2 " + QByteArray::number(program) + " 0 R >>");
        writeStream(program, "/Length1 " + QByteArray::number(parts->program.size()) + " /Filter /FlateDecode",
                    deflateAt(parts->program, 12));
        writeStream(toUnicode, "/Filter /FlateDecode", deflateAt(parts->toUnicode, 12));
    }

    QByteArray kids;
    for (const Page &page : pages_)
        kids.append(QByteArray::number(page.id) + " 0 R ");
    writeObject(pageTree_, "<< /Type /Pages /Kids [" + kids + "] /Count " + QByteArray::number(qsizetype(pages_.size()))
                               + " >>");
    writeObject(catalog_, "<< /Type /Catalog /Pages " + QByteArray::number(pageTree_) + " 0 R >>");
    const int info = newObject();
    const QByteArray date = "D:" + info_.created.toUTC().toString(QStringLiteral("yyyyMMddHHmmss")).toLatin1() + 'Z';
    writeObject(info, "<< /Title " + textString(info_.title) + " /Producer " + textString(info_.producer)
                          + " /CreationDate (" + date + ") >>");

    // The cross-reference table: twenty bytes an entry.
    const qint64 xref = written_;
    QByteArray table = "xref\n0 " + QByteArray::number(qsizetype(offsets_.size() + 1)) + "\n0000000000 65535 f \n";
    for (const qint64 offset : offsets_) {
        if (offset < 0)
            return false;  // an object was promised and never written
        table.append(QByteArray::number(offset).rightJustified(10, '0') + " 00000 n \n");
    }
    write(table);
    write("trailer\n<< /Size " + QByteArray::number(qsizetype(offsets_.size() + 1)) + " /Root "
          + QByteArray::number(catalog_) + " 0 R /Info " + QByteArray::number(info) + " 0 R >>\nstartxref\n"
          + QByteArray::number(xref) + "\n%%EOF\n");
    return ok_;
}

} // namespace nikra
