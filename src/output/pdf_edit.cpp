#include "output/pdf_edit.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace nikra {

namespace {

bool isSpace(char c) { return c == ' ' || c == '\r' || c == '\n'; }

qsizetype skipSpaces(const QByteArray &bytes, qsizetype at)
{
    while (at < bytes.size() && isSpace(bytes[at]))
        ++at;
    return at;
}

// The decimal number at `at` (after any spaces), and where it ends.
std::optional<std::pair<qint64, qsizetype>> numberAt(const QByteArray &bytes, qsizetype at)
{
    at = skipSpaces(bytes, at);
    const qsizetype start = at;
    while (at < bytes.size() && bytes[at] >= '0' && bytes[at] <= '9')
        ++at;
    if (at == start || at - start > 18)
        return std::nullopt;
    return std::pair{bytes.mid(start, at - start).toLongLong(), at};
}

// The cross-reference table: where it starts, where the number after "startxref" stands,
// and its entries (object number = index).
struct XrefTable {
    qint64 start = 0;
    qsizetype startNumber = 0;  // the digits after "startxref"
    qsizetype startNumberEnd = 0;
    struct Entry {
        qsizetype at = 0;  // the entry's place in the document
        qint64 offset = 0;
        bool inUse = false;
    };
    std::vector<Entry> entries;
};

std::optional<XrefTable> readXref(const QByteArray &pdf)
{
    XrefTable table;
    const qsizetype startxref = pdf.lastIndexOf("startxref");
    const auto start = startxref < 0 ? std::nullopt : numberAt(pdf, startxref + 9);
    if (!start || start->first >= startxref || !pdf.mid(start->first, 4).startsWith("xref"))
        return std::nullopt;
    table.start = start->first;
    table.startNumber = skipSpaces(pdf, startxref + 9);
    table.startNumberEnd = start->second;

    // Sections of "first count" and count entries of "oooooooooo ggggg n" and a two-byte
    // line end, up to the trailer.
    qsizetype at = skipSpaces(pdf, qsizetype(table.start) + 4);
    while (at < pdf.size() && !pdf.mid(at, 7).startsWith("trailer")) {
        const auto first = numberAt(pdf, at);
        const auto count = first ? numberAt(pdf, first->second) : std::nullopt;
        if (!count || first->first > 10'000'000 || count->first > 10'000'000)
            return std::nullopt;
        at = skipSpaces(pdf, count->second);
        if (table.entries.size() < std::size_t(first->first + count->first))
            table.entries.resize(std::size_t(first->first + count->first));
        for (qint64 i = 0; i < count->first; ++i, at += 20) {
            if (at + 20 > pdf.size() || (pdf[at + 17] != 'n' && pdf[at + 17] != 'f'))
                return std::nullopt;
            bool ok = false;
            const qint64 offset = pdf.mid(at, 10).toLongLong(&ok);
            if (!ok)
                return std::nullopt;
            table.entries[std::size_t(first->first + i)] = {at, offset, pdf[at + 17] == 'n'};
        }
    }
    if (at >= pdf.size())
        return std::nullopt;
    return table;
}

// The object's dictionary text, from "N 0 obj" to "stream" (or the object's end).
std::optional<std::pair<qsizetype, qsizetype>> objectHead(const QByteArray &pdf, const XrefTable &table, qint64 number)
{
    if (number <= 0 || std::size_t(number) >= table.entries.size() || !table.entries[std::size_t(number)].inUse)
        return std::nullopt;
    const qsizetype at = qsizetype(table.entries[std::size_t(number)].offset);
    if (at < 0 || at >= pdf.size() || !pdf.mid(at, 32).startsWith(QByteArray::number(number) + " 0 obj"))
        return std::nullopt;
    // The head ends where "stream" or "endobj" first stands. Looking for each through the
    // whole document would read past a stream of many megabytes to find its "endobj".
    for (qsizetype i = at; i + 6 <= pdf.size(); ++i) {
        const char *p = pdf.constData() + i;
        if (std::memcmp(p, "stream", 6) == 0 || std::memcmp(p, "endobj", 6) == 0)
            return std::pair{at, i};
    }
    return std::nullopt;
}

// "N 0 R" at `at`: N.
std::optional<qint64> referenceAt(const QByteArray &pdf, qsizetype at)
{
    const auto number = numberAt(pdf, at);
    const auto generation = number ? numberAt(pdf, number->second) : std::nullopt;
    if (!generation || generation->first != 0)
        return std::nullopt;
    const qsizetype r = skipSpaces(pdf, generation->second);
    if (r >= pdf.size() || pdf[r] != 'R')
        return std::nullopt;
    return number->first;
}

} // namespace

