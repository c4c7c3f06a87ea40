#pragma once
// Tabs in a text, one rule for every surface: the text is drawn as the runs between its
// tabs, and a tab moves the pen to the next tab stop counted from the text's start. The
// stops lie every 80 reference-screen pixels of the canvas font, widened or narrowed with
// that font's width adjustment: where the 96-dpi canvas has always put them. The printer
// and the metafile take the same stops in millimetres, so their tabs look as on screen.

#include <QString>
#include <QStringView>

#include <cmath>

namespace nikra {

inline constexpr double kTabStopPx = 80;

// The stop a tab at x moves to: always forward, even from a stop. A stop distance of 0 or
// less means a surface without tab stops: the tab then adds nothing.
inline double nextTabStop(double x, double stop)
{
    return stop > 0 ? (std::floor(x / stop) + 1) * stop : x;
}

// Lays out a text with tabs: calls place(offset, run) for each non-empty run between tabs,
// offset being its distance from the text's start along the baseline, and returns the
// text's whole width. width(run) gives a run's width, in the unit of stop.
template <class Width, class Place>
double layOutTabs(const QString &text, double stop, Width width, Place place)
{
    double x = 0;
    qsizetype start = 0;
    for (;;) {
        const qsizetype tab = text.indexOf(u'\t', start);
        const qsizetype end = tab < 0 ? text.size() : tab;
        if (end > start) {
            const QString run = text.sliced(start, end - start);
            place(x, run);
            x += width(run);
        }
        if (tab < 0)
            return x;
        x = nextTabStop(x, stop);
        start = tab + 1;
    }
}

} // namespace nikra
