#include "plot/plot_pass.h"

#include "formats/comment_data.h"
#include "formats/file_bytes.h"
#include "formats/format_data_reader.h"
#include "formats/graph_data_reader.h"
#include "formats/text_codec.h"
#include "plot/axis_view.h"
#include "plot/curves/comments.h"
#include "plot/curves/curve_fit.h"
#include "plot/curves/curve_line.h"
#include "plot/curves/line_style.h"
#include "plot/curves/markers.h"
#include "plot/frame.h"
#include "plot/header.h"

#include <QFileInfo>

#include <future>
#include <optional>

namespace nikra {

namespace {

// A device or a pipe under the name counts: the reading refuses it and says why, rather than
// reporting a missing file and clearing the name. A folder is no file.
bool fileExists(const QString &path)
{
    const QFileInfo info(path);
    return !path.isEmpty() && info.exists() && !info.isDir();
}

} // namespace

PlotPass::PlotPass(Surface &surface, SlotSet &slots, ViewState &view, Messenger &messenger)
    : surface_(surface), slots_(slots), view_(view), messenger_(messenger)
{
}

void PlotPass::report(int slot, const Diagnostic &d)
{
    if (!surface_.profile().reportsProblems())
        return;
    const SlotFiles &names = slots_[slot];
    const QString &file = d.kind == FileKind::FormatData ? names.format
        : d.kind == FileKind::GraphData                  ? names.graph
                                                         : names.comment;
    messenger_.fileProblem(slot, d, file);
}

void PlotPass::reportMissing(int slot, FileKind kind, QString &name)
{
    if (!surface_.profile().reportsProblems())
        return;
    report(slot, Diagnostic{kind, Msg::FileMissing, {}});
    name.clear();
}

void PlotPass::tellProgress(double slotShare)
{
    progress_.slotShare = slotShare;
    if (progressHook_)
        progressHook_(progress_);
}

void PlotPass::run(const HeaderSettings &header)
{
    st_.page = PageLayout{};
    progress_ = PassProgress{};
    for (int slot = 1; slot <= kSlotCount; ++slot)
        progress_.slotsTotal += slots_[slot].format.isEmpty() ? 0 : 1;
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        if (!slots_[slot].format.isEmpty()) {
            placeSlot(slot);
            ++progress_.slotsDone;
            tellProgress(0);
        }
    }
    drawHeader(surface_, header);
}

void PlotPass::placeSlot(int slot)
{
    const bool leftColumn = slot % 2 == 1;
    const bool placed = drawSlot(slot, leftColumn ? 25.0f : 120.0f, st_.page.RowTop);
    // The comment step belongs to a slot whose own frame was placed: a slot that stopped
    // before that has no CSZ or text edges of its own.
    if (placed && st_.fmt.CSZ > 0 && !slots_[slot].comment.isEmpty())
        drawSlotComments(slot);
    if (leftColumn) {
        if (slot < kSlotCount && slots_[slot + 1].format.isEmpty())
            st_.page.RowTop = st_.page.LowestY;
    } else if (slot < kSlotCount && st_.page.LowestY > st_.page.RowTop) {
        st_.page.RowTop = st_.page.LowestY;
    }
}

std::optional<QByteArray> PlotPass::readSlotText(int slot, FileKind kind, const QString &path)
{
    const FileBytes bytes = readWholeFile(path);
    if (!bytes) {
        report(slot, Diagnostic{kind, Msg::FileUnreadable, {bytes.failure}});
        return std::nullopt;
    }
    std::optional<QByteArray> text = toUtf8Bytes(bytes.bytes);
    if (!text)
        report(slot, Diagnostic{kind, Msg::TextNotDecoded, {}});
    return text;
}

bool PlotPass::drawSlot(int slot, float xOffset, float yOffset)
{
    SlotFiles &names = slots_[slot];
    if (!fileExists(names.format)) {
        reportMissing(slot, FileKind::FormatData, names.format);
        return false;
    }
    const std::optional<QByteArray> text = readSlotText(slot, FileKind::FormatData, names.format);
    if (!text)
        return false;
    FormatDataReader format(*text);
    bool placed = false;
    if (!readFixedPart(slot, format, xOffset, yOffset, placed))
        return placed;
    drawFrame(surface_, st_);
    tellProgress(0);  // the frame is up before a long Graph Data file is read

    auto sink = [&](const Diagnostic &d) { report(slot, d); };
    if (!format.skipToCurveLines(sink))
        return placed;
    if (names.graph.isEmpty())
        return placed;  // the frame alone
    if (!fileExists(names.graph)) {
        reportMissing(slot, FileKind::GraphData, names.graph);
        return placed;
    }
    drawBlocks(slot, format, names.graph);
    return placed;
}

