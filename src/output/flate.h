#pragma once
// The zlib format of a PDF stream's /FlateDecode filter, made in one step.

#include <QByteArray>

namespace nikra {

// Data compressed at the fastest level: a page of a hundred thousand markers carries some
// hundred megabytes of path text, which this compresses in a fraction of a second.
QByteArray deflateFast(const QByteArray &data);
// Data compressed at a level from 1 (fastest) to 12 (smallest).
QByteArray deflateAt(const QByteArray &data, int level);

} // namespace nikra
