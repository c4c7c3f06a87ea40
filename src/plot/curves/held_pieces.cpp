#include "plot/curves/held_pieces.h"

#include <algorithm>
#include <cstring>

namespace nikra {

void HeldPieces::addShort(std::span<const PagePoint> points)
{
    records_.push_back(double(points.size()));
    for (const PagePoint &p : points) {
        records_.push_back(p.x);
        records_.push_back(p.y);
    }
    if (records_.size() >= memoryValues_)
        spill();
}

void HeldPieces::addLong(std::unique_ptr<PolylineParts> piece)
{
    long_.push_back(std::move(piece));
    records_.push_back(-double(long_.size()));
}

void HeldPieces::spill()
{
    if (fileFailed_ || records_.empty())
        return;
    // The file is opened unnamed where the system allows it, so nothing is left behind when
    // the program is stopped; a file that cannot be written leaves the pieces in memory,
    // which draws the same page with more memory.
    if (!spilled_ && !file_.open()) {
        fileFailed_ = true;
        return;
    }
    const qint64 bytes = qint64(records_.size() * sizeof(double));
    if (file_.write(reinterpret_cast<const char *>(records_.data()), bytes) != bytes || !file_.flush()) {
        // Whole records only: a record written in part is cut off, and it and all later
        // ones stay in memory.
        fileFailed_ = true;
        file_.resize(fileBytes_);
        return;
    }
    spilled_ = true;
    fileBytes_ += bytes;
    records_.clear();
}

template <class Take>
void HeldPieces::replay(Take take, Surface &surface, const Pen &pen)
{
    std::vector<PagePoint> points;
    double head = 0;
    while (take(&head, 1)) {
        if (head < 0) {
            long_[std::size_t(-head) - 1]->finish();
            continue;
        }
        points.resize(std::size_t(head));
        if (!take(reinterpret_cast<double *>(points.data()), 2 * points.size()))
            return;
        surface.polyline(points, pen);
    }
}

void HeldPieces::drawAll(Surface &surface, const Pen &pen)
{
    static_assert(sizeof(PagePoint) == 2 * sizeof(double));
    // The file's records, read back a window at a time, then those still in memory. A read
    // of our own file that fails ends the drawing there rather than misread what follows.
    std::vector<double> window;
    std::size_t at = 0;
    bool fileLeft = spilled_ && file_.seek(0);
    bool memoryLeft = fileLeft || !spilled_;
    auto take = [&](double *into, std::size_t n) {
        while (window.size() - at < n && (fileLeft || memoryLeft)) {
            window.erase(window.begin(), window.begin() + std::ptrdiff_t(at));
            at = 0;
            const std::size_t had = window.size();
            if (!fileLeft) {
                window.insert(window.end(), records_.begin(), records_.end());
                memoryLeft = false;
                continue;
            }
            const auto left = std::size_t(fileBytes_ - file_.pos()) / sizeof(double);
            const std::size_t room = std::min(memoryValues_ / 4 + n, left);
            window.resize(had + room);
            const qint64 want = qint64(room * sizeof(double));
            if (room == 0 || file_.read(reinterpret_cast<char *>(window.data() + had), want) != want) {
                window.resize(had);
                memoryLeft = room == 0;  // the file's end, not a failed read
                fileLeft = false;
            }
        }
        if (window.size() - at < n)
            return false;
        std::memcpy(into, window.data() + at, n * sizeof(double));
        at += n;
        return true;
    };
    replay(take, surface, pen);
    records_.clear();
    long_.clear();
    if (file_.isOpen())
        file_.close();
    spilled_ = false;
    fileFailed_ = false;
    fileBytes_ = 0;
}

} // namespace nikra