bool PlotPass::readFixedPart(int slot, FormatDataReader &format, float xOffset, float yOffset, bool &placed)
{
    PlotFormat &f = st_.fmt;
    auto sink = [&](const Diagnostic &d) { report(slot, d); };
    if (!format.readXFrame(f, sink))
        return false;
    st_.faces = facesForFnt(f.FNT);
    if (!format.readYFrame(f, sink))
        return false;

    FrameGeometry &g = st_.geo;
    g.FrameLeft = f.XSF + xOffset;
    g.FrameTop = f.YSP + yOffset;
    g.PlotLeft = g.FrameLeft;
    g.PlotBottom = f.YWD + g.FrameTop;
    // The text edges start at this slot's frame, so nothing of an earlier slot carries over.
    st_.edges = TextEdges{g.PlotBottom, g.FrameTop, g.PlotLeft, g.PlotLeft + f.XWD};
    placed = true;

    if (!format.readXNumbers(f, sink) || !applyView(slot, true))
        return false;
    if (!format.readYNumbers(f, sink) || !applyView(slot, false))
        return false;
    if (!format.readXTitle(f, sink))
        return false;
    if (f.XLP == 2) {  // numbers and title above the frame push it down
        g.FrameTop += f.XNS + f.XLS;
        g.PlotBottom += f.XNS + f.XLS;
    }
    return format.readYTitle(f, sink);
}

bool PlotPass::applyView(int slot, bool xAxis)
{
    PlotFormat &f = st_.fmt;
    const AxisKeys keys = xAxis ? AxisKeys{f.XMN, f.XMX, f.XDV, f.XDS} : AxisKeys{f.YMN, f.YMX, f.YDV, f.YDS};
    const float pan = xAxis ? view_.PanX[std::size_t(slot)] : view_.PanY[std::size_t(slot)];
    float &step = xAxis ? st_.geo.XStep : st_.geo.YStep;
    switch (applyAxisView(keys, pan, view_.ZoomSteps[std::size_t(slot)], step)) {
    case AxisViewOutcome::Applied:
        return true;
    case AxisViewOutcome::EmptyRange:
        report(slot, Diagnostic{FileKind::FormatData, xAxis ? Msg::XRangeEmpty : Msg::YRangeEmpty, {}});
        return false;
    case AxisViewOutcome::TooManyDivisions:
        report(slot, Diagnostic{FileKind::FormatData, xAxis ? Msg::XTooManyDivisions : Msg::YTooManyDivisions,
                                {QString::number(kMaxDivisions)}});
        return false;
    }
    return false;
}

void PlotPass::advanceLegend()
{
    const CurveStyle &s = st_.style;
    LegendState &l = st_.legend;
    const float textHeight = float(2.25 * st_.fmt.RSZ / surface_.profile().screenPxPerMmY);
    const float markerHeight = 1.2f * s.PSZ;
    float &y = l.LegendY[std::size_t(s.RPS)];
    if (markerHeight < textHeight) {
        y += l.LegendHalf + textHeight / 2;
        l.LegendHalf = textHeight / 2;
    } else {
        y += l.LegendHalf + 0.6f * s.PSZ;
        l.LegendHalf = 0.6f * s.PSZ;
    }
}

void PlotPass::drawBlocks(int slot, FormatDataReader &format, const QString &graphPath)
{
    GraphDataFile file;
    switch (file.open(graphPath, window_.bytes)) {
    case GraphDataFile::Opened::Unreadable:
        report(slot, Diagnostic{FileKind::GraphData, Msg::FileUnreadable, {file.failure()}});
        return;
    case GraphDataFile::Opened::NotDecoded:
        report(slot, Diagnostic{FileKind::GraphData, Msg::TextNotDecoded, {}});
        return;
    case GraphDataFile::Opened::Yes:
        break;
    }
    GraphDataReader graph(file);
    drawBlocksOf(slot, format, graph);
    // The file failed or changed after it was checked: the curves end where it did.
    if (!file.failure().isEmpty())
        report(slot, Diagnostic{FileKind::GraphData, Msg::FileUnreadable, {file.failure()}});
    else if (file.changedWhileRead())
        report(slot, Diagnostic{FileKind::GraphData, Msg::TextNotDecoded, {}});
}

