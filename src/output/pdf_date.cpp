#include "output/pdf_date.h"

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

std::optional<PdfChange> creationDateChange(const QByteArray &pdf, const QDateTime &when)
{
    const QByteArray key = "/CreationDate (";
    const qsizetype start = pdf.indexOf(key);
    const qsizetype end = start < 0 ? -1 : pdf.indexOf(')', start + key.size());
    if (end < 0 || !when.isValid())
        return std::nullopt;
    const QByteArray date = "D:" + when.toUTC().toString(QStringLiteral("yyyyMMddHHmmss")).toLatin1() + 'Z';
    return PdfChange{start + key.size(), end - (start + key.size()), date};
}

bool stampCreationDate(QByteArray &pdf, const QDateTime &when)
{
    const auto change = creationDateChange(pdf, when);
    auto stamped = change ? changedPdf(pdf, {*change}) : std::nullopt;
    if (!stamped)
        return false;
    pdf = std::move(*stamped);
    return true;
}

} // namespace nikra
