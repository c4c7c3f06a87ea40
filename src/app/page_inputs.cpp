#include "app/page_inputs.h"

#include "formats/messages.h"
#include "formats/path_memory.h"
#include "platform/program_folder.h"

#include <QFileInfo>

namespace nikra {

namespace {

QString absolute(const QString &path) { return path.isEmpty() ? path : QFileInfo(path).absoluteFilePath(); }

void takeRemembered(const PathMemory &memory, SlotSet &slots, HeaderSettings &header)
{
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        slots[slot].format = memory.name(PickerKind::FormatData, slot).value_or(QString());
        slots[slot].graph = memory.name(PickerKind::GraphData, slot).value_or(QString());
        slots[slot].comment = memory.name(PickerKind::CommentData, slot).value_or(QString());
    }
    header.text = memory.headerText().value_or(header.text);
    if (const auto i = memory.headerFontIndex(); i && *i >= 0 && *i < headerFaceChoices().size())
        header.face = headerFaceChoices().at(*i);
    if (const auto i = memory.headerSizeIndex(); i && *i >= 0 && *i <= 8)
        header.sizeText = QString::number(*i + 1);
    if (const auto i = memory.headerAlignIndex(); i && *i >= -1 && *i <= 2)
        header.align = HeaderAlign(*i);
}

} // namespace

bool takePageInput(const QStringList &args, qsizetype &i, PageInputs &inputs, QString &error)
{
    const QString &a = args.at(i);
    if (a == u"--slot") {
        if (i + 2 >= args.size()) {
            error = QStringLiteral("--slot needs a slot number and a Format Data file");
            return true;
        }
        bool ok = false;
        const int slot = args.at(++i).toInt(&ok);
        if (!ok || slot < 1 || slot > kSlotCount) {
            error = QStringLiteral("--slot: the slot number must be 1 to 6, not '%1'").arg(args.at(i));
            return true;
        }
        if (!inputs.slots)
            inputs.slots = SlotSet{};
        SlotFiles &files = (*inputs.slots)[slot];
        files.format = absolute(args.at(++i));
        QString *rest[] = {&files.graph, &files.comment};
        for (QString *field : rest) {
            if (i + 1 < args.size() && !args.at(i + 1).startsWith(QStringLiteral("--")))
                *field = absolute(args.at(++i));
        }
        return true;
    }
    if (a == u"--pth" || a == u"--home") {
        if (i + 1 >= args.size())
            error = a == u"--pth" ? QStringLiteral("--pth needs a file name") : QStringLiteral("--home needs a folder");
        else if (a == u"--home")
            inputs.home = args.at(++i);
        else if (inputs.pthFile.isEmpty())
            inputs.pthFile = args.at(++i);
        else
            inputs.morePthFiles.append(args.at(++i));
        return true;
    }
    return false;
}

QString pageInputUsage()
{
    return QStringLiteral(
        "  --slot N FORMAT [GRAPH [COMMENT]]\n"
        "                               slot N (1-6) with its Format Data, Graph Data and\n"
        "                               Comment Data files (\"\" for none); repeatable\n"
        "  --pth FILE                   take the slot set from a path memory file\n"
        "  --home DIR                   the program folder (default: NIKRA_HOME, else the\n"
        "                               program's own folder or the user's data folder)\n");
}

PageSource readPageSource(const PageInputs &inputs)
{
    PageSource source;
    // The header settings of a first start: ＭＳ Ｐ明朝, size 4, left.
    source.header = HeaderSettings{QString(), headerFaceChoices().at(0), QStringLiteral("4"), HeaderAlign::Left};
    if (inputs.slots) {
        source.slots = *inputs.slots;
    } else {
        const QString home = resolveProgramFolder(inputs.home);
        const QString pth = absolute(inputs.pthFile.isEmpty() ? joinPath(home, pathMemoryFileName()) : inputs.pthFile);
        source.files.append(pth);
        QString failure;
        if (const auto memory = PathMemory::read(pth, &failure)) {
            takeRemembered(*memory, source.slots, source.header);
        } else if (inputs.pthFile.isEmpty() && PathMemory::remembersNothing(pth)) {
            // No slot set remembered yet: the first start's samples.
            source.slots = sampleSlots(home);
        } else {
            // A path memory file asked for by name stands for the page, and so does one that
            // is there but cannot be read: drawing the samples in its place would report
            // someone else's page as theirs.
            source.error = QStringLiteral("cannot read '%1': %2").arg(pth, failure);
            return source;
        }
    }
    source.slots.dropUndrawnSlots();
    for (const QString &name : source.slots.drawnFiles()) {
        if (!source.files.contains(name))
            source.files.append(name);
    }
    return source;
}

CanvasPage canvasPassWithPageCheck(PageJob &job, CanvasPaint paint)
{
    CanvasPage page = paint == CanvasPaint::Picture ? drawCanvasPage(job) : checkCanvasPage(job);
    warnIfBeyondPrintedPage(page, job.messenger);
    return page;
}

} // namespace nikra
