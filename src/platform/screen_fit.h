#pragma once
// A window that would run past the edge of its screen (a small laptop screen, a panel at
// the bottom) is shrunk to the screen's free area and moved into it, so no button or
// field ends up where the user cannot reach it.

#include <QMargins>
#include <QSize>

class QScreen;
class QWidget;

namespace nikra {

// The screen the window's corner is on (the window's own screen when the corner is off
// every screen).
const QScreen *placedScreen(const QWidget &window);
// What the window manager's frame adds around the window. Before the window is first shown
// the frame is not known: a title bar's worth, which a window manager is likely to add.
QMargins windowFrame(const QWidget &window);
// Moves the window, frame included, inside the free area of its screen; `size` is the
// window's size without the frame (its size hint where the layout has not yet applied it).
void moveIntoScreen(QWidget &window, QSize size);
// Shrinks the window (never below its minimum size) to the free area of its screen and
// moves it, frame included, inside that area.
void fitIntoScreen(QWidget &window);

} // namespace nikra
