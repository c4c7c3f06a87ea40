#include "plot/page_output.h"

#include "plot/canvas_surface.h"
#include "plot/metafile_surface.h"
#include "plot/pdf_date.h"
#include "plot/plot_pass.h"
#include "plot/printer_surface.h"

#include <QBuffer>
#include <QPdfWriter>
#include <QSaveFile>

namespace nikra {

namespace {

// Printed pages are drawn at a common office printer's resolution: pen widths are in
// device pixels, so this decides how thick a printed line is.
constexpr int kPdfDpi = 600;

} // namespace

CanvasPage drawCanvasPage(PageJob &job)
{
    const double ratio = job.pixelRatio > 0 ? job.pixelRatio : 1.0;
    CanvasSurface surface(job.screenDpi * ratio);
    PlotPass pass(surface, job.slots, job.view, job.messenger);
    if (job.progress)
        pass.setProgressHook([&](const PassProgress &p) { job.progress(p, surface.pageSoFar()); });
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

bool writePdfPage(PageJob &job, const QString &path)
{
    // The document is made in memory first: its date is set once it is finished, and the
    // file is then replaced in one step.
    QBuffer document;
    document.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&document);
        writer.setResolution(kPdfDpi);
        writer.setCreator(QStringLiteral("Nikra"));
        writer.setTitle(QStringLiteral("Nikra"));
        PrinterSurface::preparePage(writer);
        if (!printPage(job, writer))
            return false;
    }
    QByteArray bytes = document.buffer();
    document.buffer().clear();
    stampCreationDate(bytes, pageDate(job.slots));  // left as written if it has no date
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
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
