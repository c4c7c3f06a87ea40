#pragma once
// A whole page through each surface: the canvas image, the printed page (PDF) and the
// metafile drawing (SVG). The command line and the canvas window's save use these.

#include "formats/messages.h"
#include "formats/slot_set.h"
#include "output/metafile_extent.h"
#include "plot/plot_pass.h"
#include "plot/view_state.h"

#include <QImage>

#include <optional>
#include <vector>

class QIODevice;
class QPagedPaintDevice;

namespace nikra {

struct PageJob {
    SlotSet &slots;
    ViewState &view;
    Messenger &messenger;
    HeaderSettings header;
    // The canvas's resolution. The printed page and the metafile do not depend on it: they
    // are laid out as on the reference screen wherever they are made.
    double screenDpi = 96.0;
    // Physical pixels per screen pixel: the canvas is drawn at screenDpi times this and
    // marked so, and shows at its screen size, only sharper.
    double pixelRatio = 1.0;
    // The canvas pass tells how far it has come, with the page drawn so far (valid only
    // during the call).
    std::function<void(const PassProgress &, const QImage &pageSoFar)> progress = nullptr;
    // The canvas pass reports a Graph Data block cut short by the end of its file
    // (PlotPass::setCutBlocksReported).
    bool cutBlocksReported = false;
};

struct CanvasPage {
    QImage image;
    float lowestY = 0;  // how far down the page the plots reach, mm
};

// The canvas pass: shows file problems and clears the names of missing files.
CanvasPage drawCanvasPage(PageJob &job);
// The same pass for a page that is printed or saved instead of shown: the same messages,
// names and lowest point, measured with the canvas fonts, but nothing painted (the image
// stays null).
CanvasPage checkCanvasPage(PageJob &job);
// The draw command's check after the canvas pass: plots reaching below 279 mm run off the
// printed page, which is said once (a warning; the page stays as drawn).
void warnIfBeyondPrintedPage(const CanvasPage &page, Messenger &messenger);

// A page file written whole, or why it was not: the system's reason (no such folder,
// permission denied, no space left) or that the page could not be drawn. The old file is
// then left as it was.
struct PageFile {
    bool written = false;
    QString failure;
};

// The printer pass on a paged device prepared for A4 without margins. False when the
// device could not be opened or finished.
bool printPage(PageJob &job, QPagedPaintDevice &device);
// The printer pass as a PDF document of one A4 page at 600 dpi, the same bytes for the same
// files on every run (its date: pdf_date.h); nothing when it could not be made whole.
std::optional<QByteArray> pdfPage(PageJob &job);
// One page for each job, in order, each page's content exactly that of its job's own
// document; dated by the newest of the jobs' dates.
std::optional<QByteArray> pdfDocument(const std::vector<PageJob *> &pages);
// That document as a file, written whole or not at all.
PageFile writePdfPage(PageJob &job, const QString &path);
// The canvas image as a PNG file.
PageFile writePngPage(const QImage &image, const QString &path);
// The metafile pass for the selection (or the whole page) as an SVG file.
PageFile writeSvgPage(PageJob &job, const Selection &selection, const QString &path);
// The canvas image as PNG bytes, and the metafile pass as SVG bytes; nothing when they
// could not be made.
std::optional<QByteArray> pngPage(const QImage &image);
std::optional<QByteArray> svgPage(PageJob &job, const Selection &selection);
// A page made in memory put into its file: replaced in one step (a device or a pipe is
// written in place, never replaced), or left as it was with the reason; a page that could
// not be made (nothing) leaves it as it was too.
PageFile writePageBytes(const QString &path, const std::optional<QByteArray> &bytes);

// A canvas page as a PNG file. A page of at most 256 colours (most are: white, black, the
// curve colours and the greys of smoothed text) is written with a palette of exactly its
// colours, so the same pixels come back from a third of the data, written several times
// faster; a page of more colours is written as it is.
bool writePng(const QImage &page, QIODevice *output);

// The metafile pass for the selection (or the whole page).
bool writeMetafile(PageJob &job, const Selection &selection, QIODevice *output);

} // namespace nikra
