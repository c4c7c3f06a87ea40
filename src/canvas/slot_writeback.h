#pragma once
// "書き込み": the shifted x and y ranges written into each slot's Format Data file.

namespace nikra {

class Messenger;
struct SlotSet;
struct ViewState;

// Every slot's shift is written into its file (a file that cannot be is named in a message,
// and the next slot goes on) and then set to 0, with or without a file: the file now holds
// the shifted range. The added divisions are neither written nor reset.
void writeBackShiftedRanges(const SlotSet &slots, ViewState &view, Messenger &messenger);

} // namespace nikra
