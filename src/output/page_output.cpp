#include "output/page_output.h"

#include "formats/file_bytes.h"
#include "plot/canvas_surface.h"
#include "output/metafile_surface.h"
#include "output/pdf_date.h"
#include "output/pdf_document.h"
#include "output/pdf_surface.h"
#include "plot/plot_pass.h"
#include "plot/printer_surface.h"

#include <QBuffer>
#include <QHash>
#include <QIODevice>
#include <QImageWriter>

namespace nikra {

namespace {

// Printed pages are drawn at a common office printer's resolution: pen widths are in
// device pixels, so this decides how thick a printed line is.
constexpr int kPdfDpi = 600;

// The canvas with its fonts and measures but without paint: what the canvas pass decides
// (messages, names, the lowest point) never depends on the pixels. Its fonts are made for
// a one-pixel image of the canvas's resolution, so it measures exactly as the canvas does
// without the page's pixels (570 MB at 1200 dpi).
class UnpaintedCanvas : public DeviceSurface {
public:
    explicit UnpaintedCanvas(double screenDpi)
        : DeviceSurface(DeviceProfile::canvas(screenDpi)), fontDevice_(CanvasSurface::imageAt(QSize(1, 1), screenDpi))
    {
    }
    void line(PagePoint, PagePoint, const Pen &) override {}
    void rectangle(const PageRect &, const Pen &) override {}
    void polyline(std::span<const PagePoint>, const Pen &) override {}
    void polygon(std::span<const PagePoint>, const Pen &, const QColor &) override {}
    void circle(PagePoint, double, const Pen &, const QColor &) override {}
    void markerPolygon(PagePoint, std::span<const PagePoint>, const Pen &, const QColor &) override {}
    void text(const TextFont &, PagePoint, const QString &) override {}

protected:
    const QPaintDevice &fontDevice() const override { return fontDevice_; }
    void paintPolyline(const std::vector<QPoint> &, const Pen &) override {}
    void paintPolygon(const std::vector<QPoint> &, const Pen &, const QColor &) override {}
    void paintText(QPoint, const TextFont &, const QString &) override {}

private:
    QImage fontDevice_;
};

PageFile notWritten(const QString &why) { return {false, why.isEmpty() ? QStringLiteral("?") : why}; }

// Every page is made in memory first and only then put into its file, so no painter or
// image writer ever meets a failing file (and says so on standard error), and a page that
// could not be made leaves the file alone.
PageFile putIntoFile(const QString &path, const QByteArray &bytes)
{
    const FileWrite written = writeWholeFile(path, bytes);
    if (!written)
        return notWritten(written.failure);
    return {true, {}};
}

PageFile notDrawn() { return {false, messageText(Msg::PageNotDrawn)}; }

// The page with a palette of exactly its colours, in the order first met; null when it has
// more than 256 colours or no 32-bit pixels.
QImage withExactPalette(const QImage &page)
{
    if (page.format() != QImage::Format_RGB32 || page.isNull())
        return {};
    QImage indexed(page.size(), QImage::Format_Indexed8);
    QList<QRgb> colours;
    QHash<QRgb, uchar> indexOf;
    const int width = page.width();
    for (int y = 0; y < page.height(); ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(page.constScanLine(y));
        uchar *out = indexed.scanLine(y);
        QRgb last = row[0];
        uchar lastIndex = 0;
        bool known = false;
        for (int x = 0; x < width; ++x) {
            const QRgb c = row[x];
            if (!known || c != last) {
                auto it = indexOf.constFind(c);
                if (it == indexOf.constEnd()) {
                    if (colours.size() == 256)
                        return {};
                    it = indexOf.insert(c, uchar(colours.size()));
                    colours.append(c);
                }
                last = c;
                lastIndex = *it;
                known = true;
            }
            out[x] = lastIndex;
        }
    }
    indexed.setColorTable(colours);
    indexed.setDotsPerMeterX(page.dotsPerMeterX());
    indexed.setDotsPerMeterY(page.dotsPerMeterY());
    return indexed;
}

// The canvas pass on a canvas surface, painted or not; the page image stays null unless
// `painted` hands it over.
CanvasPage runCanvasPass(PageJob &job, Surface &surface, CanvasSurface *painted)
{
    PlotPass pass(surface, job.slots, job.view, job.messenger);
    pass.setCutBlocksReported(job.cutBlocksReported);
    if (job.progress && painted)
        pass.setProgressHook([&](const PassProgress &p) { job.progress(p, painted->pageSoFar()); });
    pass.run(job.header);
    CanvasPage page;
    page.lowestY = pass.state().page.LowestY;
    if (painted)
        page.image = painted->finish();
    return page;
}

// The canvas at the screen's physical resolution: job.pixelRatio times its dpi.
double physicalDpi(const PageJob &job) { return job.screenDpi * (job.pixelRatio > 0 ? job.pixelRatio : 1.0); }

bool runPrinterPass(PageJob &job, PrinterSurface &surface)
{
    if (!surface.isActive())
        return false;
    PlotPass pass(surface, job.slots, job.view, job.messenger);
    pass.run(job.header);
    return surface.finish();
}

} // namespace

CanvasPage drawCanvasPage(PageJob &job)
{
    CanvasSurface surface(physicalDpi(job));
    CanvasPage page = runCanvasPass(job, surface, &surface);
    page.image.setDevicePixelRatio(job.pixelRatio > 0 ? job.pixelRatio : 1.0);
    return page;
}

CanvasPage checkCanvasPage(PageJob &job)
{
    UnpaintedCanvas surface(physicalDpi(job));
    return runCanvasPass(job, surface, nullptr);
}

void warnIfBeyondPrintedPage(const CanvasPage &page, Messenger &messenger)
{
    // The plots may reach this far down the page (mm) before the printed page cuts them off.
    constexpr float kPrintedPageBottom = 279.0f;
    if (page.lowestY > kPrintedPageBottom)
        messenger.warn(pageTitle(), messageText(Msg::PageTooLong));
}

bool printPage(PageJob &job, QPagedPaintDevice &device)
{
    PrinterSurface surface(device);
    return runPrinterPass(job, surface);
}

std::optional<QByteArray> pdfPage(PageJob &job) { return pdfDocument({&job}); }

std::optional<QByteArray> pdfDocument(const std::vector<PageJob *> &pages)
{
    QBuffer bytes;
    if (pages.empty() || !bytes.open(QIODevice::WriteOnly))
        return std::nullopt;
    QDateTime date;
    for (const PageJob *job : pages) {
        const QDateTime pageDated = pageDate(job->slots);
        if (!date.isValid() || pageDated > date)
            date = pageDated;
    }
    PdfDocument document(&bytes, {QStringLiteral("Nikra"), QStringLiteral("Nikra " NIKRA_VERSION), date});
    for (PageJob *job : pages) {
        // A surface of its own for each page, so a page comes out the same wherever it
        // stands in the document.
        PdfSurface surface(document, kPdfDpi);
        surface.beginPage();
        PlotPass pass(surface, job->slots, job->view, job->messenger);
        pass.run(job->header);
        surface.endPage();
    }
    if (!document.finish())
        return std::nullopt;
    return bytes.data();
}

std::optional<QByteArray> pngPage(const QImage &image)
{
    QBuffer encoded;
    if (image.isNull() || !encoded.open(QIODevice::WriteOnly) || !writePng(image, &encoded))
        return std::nullopt;
    return encoded.data();
}

std::optional<QByteArray> svgPage(PageJob &job, const Selection &selection)
{
    QBuffer drawing;
    if (!drawing.open(QIODevice::WriteOnly) || !writeMetafile(job, selection, &drawing))
        return std::nullopt;
    return drawing.data();
}

PageFile writePageBytes(const QString &path, const std::optional<QByteArray> &bytes)
{
    return bytes ? putIntoFile(path, *bytes) : notDrawn();
}

PageFile writePdfPage(PageJob &job, const QString &path) { return writePageBytes(path, pdfPage(job)); }

PageFile writePngPage(const QImage &image, const QString &path) { return writePageBytes(path, pngPage(image)); }

PageFile writeSvgPage(PageJob &job, const Selection &selection, const QString &path)
{
    return writePageBytes(path, svgPage(job, selection));
}

bool writePng(const QImage &page, QIODevice *output)
{
    const QImage indexed = withExactPalette(page);
    QImageWriter writer(output, "png");
    // Quality 67 asks the PNG writer for a fast zlib level: a page of a few kilobytes more,
    // compressed in a third of the time of the default.
    writer.setQuality(67);
    return writer.write(indexed.isNull() ? page : indexed);
}

bool writeMetafile(PageJob &job, const Selection &selection, QIODevice *output)
{
    MetafileSurface surface(output, metafileExtent(selection));
    if (!surface.isActive())
        return false;
    PlotPass pass(surface, job.slots, job.view, job.messenger);
    pass.run(job.header);
    return surface.finish();
}

} // namespace nikra
