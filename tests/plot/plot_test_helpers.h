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

PassRun runPass(SlotSet &slots, ViewState &view, const DeviceProfile &profile = DeviceProfile::canvas(96),
                const HeaderSettings &header = {});
PassRun runPass(SlotSet &slots, const DeviceProfile &profile = DeviceProfile::canvas(96));
std::vector<PageRect> frames(const RecordingSurface &s);
QString formatMessage(int slot, Msg id, const QStringList &args = {});

} // namespace nikra::test
