#pragma once
// The page on the canvas window: the page image under a window of the size preset's
// inner size, moved by two scroll bars of range 0 to 100, with the selection box drawn
// over it in invert mode. Dragging selects; a drag over a scroll bar scrolls the page one
// step toward the pointer. The wheel and the page keys move the scroll bars, and the bars
// the page.

#include "canvas/selection_state.h"

#include <QImage>
#include <QWidget>

class QScrollBar;
class QWheelEvent;

namespace nikra {

class PageView : public QWidget {
    Q_OBJECT

public:
    PageView(SelectionState &selection, QWidget *parent = nullptr);

    // The page and the screen pixels per millimetre; an image of a device pixel ratio above
    // 1 has more pixels than it takes on the screen.
    void setPage(const QImage &page, double screenPxPerMm);
    const QImage &page() const { return page_; }
    // The visible part in pixels; the horizontal bar is hidden when the page fits.
    void setClientSize(const QSize &pixels, bool horizontalBar);

    QScrollBar *horizontalBar() const { return hBar_; }
    QScrollBar *verticalBar() const { return vBar_; }
    QWidget *viewport() const { return viewport_; }
    QPoint pageOffset() const;  // pixels of the page left of and above the window

    // The page millimetre under a viewport point.
    QPointF pageMm(const QPoint &viewportPoint) const;

    // Page Up/Down by a page step, Home and End to the top and the bottom; with Shift the
    // same across. False for any other key.
    bool scrollByKey(int key, Qt::KeyboardModifiers modifiers);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void paintViewport();
    void press(const QPoint &at);
    void move(const QPoint &at, Qt::MouseButtons buttons);
    void release(const QPoint &at);
    // Over a scroll bar during a drag: one step toward the pointer.
    void stepTowards(QScrollBar *bar, int along, int start, int length);
    bool overBar(const QPoint &viewportPoint) const;
    // Vertical, or across with Shift (or a wheel that turns sideways).
    void wheel(const QWheelEvent &event);

    SelectionState &sel_;
    QWidget *viewport_;
    QScrollBar *hBar_;
    QScrollBar *vBar_;
    QImage page_;
    double pxPerMm_ = 1;
    QPoint wheelRest_;  // the part of a turn too small for a step yet (fine-grained wheels)
};

} // namespace nikra
