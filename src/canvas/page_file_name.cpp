#include "canvas/page_file_name.h"

#include <QFileInfo>

namespace nikra {

namespace {

const QStringList kSuffixes{QStringLiteral("pdf"), QStringLiteral("svg"), QStringLiteral("png")};

} // namespace

QStringList pageFileFilters()
{
    QStringList filters;
    for (const QString &suffix : kSuffixes)
        filters << QStringLiteral("%1 (*.%2)").arg(suffix.toUpper(), suffix);
    return filters;
}

QString pageFileSuffix(const QString &filter)
{
    const qsizetype i = pageFileFilters().indexOf(filter);
    return i < 0 ? QStringLiteral("png") : kSuffixes.at(i);
}

QString pageFileName(const QString &typed, const QString &filter)
{
    // Only the file's own name counts: a dot in a folder name is no ending.
    if (kSuffixes.contains(QFileInfo(typed).suffix().toLower()))
        return typed;
    // "page." is taken as "page" with its ending still to come.
    return typed + (typed.endsWith(u'.') ? QString() : QStringLiteral(".")) + pageFileSuffix(filter);
}

} // namespace nikra
