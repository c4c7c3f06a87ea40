#include "app/render_command.h"

#include "formats/messages.h"
#include "formats/path_memory.h"
#include "platform/program_folder.h"
#include "plot/page_output.h"

#include <QFileInfo>

namespace nikra {

namespace {

std::optional<PageFormat> formatOf(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == u"png")
        return PageFormat::Png;
    if (suffix == u"pdf")
        return PageFormat::Pdf;
    if (suffix == u"svg")
        return PageFormat::Svg;
    return std::nullopt;
}

std::optional<HeaderAlign> alignOf(const QString &text)
{
    const QString t = text.toLower();
    if (t == u"left" || t == u"0" || t == u"左端")
        return HeaderAlign::Left;
    if (t == u"centre" || t == u"center" || t == u"1" || t == u"中央")
        return HeaderAlign::Centre;
    if (t == u"right" || t == u"2" || t == u"右端")
        return HeaderAlign::Right;
    return std::nullopt;
}

QString absolute(const QString &path) { return path.isEmpty() ? path : QFileInfo(path).absoluteFilePath(); }


// The slot set the program folder remembers, or else the sample set.
void loadRemembered(const QString &pthPath, const QString &home, SlotSet &slots, HeaderSettings &header)
{
    if (const auto memory = PathMemory::read(pthPath)) {
        for (int slot = 1; slot <= kSlotCount; ++slot) {
            slots[slot].format = memory->name(PickerKind::FormatData, slot).value_or(QString());
            slots[slot].graph = memory->name(PickerKind::GraphData, slot).value_or(QString());
            slots[slot].comment = memory->name(PickerKind::CommentData, slot).value_or(QString());
        }
        header.text = memory->headerText().value_or(header.text);
        if (const auto i = memory->headerFontIndex(); i && *i >= 0 && *i < headerFaceChoices().size())
            header.face = headerFaceChoices().at(*i);
        if (const auto i = memory->headerSizeIndex(); i && *i >= 0 && *i <= 8)
            header.sizeText = QString::number(*i + 1);
        if (const auto i = memory->headerAlignIndex(); i && *i >= -1 && *i <= 2)
            header.align = HeaderAlign(*i);
        return;
    }
    slots = sampleSlots(home);
}

} // namespace

QString renderUsage()
{
    return QStringLiteral(
        "Usage: nikra render -o PAGE.png|PAGE.pdf|PAGE.svg [options]\n"
        "\n"
        "Draws a page without a screen: PNG through the canvas, PDF through the printer\n"
        "(one A4 page at 600 dpi), SVG through the metafile (one unit per twip).\n"
        "File problems are reported on standard error as TITLE: TEXT lines. The same files\n"
        "give the same PDF and SVG bytes on every run; the PDF is dated SOURCE_DATE_EPOCH\n"
        "when set, else by the newest file drawn (UTC).\n"
        "\n"
        "Options:\n"
        "  -o, --output FILE            the page to write; its ending chooses the format\n"
        "  --slot N FORMAT [GRAPH [COMMENT]]\n"
        "                               slot N (1-6) with its Format Data, Graph Data and\n"
        "                               Comment Data files (\"\" for none); repeatable\n"
        "  --pth FILE                   take the slot set from a path memory file\n"
        "  --home DIR                   the program folder (default: NIKRA_HOME, else the\n"
        "                               program's own folder or the user's data folder)\n"
        "  --select X1,Y1,X2,Y2         the part of the page an SVG covers, in mm\n"
        "  --dpi N                      the PNG's resolution (default 96): the 96-dpi page\n"
        "                               enlarged N/96 times; PDF and SVG do not change\n"
        "  --header TEXT                the header line\n"
        "  --header-font FACE           its face (default ＭＳ Ｐ明朝)\n"
        "  --header-size N              its size, 1-9 (default 4)\n"
        "  --header-align left|centre|right (default left)\n"
        "\n"
        "Without --slot or --pth the program folder's Nikra.pth is used, else the samples.\n"
        "Exit status: 0 page written, 1 not written, 2 bad arguments.\n");
}

