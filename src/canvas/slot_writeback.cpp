#include "canvas/slot_writeback.h"

#include "formats/messages.h"
#include "formats/range_writeback.h"
#include "formats/slot_set.h"
#include "plot/view_state.h"

#include <QFileInfo>

namespace nikra {

void writeBackShiftedRanges(const SlotSet &slots, ViewState &view, Messenger &messenger)
{
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        const auto s = std::size_t(slot);
        const QString &path = slots[slot].format;
        if (!path.isEmpty()) {
            const WriteBack result = writeShiftedRanges(path, view.PanX[s], view.PanY[s]);
            const QString name = QFileInfo(path).fileName();
            const QString title = slotTitle(FileKind::FormatData, slot);
            switch (result.status) {
            case WriteBack::Status::Written:
                break;
            case WriteBack::Status::Missing:
                messenger.warn(title, messageText(Msg::WriteBackMissing, {name}));
                break;
            case WriteBack::Status::Unreadable:
                messenger.warn(title, messageText(Msg::WriteBackUnreadable, {name, QString::number(result.line)}));
                break;
            case WriteBack::Status::NotRead:
                messenger.warn(title, messageText(Msg::WriteBackNotRead, {name, result.failure}));
                break;
            case WriteBack::Status::Unwritable:
                messenger.warn(title, messageText(Msg::WriteBackUnwritable, {name, result.failure}));
                break;
            }
        }
        view.PanX[s] = 0;
        view.PanY[s] = 0;
    }
}

} // namespace nikra
