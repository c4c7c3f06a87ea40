#include "app/render_command.h"

#include "platform/program_folder.h"

#include "app/render_batch.h"
#include "app/render_watch.h"
#include "app/stream_messenger.h"
#include "formats/messages.h"
#include "output/page_output.h"

#include <QFileInfo>

#include <cstdio>
#include <memory>
#include <optional>
#include <vector>

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

} // namespace

QString renderUsage()
{
    return QStringLiteral(
        "Usage: nikra render -o PAGE.png|PAGE.pdf|PAGE.svg [options]\n"
        "       nikra render --batch FILE [--verbose]\n"
        "\n"
        "Draws a page without a screen: PNG through the canvas, PDF through the printer\n"
        "(one A4 page at 600 dpi), SVG through the metafile (one unit per twip).\n"
        "File problems are reported on standard error as TITLE: TEXT lines. The same files\n"
        "give the same PDF and SVG bytes on every run; the PDF is dated SOURCE_DATE_EPOCH\n"
        "when set, else by the newest file drawn (UTC).\n"
        "\n"
        "Options:\n"
        "  -o, --output FILE            the page to write; its ending chooses the format\n"
        "%1"
        "                               a PDF takes several --pth: one page for each set,\n"
        "                               in the order given, each the page it draws alone\n"
        "  --select X1,Y1,X2,Y2         the part of the page an SVG covers, in mm\n"
        "  --dpi N                      the PNG's resolution (default 96): the 96-dpi page\n"
        "                               enlarged N/96 times; PDF and SVG do not change\n"
        "  --header TEXT                the header line\n"
        "  --header-font FACE           its face (default ＭＳ Ｐ明朝)\n"
        "  --header-size N              its size, 1-9 (default 4)\n"
        "  --header-align left|centre|right (default left)\n"
        "  --watch                      after writing the page, write it again whenever one\n"
        "                               of its files changes, one line per drawing on\n"
        "                               standard output; a drawing with new problems leaves\n"
        "                               the last page; Ctrl-C ends it\n"
        "  --verbose                    show Qt's own diagnostics on standard error too\n"
        "  --batch FILE                 draw the pages FILE lists, one a line (below)\n"
        "\n"
        "Without --slot or --pth the program folder's Nikra.pth is used, else the samples.\n"
        "Exit status: 0 page written, 1 not written, 2 bad arguments.\n"
        "\n"
        "%2")
        .arg(pageInputUsage(), batchUsage());
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
        } else if (takePageInput(args, i, o.inputs, v)) {
            if (!v.isEmpty())
                return fail(v);
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
        } else if (a == u"--watch") {
            o.watch = true;
        } else if (a == u"--verbose") {
            o.verbose = true;
        } else if (a == u"--batch") {
            if (!value(o.batchFile) || o.batchFile.isEmpty())
                return fail(QStringLiteral("--batch needs a file of pages, or - for standard input"));
        } else {
            return fail(QStringLiteral("unknown argument '%1'").arg(a));
        }
    }
    if (!o.batchFile.isEmpty()) {
        // The pages and their options stand on the file's lines; only --verbose, which
        // concerns the whole run, goes beside it.
        if (args.size() != (o.verbose ? 3 : 2))
            return fail(QStringLiteral("--batch takes no page arguments: they go on the lines of its file"));
        result.options = o;
        return result;
    }
    if (const QString problem = chosenHomeProblem(o.inputs.home); !problem.isEmpty())
        return fail(problem);
    if (o.output.isEmpty())
        return fail(QStringLiteral("the page to write is missing: -o PAGE.png|PAGE.pdf|PAGE.svg"));
    const auto format = formatOf(o.output);
    if (!format)
        return fail(QStringLiteral("'%1': the page must end in .png, .pdf or .svg").arg(o.output));
    o.format = *format;
    // One page for each set: only a PDF has more than one page.
    if (!o.inputs.morePthFiles.isEmpty() && o.format != PageFormat::Pdf)
        return fail(messageText(Msg::OneSetOnly));
    result.options = o;
    return result;
}

namespace {

// One set's page: what it is read from and drawn with.
struct SetPage {
    PageSource source;
    ViewState view;
    std::optional<PageJob> job;
};

} // namespace

RenderedPage renderPage(const RenderOptions &o, Messenger &messenger)
{
    RenderedPage result;
    // The first set, then each further --pth in order (a PDF page each).
    std::vector<PageInputs> sets{o.inputs};
    for (const QString &pth : o.inputs.morePthFiles) {
        PageInputs more = o.inputs;
        more.pthFile = pth;
        more.morePthFiles.clear();
        sets.push_back(more);
    }
    std::vector<std::unique_ptr<SetPage>> pages;
    for (const PageInputs &inputs : sets) {
        auto &page = *pages.emplace_back(std::make_unique<SetPage>());
        page.source = readPageSource(inputs);
        for (const QString &file : page.source.files) {
            if (!result.inputs.contains(file))
                result.inputs.append(file);
        }
        result.error = page.source.error;
        if (!result.error.isEmpty())
            return result;
        HeaderSettings &header = page.source.header;
        if (o.headerText)
            header.text = *o.headerText;
        if (o.headerFace)
            header.face = *o.headerFace;
        if (o.headerSize)
            header.sizeText = *o.headerSize;
        if (o.headerAlign)
            header.align = *o.headerAlign;
        page.job.emplace(PageJob{page.source.slots, page.view, messenger, header, o.dpi});
        // A watch redraws while files are being written: a block the file's end cuts short is
        // a problem there, so the last whole page stays until the rest is written.
        page.job->cutBlocksReported = o.watch;
    }
    PageJob &job = *pages.front()->job;
    switch (o.format) {
    case PageFormat::Png:
        result.bytes = pngPage(canvasPassWithPageCheck(job, CanvasPaint::Picture).image);
        break;
    case PageFormat::Pdf: {
        // A PDF or SVG page needs the canvas pass's messages and names, not its picture.
        std::vector<PageJob *> jobs;
        for (auto &page : pages) {
            canvasPassWithPageCheck(*page->job, CanvasPaint::NoPicture);
            jobs.push_back(&*page->job);
        }
        result.bytes = pdfDocument(jobs);
        break;
    }
    case PageFormat::Svg:
        canvasPassWithPageCheck(job, CanvasPaint::NoPicture);
        result.bytes = svgPage(job, o.selection);
        break;
    }
    return result;
}

QString writeRenderedPage(const QString &output, const RenderedPage &page)
{
    const PageFile file = writePageBytes(output, page.bytes);
    return file.written ? QString() : messageText(Msg::PageNotWritten, {output, file.failure});
}

int runRender(const RenderOptions &o, Messenger &messenger)
{
    if (!o.batchFile.isEmpty())
        return runBatch(o.batchFile);
    if (o.watch)
        return watchRender(o);
    const RenderedPage page = renderPage(o, messenger);
    if (!page.error.isEmpty()) {
        print(stderr, QStringLiteral("nikra render: %1\n").arg(page.error));
        return 1;
    }
    const QString failure = writeRenderedPage(o.output, page);
    if (!failure.isEmpty()) {
        messenger.warn(programName(), failure);
        return 1;
    }
    return 0;
}

} // namespace nikra
