#pragma once
// One plot pass: every named slot of the page drawn onto one surface, in rows of two.
// The same pass runs on the canvas, the printer and the metafile; only the canvas pass
// shows file problems to the user (and clears the name of a missing file), the others
// make the same corrections silently.

#include "formats/graph_data_file.h"
#include "formats/messages.h"
#include "formats/slot_set.h"
#include "plot/pass_state.h"
#include "plot/surface.h"
#include "plot/view_state.h"

#include <functional>

namespace nikra {

class FormatDataReader;
class GraphDataReader;

// How far a pass has come: the slots finished of those named, the share of the current
// slot's Graph Data file read (0 when a slot's frame is drawn or a slot is finished), and
// the points read so far.
struct PassProgress {
    int slotsDone = 0;
    int slotsTotal = 0;
    double slotShare = 0;
    qint64 points = 0;
};
using ProgressHook = std::function<void(const PassProgress &)>;

// How much of a Graph Data file a pass holds at once: the bytes of one piece read from the
// file, and the points of one window of a block drawn as it is read.
struct ReadWindow {
    qsizetype bytes = GraphDataFile::kPieceBytes;
    std::int32_t points = 1 << 16;
};

class PlotPass {
public:
    PlotPass(Surface &surface, SlotSet &slots, ViewState &view, Messenger &messenger);

    // Pass start: RowTop = 10 mm, LowestY = 0, then placeSlot for every slot with a Format Data
    // name, in slot order, and the header when it has a text.
    void run(const HeaderSettings &header);

    const PassState &state() const { return st_; }

    // Told after every window of points read, every block and every slot, on the pass's own
    // thread.
    void setProgressHook(ProgressHook hook) { progressHook_ = std::move(hook); }

    // A Graph Data file that ends inside a block ends the slot quietly, as it always has.
    // A watcher that redraws while files are written says so instead: the file may be
    // only half written yet.
    void setCutBlocksReported(bool reported) { cutBlocksReported_ = reported; }

    void setReadWindow(ReadWindow window) { window_ = window; }

private:
    void placeSlot(int slot);
    // The slot's frame and curves; true once the frame geometry of this slot has been
    // derived, so its comments have a place to go.
    bool drawSlot(int slot, float xOffset, float yOffset);
    bool readFixedPart(int slot, FormatDataReader &format, float xOffset, float yOffset, bool &placed);
    void drawBlocks(int slot, FormatDataReader &format, const QString &graphPath);
    void drawBlocksOf(int slot, FormatDataReader &format, GraphDataReader &graph);
    // The next block of points; false when the slot's curves end with it.
    bool drawBlock(int slot, GraphDataReader &graph);
    // A slot's Format Data or Graph Data file as UTF-8 bytes, or nothing when it cannot be
    // read or decoded (which is reported).
    std::optional<QByteArray> readSlotText(int slot, FileKind kind, const QString &path);
    void drawSlotComments(int slot);

    bool applyView(int slot, bool xAxis);
    void advanceLegend();
    void report(int slot, const Diagnostic &d);
    void reportMissing(int slot, FileKind kind, QString &name);
    void tellProgress(double slotShare);

    Surface &surface_;
    SlotSet &slots_;
    ViewState &view_;
    Messenger &messenger_;
    PassState st_;
    ProgressHook progressHook_;
    PassProgress progress_;
    bool cutBlocksReported_ = false;
    ReadWindow window_;
};

} // namespace nikra
