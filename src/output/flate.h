#pragma once
// The zlib format of a PDF stream's /FlateDecode filter, made and read in one step each.

#include <QByteArray>

#include <optional>

namespace nikra {

// Data compressed at the fastest level: a page of a hundred thousand markers carries some
// hundred megabytes of path text, which this compresses in a fraction of a second.
QByteArray deflateFast(const QByteArray &data);
// Data compressed at the most thorough level: for what is small enough that its size
// matters more than the time (fonts, a page of ordinary content).
QByteArray deflateSmall(const QByteArray &data);

// The data inflated; nothing when it is not a whole zlib stream or would inflate beyond
// `limit` bytes.
std::optional<QByteArray> inflateWhole(const QByteArray &compressed, qsizetype limit);

} // namespace nikra
