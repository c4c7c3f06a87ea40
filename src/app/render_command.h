#pragma once
// "nikra render": a page drawn without a screen, as the draw command would draw it.
//
//   nikra render -o PAGE.png|PAGE.pdf|PAGE.svg [options]
//
// PNG comes from the canvas pass, PDF from the printer pass (one A4 page), SVG from the
// metafile pass. The canvas pass always runs first, as in the program, so file problems
// are reported once, on standard error.

#include "app/page_inputs.h"
#include "output/metafile_extent.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace nikra {

class Messenger;

enum class PageFormat { Png, Pdf, Svg };

struct RenderOptions {
    QString output;
    PageFormat format = PageFormat::Png;
    PageInputs inputs;             // --slot, --pth, --home
    Selection selection;           // --select
    double dpi = 96.0;             // --dpi
    std::optional<QString> headerText, headerFace, headerSize;
    std::optional<HeaderAlign> headerAlign;
    bool watch = false;            // --watch
    bool verbose = false;          // --verbose: Qt's own diagnostics on standard error
    QString batchFile;             // --batch: many pages, one a line of this file
};

using RenderParse = CommandArguments<RenderOptions>;

// args: what follows "render" on the command line.
RenderParse parseRenderArguments(const QStringList &args);
QString renderUsage();

// One drawing of the page: its file problems went to the messenger.
struct RenderedPage {
    std::optional<QByteArray> bytes;  // the page file's contents; nothing if it could not be made
    QStringList inputs;               // the files it was read from
    QString error;                    // why there is no page, when the inputs could not be read
};
RenderedPage renderPage(const RenderOptions &options, Messenger &messenger);
// The page put into its file: empty when it was written, else the message that says it was
// not and why.
QString writeRenderedPage(const QString &output, const RenderedPage &page);

// Exit status: 0 the page was written, 1 it was not. With --watch, the page is written
// again after every change of its files until the process is stopped (status 0). With
// --batch, the pages of the batch file (render_batch.h).
int runRender(const RenderOptions &options, Messenger &messenger);

} // namespace nikra
