#include "output/pdf_date.h"

#include <QFileInfo>

#include <algorithm>
#include <optional>

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

} // namespace nikra
