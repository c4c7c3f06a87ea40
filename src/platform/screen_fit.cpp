#include "platform/screen_fit.h"

#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QWidget>

#include <algorithm>

namespace nikra {

const QScreen *placedScreen(const QWidget &window)
{
    const QScreen *at = QGuiApplication::screenAt(window.pos());
    return at ? at : window.screen();
}

QMargins windowFrame(const QWidget &window)
{
    const QRect inner = window.geometry();
    const QRect outer = window.frameGeometry();
    const QMargins frame(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                         outer.bottom() - inner.bottom());
    if (!frame.isNull() || window.testAttribute(Qt::WA_WState_Created))
        return frame;
    const QStyle *style = window.style();
    const int border = style->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth);
    return {border, style->pixelMetric(QStyle::PM_TitleBarHeight) + border, border, border};
}

void moveIntoScreen(QWidget &window, QSize size)
{
    const QScreen *screen = placedScreen(window);
    if (!screen)
        return;
    const QRect room = screen->availableGeometry();
    const QSize outer = size.grownBy(windowFrame(window));
    const QPoint at(std::clamp(window.x(), room.left(), std::max(room.left(), room.right() + 1 - outer.width())),
                    std::clamp(window.y(), room.top(), std::max(room.top(), room.bottom() + 1 - outer.height())));
    if (at != window.pos())
        window.move(at);
}

void fitIntoScreen(QWidget &window)
{
    const QScreen *screen = placedScreen(window);
    if (!screen)
        return;
    const QSize room =
        screen->availableGeometry().marginsRemoved(windowFrame(window)).size().expandedTo(QSize(1, 1));
    window.resize(window.size().boundedTo(room).expandedTo(window.minimumSize()));
    moveIntoScreen(window, window.size());
}

} // namespace nikra