std::optional<QByteArray> changedPdf(const QByteArray &pdf, std::vector<PdfChange> changes)
{
    const auto table = readXref(pdf);
    if (!table)
        return std::nullopt;
    std::sort(changes.begin(), changes.end(), [](const PdfChange &a, const PdfChange &b) { return a.start < b.start; });
    qsizetype reached = 0;
    for (const PdfChange &c : changes) {
        if (c.start < reached || c.length < 0 || c.start + c.length > table->start)
            return std::nullopt;
        reached = c.start + c.length;
    }
    // Where a byte of the old document stands in the new one: moved by every change before it.
    const auto moved = [&](qint64 offset) -> std::optional<qint64> {
        qint64 delta = 0;
        for (const PdfChange &c : changes) {
            if (c.start + c.length <= offset)
                delta += c.bytes.size() - c.length;
            else if (c.start < offset)
                return std::nullopt;  // the change cuts into what the offset points at
        }
        return offset + delta;
    };

    qsizetype size = pdf.size();
    for (const PdfChange &c : changes)
        size += c.bytes.size() - c.length;
    QByteArray out;
    out.reserve(size + 32);
    qsizetype from = 0;
    for (const PdfChange &c : changes) {
        out.append(pdf.constData() + from, c.start - from);
        out.append(c.bytes);
        from = c.start + c.length;
    }
    out.append(pdf.constData() + from, pdf.size() - from);

    // The table itself lies behind every change: its entries keep their width.
    for (const XrefTable::Entry &entry : table->entries) {
        if (!entry.inUse)
            continue;
        const auto offset = moved(entry.offset);
        const QByteArray digits = offset ? QByteArray::number(*offset).rightJustified(10, '0') : QByteArray();
        if (digits.size() != 10)
            return std::nullopt;
        const auto at = moved(entry.at);
        out.replace(qsizetype(*at), 10, digits);
    }
    const auto start = moved(table->start);
    const auto number = moved(table->startNumber);
    if (!start || !number)
        return std::nullopt;
    out.replace(qsizetype(*number), table->startNumberEnd - table->startNumber, QByteArray::number(*start));
    return out;
}

std::optional<PdfStreamPlace> pageContentStream(const QByteArray &pdf)
{
    const auto table = readXref(pdf);
    const QByteArray contentsKey = "/Contents ";
    const qsizetype contents = pdf.indexOf(contentsKey);
    if (!table || contents < 0 || pdf.indexOf(contentsKey, contents + 1) >= 0)
        return std::nullopt;  // no page, or more than one
    const auto object = referenceAt(pdf, contents + contentsKey.size());
    const auto head = object ? objectHead(pdf, *table, *object) : std::nullopt;
    if (!head || !pdf.mid(head->second, 6).startsWith("stream"))
        return std::nullopt;
    const QByteArray dictionary = pdf.mid(head->first, head->second - head->first);

    PdfStreamPlace place;
    const qsizetype lengthKey = dictionary.indexOf("/Length ");
    if (lengthKey < 0)
        return std::nullopt;
    if (const auto lengthObject = referenceAt(dictionary, lengthKey + 8)) {
        const auto lengthHead = objectHead(pdf, *table, *lengthObject);
        if (!lengthHead)
            return std::nullopt;
        const qsizetype afterObj = pdf.indexOf("obj", lengthHead->first) + 3;
        const auto length = numberAt(pdf, afterObj);
        if (!length || length->second > lengthHead->second)
            return std::nullopt;
        place.lengthStart = skipSpaces(pdf, afterObj);
        place.lengthSize = length->second - place.lengthStart;
        place.dataLength = length->first;
    } else {
        const auto length = numberAt(dictionary, lengthKey + 8);
        if (!length)
            return std::nullopt;
        place.lengthStart = head->first + skipSpaces(dictionary, lengthKey + 8);
        place.lengthSize = head->first + length->second - place.lengthStart;
        place.dataLength = length->first;
    }
    const qsizetype filter = dictionary.indexOf("/Filter");
    place.flate = filter >= 0 && dictionary.mid(skipSpaces(dictionary, filter + 7)).startsWith("/FlateDecode")
                  && dictionary.count("/Filter") == 1 && !dictionary.contains("/DecodeParms");

    // "stream" and one line end, the data, then a line end (optional) and "endstream".
    qsizetype data = head->second + 6;
    if (pdf.mid(data, 2) == "\r\n")
        data += 2;
    else if (data < pdf.size() && pdf[data] == '\n')
        data += 1;
    else
        return std::nullopt;
    place.dataStart = data;
    const qsizetype end = skipSpaces(pdf, data + qsizetype(place.dataLength));
    if (data + place.dataLength > pdf.size() || !pdf.mid(end, 9).startsWith("endstream"))
        return std::nullopt;
    return place;
}

} // namespace nikra
