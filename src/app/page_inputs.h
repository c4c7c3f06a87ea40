#pragma once
// What "render" and "check" draw from: the slot set (from --slot, a path memory file, or
// the samples) and the header, read the same way for both, and the canvas pass with the
// check the draw command makes after it.

#include "formats/slot_set.h"
#include "output/page_output.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace nikra {

class Messenger;

struct PageInputs {
    std::optional<SlotSet> slots;  // from --slot
    QString pthFile;               // --pth
    QStringList morePthFiles;      // further --pth, in order: a PDF page for each
    QString home;                  // --home
};

// A command's arguments once read: the options, or a request for help, or why not.
template <class Options>
struct CommandArguments {
    std::optional<Options> options;
    bool help = false;
    QString error;  // why the arguments are not usable
};

// Takes --slot, --pth or --home at args[i] with its values and moves i to the last of them.
// False when args[i] is none of these; error says what is wrong with its values.
bool takePageInput(const QStringList &args, qsizetype &i, PageInputs &inputs, QString &error);
// Their lines for a command's usage text.
QString pageInputUsage();

struct PageSource {
    SlotSet slots;
    HeaderSettings header;
    QStringList files;  // every file the page is read from: the path memory file and the slots'
    QString error;      // set when there is no page: --pth names a file that cannot be read
};

// The slot set and header the inputs describe: the --slot set; else the path memory file
// (--pth, or the program folder's Nikra.pth); else, when no --pth was given and the program
// folder has none, the samples. A slot without a Format Data file keeps no other names, as
// with the draw command.
PageSource readPageSource(const PageInputs &inputs);

// The canvas pass, its file problems and the warning of a page longer than one A4 page, as
// the draw command shows them; with NoPicture the pass measures but paints nothing (the
// messages never depend on the pixels), for a check or a page that is not a PNG.
enum class CanvasPaint { Picture, NoPicture };
CanvasPage canvasPassWithPageCheck(PageJob &job, CanvasPaint paint);

} // namespace nikra
