#include "plot/device_path.h"

#include <algorithm>

namespace nikra {

void dropRepeats(std::vector<QPoint> &path)
{
    path.erase(std::unique(path.begin(), path.end()), path.end());
}

namespace {

// One pass over the runs that share the coordinate `along` picks (x for columns, y for
// rows), keeping each run's first point, its two extremes in the other coordinate, and
// its last point.
template <class Along, class Across>
void mergeRuns(std::vector<QPoint> &path, Along along, Across across)
{
    std::size_t out = 0;
    const std::size_t n = path.size();
    for (std::size_t i = 0; i < n;) {
        std::size_t j = i;
        int lo = across(path[i]);
        int hi = lo;
        while (j + 1 < n && along(path[j + 1]) == along(path[i])) {
            ++j;
            lo = std::min(lo, across(path[j]));
            hi = std::max(hi, across(path[j]));
        }
        if (j - i >= 3) {  // four points or more become at most four: the path shrinks in place
            const QPoint first = path[i];
            const QPoint last = path[j];
            QPoint low = first;
            QPoint high = first;
            for (std::size_t k = i; k <= j; ++k) {
                if (across(path[k]) == lo)
                    low = path[k];
                if (across(path[k]) == hi)
                    high = path[k];
            }
            // A run that goes one way keeps its two ends; one that turns keeps its first
            // point, its low and high points and its last point, in that order.
            const bool oneWay = (across(first) == lo && across(last) == hi) || (across(first) == hi && across(last) == lo);
            const QPoint keep[] = {first, oneWay ? first : low, oneWay ? first : high, last};
            for (const QPoint &p : keep) {
                if (out == 0 || path[out - 1] != p)
                    path[out++] = p;
            }
        } else {
            for (std::size_t k = i; k <= j; ++k)
                path[out++] = path[k];
        }
        i = j + 1;
    }
    path.resize(out);
}

// c lies on the segment from a to b, strictly between its ends.
bool liesBetween(QPoint a, QPoint c, QPoint b)
{
    const qint64 abx = b.x() - a.x();
    const qint64 aby = b.y() - a.y();
    const qint64 acx = c.x() - a.x();
    const qint64 acy = c.y() - a.y();
    if (abx * acy != aby * acx)
        return false;
    // On the line through a and b: between them when a to c and c to b go the same way.
    return acx * (b.x() - c.x()) + acy * (b.y() - c.y()) > 0;
}

} // namespace

void dropStraightCorners(std::vector<QPoint> &polygon)
{
    std::size_t n = 0;
    for (std::size_t i = 0; i < polygon.size(); ++i) {
        const QPoint p = polygon[i];
        if (n > 0 && polygon[n - 1] == p)
            continue;
        while (n >= 2 && liesBetween(polygon[n - 2], polygon[n - 1], p))
            --n;
        polygon[n++] = p;
    }
    // Where the outline closes, the last corner and the first have each other as neighbours.
    std::size_t first = 0;
    while (n - first >= 3) {
        if (polygon[n - 1] == polygon[first] || liesBetween(polygon[n - 2], polygon[n - 1], polygon[first]))
            --n;
        else if (liesBetween(polygon[n - 1], polygon[first], polygon[first + 1]))
            ++first;
        else
            break;
    }
    polygon.resize(n);
    polygon.erase(polygon.begin(), polygon.begin() + std::ptrdiff_t(first));
}

void mergeStraightRuns(std::vector<QPoint> &path)
{
    mergeRuns(path, [](const QPoint &p) { return p.x(); }, [](const QPoint &p) { return p.y(); });
    mergeRuns(path, [](const QPoint &p) { return p.y(); }, [](const QPoint &p) { return p.x(); });
}

ReducedPath::ReducedPath(bool mergeRuns) : mergeRuns_(mergeRuns) {}

template <class Out>
void ReducedPath::push(RunMerge &m, QPoint p, Out out)
{
    const auto along = [&m](QPoint q) { return m.alongX ? q.x() : q.y(); };
    const int across = m.alongX ? p.y() : p.x();
    if (m.length > 0 && along(p) != along(m.first))
        flush(m, out);
    if (m.length == 0) {
        m.first = m.low = m.high = p;
        m.lo = m.hi = across;
    }
    // The last point at the lowest and at the highest, as mergeRuns picks them.
    if (across <= m.lo) {
        m.lo = across;
        m.low = p;
    }
    if (across >= m.hi) {
        m.hi = across;
        m.high = p;
    }
    if (m.length < m.opening.size())
        m.opening[m.length] = p;
    m.last = p;
    ++m.length;
}

template <class Out>
void ReducedPath::flush(RunMerge &m, Out out)
{
    const auto emit = [&](QPoint p, bool always) {
        if (always || !m.haveOut || m.lastOut != p) {
            out(p);
            m.lastOut = p;
            m.haveOut = true;
        }
    };
    if (m.length >= 4) {
        const auto across = [&m](QPoint q) { return m.alongX ? q.y() : q.x(); };
        const bool oneWay = (across(m.first) == m.lo && across(m.last) == m.hi)
            || (across(m.first) == m.hi && across(m.last) == m.lo);
        emit(m.first, false);
        emit(oneWay ? m.first : m.low, false);
        emit(oneWay ? m.first : m.high, false);
        emit(m.last, false);
    } else {
        for (std::size_t k = 0; k < m.length; ++k)
            emit(m.opening[k], true);
    }
    m.length = 0;
}

void ReducedPath::toRows(QPoint p)
{
    push(rows_, p, [this](QPoint q) { path_.push_back(q); });
}

void ReducedPath::add(QPoint p)
{
    if (haveLast_ && p == last_)
        return;
    haveLast_ = true;
    last_ = p;
    if (mergeRuns_)
        push(columns_, p, [this](QPoint q) { toRows(q); });
    else
        path_.push_back(p);
}

std::vector<QPoint> &ReducedPath::finish()
{
    if (mergeRuns_) {
        flush(columns_, [this](QPoint q) { toRows(q); });
        flush(rows_, [this](QPoint q) { path_.push_back(q); });
    }
    return path_;
}

} // namespace nikra
