#pragma once
// A window that would run past the edge of its screen (a small laptop screen, a panel at
// the bottom) is shrunk to the screen's free area and moved into it, so no button or
// field ends up where the user cannot reach it.

class QWidget;

namespace nikra {

// Shrinks the window (never below its minimum size) to the free area of the screen it is
// on and moves it, frame included, inside that area.
void fitIntoScreen(QWidget &window);

} // namespace nikra
