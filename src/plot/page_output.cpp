#include "plot/page_output.h"

#include "plot/canvas_surface.h"
#include "plot/metafile_surface.h"
#include "plot/pdf_date.h"
#include "plot/plot_pass.h"
#include "plot/printer_surface.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QPdfWriter>
#include <QSaveFile>

namespace nikra {

namespace {

// Printed pages are drawn at a common office printer's resolution: pen widths are in
// device pixels, so this decides how thick a printed line is.
constexpr int kPdfDpi = 600;

PageFile notWritten(const QString &why) { return {false, why.isEmpty() ? QStringLiteral("?") : why}; }

// Every page is made in memory first and only then put into its file, so no painter or
// image writer ever meets a failing file (and says so on standard error), and a page that
// could not be made leaves the file alone.
PageFile putIntoFile(const QString &path, const QByteArray &bytes)
{
    const QFileInfo target(path);  // a link is followed to what it names
    if (target.exists() && !target.isFile() && !target.isDir()) {
        // A device or a pipe cannot be replaced: a new file renamed over it would take the
        // node's place (as root even in /dev). It is written in place.
        QFile device(path);
        if (!device.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return notWritten(device.errorString());
        if (device.write(bytes) != bytes.size())
            return notWritten(device.errorString());
        return {true, {}};
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return notWritten(file.errorString());
    // The reason of a failed write is read before commit() closes the file.
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        const QString why = file.errorString();
        file.cancelWriting();
        return notWritten(why);
    }
    if (!file.commit())
        return notWritten(file.errorString());
    return {true, {}};
}

PageFile notDrawn() { return {false, messageText(Msg::PageNotDrawn)}; }

// A PDF document is complete once its trailer is written.
bool isCompletePdf(const QByteArray &bytes)
{
    return bytes.startsWith("%PDF-") && bytes.trimmed().endsWith("%%EOF");
}

} // namespace

CanvasPage drawCanvasPage(PageJob &job)
{
    const double ratio = job.pixelRatio > 0 ? job.pixelRatio : 1.0;
    CanvasSurface surface(job.screenDpi * ratio);
    PlotPass pass(surface, job.slots, job.view, job.messenger);
    pass.run(job.header);
    CanvasPage page;
    page.lowestY = pass.state().page.LowestY;
    page.image = surface.finish();
    page.image.setDevicePixelRatio(ratio);
    return page;
}

bool printPage(PageJob &job, QPagedPaintDevice &device)
{
    PrinterSurface surface(device);
    if (!surface.isActive())
        return false;
    PlotPass pass(surface, job.slots, job.view, job.messenger);
    pass.run(job.header);
    return surface.finish();
}

PageFile writePdfPage(PageJob &job, const QString &path)
{
    // The document is made in memory first: its date is set once it is finished, and the
    // file is then replaced in one step.
    QBuffer document;
    if (!document.open(QIODevice::WriteOnly))
        return notDrawn();
    {
        QPdfWriter writer(&document);
        writer.setResolution(kPdfDpi);
        writer.setCreator(QStringLiteral("Nikra"));
        writer.setTitle(QStringLiteral("Nikra"));
        PrinterSurface::preparePage(writer);
        if (!printPage(job, writer))
            return notDrawn();
    }
    QByteArray bytes = document.buffer();
    document.buffer().clear();
    if (!isCompletePdf(bytes))
        return notDrawn();
    stampCreationDate(bytes, pageDate(job.slots));  // left as written if it has no date
    return putIntoFile(path, bytes);
}

PageFile writePngPage(const QImage &image, const QString &path)
{
    QBuffer encoded;
    if (image.isNull() || !encoded.open(QIODevice::WriteOnly) || !image.save(&encoded, "PNG"))
        return notDrawn();
    return putIntoFile(path, encoded.data());
}

PageFile writeSvgPage(PageJob &job, const Selection &selection, const QString &path)
{
    QBuffer drawing;
    if (!drawing.open(QIODevice::WriteOnly) || !writeMetafile(job, selection, &drawing))
        return notDrawn();
    return putIntoFile(path, drawing.data());
}

bool writeMetafile(PageJob &job, const Selection &selection, QIODevice *output)
{
    MetafileSurface surface(output, metaWindow(selection));
    if (!surface.isActive())
        return false;
    PlotPass pass(surface, job.slots, job.view, job.messenger);
    pass.run(job.header);
    return surface.finish();
}

} // namespace nikra
