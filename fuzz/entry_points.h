#pragma once
// The readers as a hostile file meets them: one function per fuzz target, taking raw bytes.
// libFuzzer calls them (with -DNIKRA_FUZZ=ON under clang) and the corpus replay test calls
// them on every build, so whatever a fuzzer once found stays checked.

#include <cstddef>
#include <cstdint>

namespace nikra::fuzz {

// A Format Data file: every section and curve line as the plot pass reads them.
void formatData(const std::uint8_t *data, std::size_t size);

// A Graph Data file. The first three bytes choose how it is read: byte 0 bit 0 a log x axis,
// bit 1 a log y axis; bytes 1-2 the curve line's IPL (little-endian, 16-bit signed). Every
// block is fitted as the pass fits it, within the same bounds.
void graphData(const std::uint8_t *data, std::size_t size);

// The text codec: detection, decoding, re-encoding.
void textCodec(const std::uint8_t *data, std::size_t size);

} // namespace nikra::fuzz
