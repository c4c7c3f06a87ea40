#include "plot/pdf_date.h"

#include <QFileInfo>

#include <algorithm>
#include <optional>
#include <utility>

namespace nikra {

namespace {

std::optional<qint64> sourceDateEpoch()
{
    const QByteArray value = qgetenv("SOURCE_DATE_EPOCH").trimmed();
    if (value.isEmpty())
        return std::nullopt;
    for (const char c : value) {
        if (c < '0' || c > '9')
            return std::nullopt;
    }
    bool ok = false;
    const qint64 seconds = value.toLongLong(&ok);
    if (!ok || seconds > 253402300799)  // the last second of the year 9999
        return std::nullopt;
    return seconds;
}

// The decimal number at `at` (after any spaces), and where it ends.
std::optional<std::pair<qint64, qsizetype>> numberAt(const QByteArray &bytes, qsizetype at)
{
    while (at < bytes.size() && (bytes[at] == ' ' || bytes[at] == '\r' || bytes[at] == '\n'))
        ++at;
    const qsizetype start = at;
    while (at < bytes.size() && bytes[at] >= '0' && bytes[at] <= '9')
        ++at;
    if (at == start || at - start > 18)
        return std::nullopt;
    return std::pair{bytes.mid(start, at - start).toLongLong(), at};
}

qsizetype skipLineEnd(const QByteArray &bytes, qsizetype at)
{
    while (at < bytes.size() && (bytes[at] == ' ' || bytes[at] == '\r' || bytes[at] == '\n'))
        ++at;
    return at;
}

// Adds `delta` to every in-use offset beyond `after` in the table at `xref`; the entries
// are 20 bytes each, "oooooooooo ggggg n" and a two-byte line end.
bool moveOffsets(QByteArray &pdf, qsizetype xref, qsizetype after, qsizetype delta)
{
    if (!pdf.mid(xref, 4).startsWith("xref"))
        return false;
    qsizetype at = skipLineEnd(pdf, xref + 4);
    while (at < pdf.size() && !pdf.mid(at, 7).startsWith("trailer")) {
        const auto first = numberAt(pdf, at);
        const auto count = first ? numberAt(pdf, first->second) : std::nullopt;
        if (!count)
            return false;
        at = skipLineEnd(pdf, count->second);
        for (qint64 i = 0; i < count->first; ++i, at += 20) {
            if (at + 20 > pdf.size() || (pdf[at + 17] != 'n' && pdf[at + 17] != 'f'))
                return false;
            bool ok = false;
            const qint64 offset = pdf.mid(at, 10).toLongLong(&ok);
            if (!ok)
                return false;
            if (pdf[at + 17] == 'n' && offset > after) {
                const QByteArray moved = QByteArray::number(offset + delta).rightJustified(10, '0');
                if (moved.size() != 10)
                    return false;
                pdf.replace(at, 10, moved);
            }
        }
    }
    return at < pdf.size();
}

} // namespace

QDateTime pageDate(const SlotSet &slots)
{
    if (const auto seconds = sourceDateEpoch())
        return QDateTime::fromSecsSinceEpoch(*seconds, Qt::UTC);
    std::optional<qint64> newest;
    for (const SlotFiles &files : slots.slots) {
        for (const QString *path : {&files.format, &files.graph, &files.comment}) {
            const QFileInfo info(*path);
            if (path->isEmpty() || !info.isFile())
                continue;
            const qint64 seconds = info.lastModified().toSecsSinceEpoch();
            newest = std::max(seconds, newest.value_or(seconds));
        }
    }
    return QDateTime::fromSecsSinceEpoch(newest.value_or(QDateTime::currentSecsSinceEpoch()), Qt::UTC);
}

bool stampCreationDate(QByteArray &pdf, const QDateTime &when)
{
    const QByteArray key = "/CreationDate (";
    const qsizetype start = pdf.indexOf(key);
    const qsizetype end = start < 0 ? -1 : pdf.indexOf(')', start + key.size());
    if (end < 0 || !when.isValid())
        return false;
    const QByteArray date = "D:" + when.toUTC().toString(QStringLiteral("yyyyMMddHHmmss")).toLatin1() + 'Z';
    const qsizetype oldLength = end - (start + key.size());
    const qsizetype delta = date.size() - oldLength;

    QByteArray stamped = pdf;
    stamped.replace(start + key.size(), oldLength, date);
    if (delta != 0) {
        // The table and its start lie behind the date; every object behind it moves too.
        const qsizetype startxref = stamped.lastIndexOf("startxref");
        const auto xref = startxref < 0 ? std::nullopt : numberAt(stamped, startxref + 9);
        if (!xref || xref->first + delta <= end || !moveOffsets(stamped, qsizetype(xref->first) + delta, start, delta))
            return false;
        const qsizetype numberStart = skipLineEnd(stamped, startxref + 9);
        stamped.replace(numberStart, xref->second - numberStart, QByteArray::number(xref->first + delta));
    }
    pdf = std::move(stamped);
    return true;
}

} // namespace nikra