void PlotPass::drawBlocksOf(int slot, FormatDataReader &format, GraphDataReader &graph)
{
    auto sink = [&](const Diagnostic &d) { report(slot, d); };

    st_.legend.LegendY[1] = 0;
    st_.legend.LegendY[2] = 0;
    st_.legend.LegendHalf = float(1.125 * st_.fmt.RSZ / surface_.profile().screenPxPerMmY);

    bool haveStyle = false;
    while (graph.hasData()) {
        if (format.hasCurveLine()) {
            if (!format.readCurveLine(st_.style, sink))
                return;
            haveStyle = true;
            advanceLegend();
        } else if (!haveStyle) {
            return;  // no curve line at all: the frame alone
        }
        if (!drawBlock(slot, graph))
            return;
    }
}

bool PlotPass::drawBlock(int slot, GraphDataReader &graph)
{
    auto sink = [&](const Diagnostic &d) { report(slot, d); };
    const bool xLog = st_.fmt.XLG == 1;
    const bool yLog = st_.fmt.YLG == 1;
    if (graph.startBlock() != BlockStatus::Read)
        return false;
    // A line joining the points as they are is drawn while they are read, a window at a
    // time; a fitted curve, a filled area and markers need the block whole.
    const CurveStyle &s = st_.style;
    std::optional<CurveLineInParts> line;
    if (s.IPL == 0 && !fillsArea(s.LTP) && !(s.PSZ > 0))
        line.emplace(surface_, st_);
    const qint64 pointsBefore = progress_.points;
    DataBlock block;
    // While the next window of a long line is read, the one before it is clipped and reduced
    // on a second thread: reading and drawing take about the same time, so a record of 10^8
    // points takes little more than its reading. The windows are added one after another in
    // order, so the line is the same; the worker touches only the line and its surface paths.
    DataBlock drawing;
    std::future<void> adding;
    BlockStatus status;
    for (;;) {
        if (line) {
            block.x.clear();
            block.y.clear();
        }
        status = graph.readPoints(block, window_.points, st_.style.IPL, xLog, yLog, sink);
        if (line) {
            if (adding.valid())
                adding.get();
            if (status == BlockStatus::More) {
                std::swap(block, drawing);
                adding = std::async(std::launch::async, [&line, &drawing] { line->add(drawing); });
            } else {
                line->add(block);
            }
        }
        if (status != BlockStatus::More)
            break;
        // The bar moves on through a long block.
        progress_.points = pointsBefore + graph.pointsRead();
        tellProgress(graph.shareRead());
    }
    if (status == BlockStatus::CutShort && cutBlocksReported_)
        report(slot, Diagnostic{FileKind::GraphData, Msg::BlockCutShort,
                                {QString::number(graph.blockCount()), QString::number(graph.pointsRead())}});
    if (status != BlockStatus::Read)
        return false;
    const int n = graph.pointsRead();
    if (line) {
        if (n > 1)
            line->finish();
    } else {
        if (n > 1) {
            switch (curveFitLimit(n, st_.style.IPL)) {
            case CurveFitLimit::Within:
                break;
            case CurveFitLimit::TooManyPoints:
                report(slot, Diagnostic{FileKind::FormatData, Msg::CurveTooLarge, {QString::number(kMaxCurvePoints)}});
                st_.style.IPL = 0;
                break;
            case CurveFitLimit::TooMuchWork:
                report(slot, Diagnostic{FileKind::FormatData, Msg::CurveTooMuchWork, {}});
                st_.style.IPL = 0;
                break;
            }
            CurvePoints curve;
            fitCurve(block, st_.style.IPL, curve);
            drawCurveLine(surface_, st_, curve);
        }
        if (st_.style.PSZ > 0)
            drawMarkers(surface_, st_, block);
    }
    progress_.points = pointsBefore + n;
    tellProgress(graph.shareRead());
    return true;
}

void PlotPass::drawSlotComments(int slot)
{
    SlotFiles &names = slots_[slot];
    if (!fileExists(names.comment)) {
        reportMissing(slot, FileKind::CommentData, names.comment);
        return;
    }
    const CommentFile comments = readCommentFile(names.comment);
    if (!comments.failure.isEmpty())
        report(slot, Diagnostic{FileKind::CommentData, Msg::FileUnreadable, {comments.failure}});
    else if (!comments.exact)
        report(slot, Diagnostic{FileKind::CommentData, Msg::CommentNotDecoded, {}});
    else
        drawComments(surface_, st_, comments.lines);
}

} // namespace nikra