RenderParse parseRenderArguments(const QStringList &args)
{
    RenderParse result;
    RenderOptions o;
    auto fail = [&result](const QString &why) {
        result.error = why;
        return result;
    };
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &a = args.at(i);
        auto value = [&](QString &out) {
            if (i + 1 >= args.size())
                return false;
            out = args.at(++i);
            return true;
        };
        QString v;
        if (a == u"-h" || a == u"--help") {
            result.help = true;
            return result;
        } else if (a == u"-o" || a == u"--output") {
            if (!value(o.output))
                return fail(QStringLiteral("%1 needs a file name").arg(a));
        } else if (a == u"--slot") {
            if (i + 2 >= args.size())
                return fail(QStringLiteral("--slot needs a slot number and a Format Data file"));
            bool ok = false;
            const int slot = args.at(++i).toInt(&ok);
            if (!ok || slot < 1 || slot > kSlotCount)
                return fail(QStringLiteral("--slot: the slot number must be 1 to 6, not '%1'").arg(args.at(i)));
            if (!o.slots)
                o.slots = SlotSet{};
            SlotFiles &files = (*o.slots)[slot];
            files.format = absolute(args.at(++i));
            QString *rest[] = {&files.graph, &files.comment};
            for (QString *field : rest) {
                if (i + 1 < args.size() && !args.at(i + 1).startsWith(QStringLiteral("--")))
                    *field = absolute(args.at(++i));
            }
        } else if (a == u"--pth") {
            if (!value(o.pthFile))
                return fail(QStringLiteral("--pth needs a file name"));
        } else if (a == u"--home") {
            if (!value(o.home))
                return fail(QStringLiteral("--home needs a folder"));
        } else if (a == u"--select") {
            if (!value(v))
                return fail(QStringLiteral("--select needs X1,Y1,X2,Y2"));
            const QStringList parts = v.split(u',');
            float c[4] = {};
            bool ok = parts.size() == 4;
            for (int k = 0; ok && k < 4; ++k)
                c[k] = parts.at(k).trimmed().toFloat(&ok);
            if (!ok)
                return fail(QStringLiteral("--select needs four numbers X1,Y1,X2,Y2 in mm, not '%1'").arg(v));
            o.selection = Selection{c[0], c[1], c[2], c[3]};
        } else if (a == u"--dpi") {
            bool ok = false;
            if (value(v))
                o.dpi = v.toDouble(&ok);
            if (!ok || o.dpi < 24 || o.dpi > 1200)
                return fail(QStringLiteral("--dpi needs a resolution from 24 to 1200"));
        } else if (a == u"--header") {
            if (!value(v))
                return fail(QStringLiteral("--header needs a text"));
            o.headerText = v;
        } else if (a == u"--header-font") {
            if (!value(v))
                return fail(QStringLiteral("--header-font needs a face name"));
            o.headerFace = v;
        } else if (a == u"--header-size") {
            if (!value(v))
                return fail(QStringLiteral("--header-size needs a size"));
            o.headerSize = v;
        } else if (a == u"--header-align") {
            if (!value(v) || !alignOf(v))
                return fail(QStringLiteral("--header-align needs left, centre or right"));
            o.headerAlign = alignOf(v);
        } else {
            return fail(QStringLiteral("unknown argument '%1'").arg(a));
        }
    }
    if (o.output.isEmpty())
        return fail(QStringLiteral("the page to write is missing: -o PAGE.png|PAGE.pdf|PAGE.svg"));
    const auto format = formatOf(o.output);
    if (!format)
        return fail(QStringLiteral("'%1': the page must end in .png, .pdf or .svg").arg(o.output));
    o.format = *format;
    result.options = o;
    return result;
}

int runRender(const RenderOptions &o, Messenger &messenger)
{
    const QString home = resolveProgramFolder(o.home);
    SlotSet slots;
    // The header settings of a first start: ＭＳ Ｐ明朝, size 4, left.
    HeaderSettings header{QString(), headerFaceChoices().at(0), QStringLiteral("4"), HeaderAlign::Left};
    if (o.slots)
        slots = *o.slots;
    else
        loadRemembered(o.pthFile.isEmpty() ? joinPath(home, pathMemoryFileName()) : o.pthFile, home, slots,
                       header);
    if (o.headerText)
        header.text = *o.headerText;
    if (o.headerFace)
        header.face = *o.headerFace;
    if (o.headerSize)
        header.sizeText = *o.headerSize;
    if (o.headerAlign)
        header.align = *o.headerAlign;

    // As the draw command does: a slot without a Format Data file keeps no other names.
    for (SlotFiles &files : slots.slots) {
        if (files.format.isEmpty())
            files = SlotFiles{};
    }

    ViewState view;
    PageJob job{slots, view, messenger, header, o.dpi};
    const CanvasPage canvas = drawCanvasPage(job);
    if (canvas.lowestY > 279.0f)
        messenger.warn(pageTitle(), messageText(Msg::PageTooLong));

    PageFile page;
    switch (o.format) {
    case PageFormat::Png:
        page = writePngPage(canvas.image, o.output);
        break;
    case PageFormat::Pdf:
        page = writePdfPage(job, o.output);
        break;
    case PageFormat::Svg:
        page = writeSvgPage(job, o.selection, o.output);
        break;
    }
    if (!page.written) {
        messenger.warn(programName(), messageText(Msg::PageNotWritten, {o.output, page.failure}));
        return 1;
    }
    return 0;
}

} // namespace nikra
