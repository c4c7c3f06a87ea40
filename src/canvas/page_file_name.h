#pragma once
// The name a page is saved under from the save dialog: the file type comes from the name's
// ending when it is one the page can be written as, else from the filter chosen.

#include <QString>
#include <QStringList>

namespace nikra {

// The save dialog's filters, in the order shown: "PDF (*.pdf)", "SVG (*.svg)", "PNG (*.png)".
QStringList pageFileFilters();
// The ending a filter stands for ("pdf"); "png" for a filter that is none of the above.
QString pageFileSuffix(const QString &filter);
// typed as the dialog gives it: an ending of png, pdf or svg (any case) is kept; a name
// without one, or with any other ending, gets the filter's ending added.
QString pageFileName(const QString &typed, const QString &filter);

} // namespace nikra
