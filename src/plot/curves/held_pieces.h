#pragma once
// The pieces of one line block, held in drawing order until the block is known whole (a
// block cut short by the end of its file draws nothing).
//
// A curve that leaves and re-enters the frame millions of times (a noisy record with the
// view zoomed in on it) makes millions of short pieces; held one surface path each, they
// took hundreds of bytes apiece and memory grew with the file. Short pieces are therefore
// held as their bare page points, in memory up to a bound and beyond it in an unnamed
// temporary file; a long piece goes to the surface in parts as it is read (where its path is
// reduced) and only its place in the order is held. Drawing replays them all in order, so the
// page is the one the pieces would have drawn one by one.

#include "plot/page_units.h"
#include "plot/surface.h"

#include <QTemporaryFile>

#include <cstddef>
#include <memory>
#include <span>
#include <vector>

namespace nikra {

class HeldPieces {
public:
    // Page points held in memory before they go to the temporary file.
    static constexpr std::size_t kMemoryValues = std::size_t(1) << 19;  // 4 MiB of doubles

    explicit HeldPieces(std::size_t memoryValues = kMemoryValues) : memoryValues_(memoryValues) {}

    void addShort(std::span<const PagePoint> points);
    void addLong(std::unique_ptr<PolylineParts> piece);
    // Draws every piece in the order it came: a short one with surface.polyline, a long one
    // by finishing its parts. The store is empty afterwards.
    void drawAll(Surface &surface, const Pen &pen);

    // True once pieces went to the temporary file (for tests).
    bool spilled() const { return spilled_; }

private:
    void spill();
    template <class Take>
    void replay(Take take, Surface &surface, const Pen &pen);

    std::size_t memoryValues_;
    // Records: a short piece is its point count n, then n pairs x, y; a long piece is
    // -(1 + its index in long_).
    std::vector<double> records_;
    std::vector<std::unique_ptr<PolylineParts>> long_;
    QTemporaryFile file_;
    qint64 fileBytes_ = 0;     // whole records written to the file
    bool spilled_ = false;
    bool fileFailed_ = false;  // the temporary file could not be written: hold in memory
};

} // namespace nikra
