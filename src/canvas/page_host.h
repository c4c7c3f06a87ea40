#pragma once
// What the canvas window needs from the main window: the slot names and header as they
// stand, the canvas pass over them, and the state that outlives the canvas window.

#include "canvas/selection_state.h"
#include "formats/messages.h"
#include "formats/slot_set.h"
#include "output/page_output.h"
#include "plot/view_state.h"

namespace nikra {

class SettingsStore;

class PageHost {
public:
    virtual ~PageHost() = default;

    virtual SlotSet slots() const = 0;
    virtual HeaderSettings header() const = 0;
    virtual ViewState &view() = 0;
    virtual SelectionState &selection() = 0;
    virtual Messenger &messenger() = 0;
    virtual double screenDpi() const = 0;
    virtual SettingsStore &settings() = 0;
    // The names after a pass the user asked for: those of missing files are gone.
    virtual void keepSlotNames(const SlotSet &slots) = 0;
    // The canvas window has gone: by "戻る" (back) or by its frame.
    virtual void canvasClosed(bool back) = 0;
};

} // namespace nikra
