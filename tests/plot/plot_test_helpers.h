#pragma once
// What the plot tests share: running a pass on a recording surface over files written for
// the test, and reading the frames and messages it produced.

#include "plot/plot_pass.h"
#include "support/recording_messenger.h"
#include "support/recording_surface.h"
#include "support/test_files.h"

#include <memory>

namespace nikra::test {

struct PassRun {
    std::unique_ptr<RecordingSurface> surface;
    QStringList messages;
    PassState state;
};

// A pass over the slots from the default view; the canvas clears the names it cannot read.
// The Graph Data files are read in pieces of the given sizes.
PassRun runPass(SlotSet &slots, const DeviceProfile &profile = DeviceProfile::canvas(96), const HeaderSettings &header = {},
                ReadWindow window = {});
// Slot 1 alone, drawn from a Format Data file and, when given, Graph and Comment Data bytes.
// On the unit profile FormatFile's frame is 100 x 80 mm at (25, 10), x and y 0..10.
PassRun drawSlot(const FormatFile &f, const QByteArray &graph = {}, const QByteArray &comment = {},
                 const DeviceProfile &profile = unitProfile(), const HeaderSettings &header = {},
                 ReadWindow window = {});
std::vector<PageRect> frames(const RecordingSurface &s);
QString formatMessage(int slot, Msg id, const QStringList &args = {});

} // namespace nikra::test
