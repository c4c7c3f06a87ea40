#pragma once
// "nikra render": a page drawn without a screen, as the draw command would draw it.
//
//   nikra render -o PAGE.png|PAGE.pdf|PAGE.svg [options]
//
// PNG comes from the canvas pass, PDF from the printer pass (one A4 page), SVG from the
// metafile pass. The canvas pass always runs first, as in the program, so file problems
// are reported once, on standard error.

#include "formats/slot_set.h"
#include "plot/meta_window.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace nikra {

class Messenger;

enum class PageFormat { Png, Pdf, Svg };

struct RenderOptions {
    QString output;
    PageFormat format = PageFormat::Png;
    std::optional<SlotSet> slots;  // from --slot
    QString pthFile;               // --pth
    QString home;                  // --home
    Selection selection;           // --select
    double dpi = 96.0;             // --dpi
    std::optional<QString> headerText, headerFace, headerSize;
    std::optional<HeaderAlign> headerAlign;
    bool verbose = false;          // --verbose: Qt's own diagnostics on standard error
};

struct RenderParse {
    std::optional<RenderOptions> options;
    bool help = false;
    QString error;  // why the arguments are not usable
};

// args: what follows "render" on the command line.
RenderParse parseRenderArguments(const QStringList &args);
QString renderUsage();

// Exit status: 0 the page was written, 1 it was not.
int runRender(const RenderOptions &options, Messenger &messenger);

} // namespace nikra
