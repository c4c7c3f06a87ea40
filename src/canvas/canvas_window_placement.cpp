// The canvas window's size and place: the size preset's page window, shrunk where the
// screen's free area has not the room, and the window kept within that area.

#include "canvas/canvas_window.h"

#include "canvas/page_host.h"
#include "platform/screen_fit.h"
#include "plot/device_profile.h"

#include <QBoxLayout>
#include <QScreen>

namespace nikra {

void CanvasWindow::setClientTwips(int width, int height, bool horizontalBar)
{
    const double tpp = twipsPerPixel(host_.screenDpi());
    wantedClient_ = QSize(rnd(width / tpp), rnd(height / tpp));
    wantedBar_ = horizontalBar;
    fitToScreen();
}

void CanvasWindow::fitToScreen()
{
    if (wantedClient_.isEmpty())
        return;
    // The window is as wide as the page's window: the buttons take two rows when one is too wide.
    const auto arrangeButtons = [this] {
        const int oneRow = buttonRows_->itemAt(0)->sizeHint().width() + buttonRows_->spacing()
            + buttonRows_->itemAt(1)->sizeHint().width();
        buttonRows_->setDirection(oneRow <= view_->sizeHint().width() ? QBoxLayout::LeftToRight : QBoxLayout::TopToBottom);
        // At once, also while the window is hidden: the sizes are measured right after.
        view_->updateGeometry();
        layout()->invalidate();
        layout()->activate();
    };
    view_->setClientSize(wantedClient_, wantedBar_);
    arrangeButtons();
    const QScreen *screen = placedScreen(*this);
    if (!screen)
        return;
    const QSize room = screen->availableGeometry().marginsRemoved(windowFrame(*this)).size();
    if (sizeHint().width() <= room.width() && sizeHint().height() <= room.height())
        return;
    // The page's window gives up what the screen lacks; the page scrolls both ways then.
    QSize client = wantedClient_;
    for (int round = 0; round < 2; ++round) {  // again once the bar or the rows have moved
        client = client.boundedTo(client + room - sizeHint()).expandedTo(QSize(200, 150));
        view_->setClientSize(client, wantedBar_ || client.width() < wantedClient_.width());
        arrangeButtons();
    }
}

void CanvasWindow::place(const QPoint &first)
{
    if (placement_.isEmpty()) {
        move(first);
    } else {
        // The size is the preset's, fixed by the layout; what is restored is where the window was.
        layout()->activate();
        restoreGeometry(placement_);
    }
    // On the screen it is placed on, and wholly within its free area.
    fitToScreen();
    moveIntoScreen(*this, sizeHint());
}

} // namespace nikra
