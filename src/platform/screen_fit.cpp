#include "platform/screen_fit.h"

#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace nikra {

void fitIntoScreen(QWidget &window)
{
    const QScreen *screen = window.screen();
    if (!screen)
        return;
    const QRect free = screen->availableGeometry();
    // The frame the window manager adds is known once the window is shown; before that the
    // window alone has to fit.
    const QRect frame = window.frameGeometry();
    const QSize decoration = frame.size() - window.size();
    const QSize room = (free.size() - decoration).expandedTo(QSize(1, 1));
    window.resize(window.size().boundedTo(room).expandedTo(window.minimumSize()));

    const QSize outer = window.size() + decoration;
    const int x = std::clamp(frame.x(), free.left(), std::max(free.left(), free.right() + 1 - outer.width()));
    const int y = std::clamp(frame.y(), free.top(), std::max(free.top(), free.bottom() + 1 - outer.height()));
    if (QPoint(x, y) != frame.topLeft())
        window.move(x, y);
}

} // namespace nikra
