#include "canvas/page_saving.h"

#include "canvas/page_file_name.h"
#include "canvas/page_host.h"
#include "platform/busy_cursor.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace nikra {

bool writePageFile(PageHost &host, const QString &path, const QImage &shown)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    SlotSet slots = host.slots();
    PageJob job{slots, host.view(), host.messenger(), host.header(), host.screenDpi()};
    PageFile page;
    {
        BusyCursor busy;
        if (suffix == u"pdf")
            page = writePdfPage(job, path);
        else if (suffix == u"svg")
            page = writeSvgPage(job, host.selection().metaSelection(), path);
        else
            page = writePngPage(shown, path);
    }
    if (!page.written)
        host.messenger().warn(programName(), messageText(Msg::PageNotWritten, {path, page.failure}));
    return page.written;
}

QString PageSaveDialog::ask(QWidget *parent, PageHost &host)
{
    QFileDialog dialog(parent, QStringLiteral("ページを保存"), folder_.isEmpty() ? QDir::currentPath() : folder_);
    dialog.setObjectName(QStringLiteral("SaveDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters(pageFileFilters());
    if (!filter_.isEmpty())
        dialog.selectNameFilter(filter_);
    // A name typed without an ending gets the chosen type's; the final name may still differ
    // from the dialog's (an unknown ending gets one added), so the question about replacing
    // a file is asked here, about the file really written.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setDefaultSuffix(pageFileSuffix(dialog.selectedNameFilter()));
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&dialog](const QString &filter) { dialog.setDefaultSuffix(pageFileSuffix(filter)); });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    filter_ = dialog.selectedNameFilter();
    const QString path = pageFileName(dialog.selectedFiles().constFirst(), filter_);
    folder_ = QFileInfo(path).absolutePath();
    if (QFileInfo::exists(path) && !host.messenger().askYesNo(programName(), messageText(Msg::FileExists)))
        return {};
    return path;
}

} // namespace nikra
