#include "output/flate.h"

#include <libdeflate.h>

#include <memory>

namespace nikra {

namespace {

QByteArray deflated(const QByteArray &data, int level)
{
    const std::unique_ptr<libdeflate_compressor, decltype(&libdeflate_free_compressor)> compressor(
        libdeflate_alloc_compressor(level), &libdeflate_free_compressor);
    if (!compressor)
        throw std::bad_alloc();
    QByteArray out(qsizetype(libdeflate_zlib_compress_bound(compressor.get(), std::size_t(data.size()))),
                   Qt::Uninitialized);
    const std::size_t size = libdeflate_zlib_compress(compressor.get(), data.constData(), std::size_t(data.size()),
                                                      out.data(), std::size_t(out.size()));
    out.truncate(qsizetype(size));  // the bound always suffices
    return out;
}

} // namespace

QByteArray deflateFast(const QByteArray &data) { return deflated(data, 1); }

QByteArray deflateAt(const QByteArray &data, int level) { return deflated(data, level); }

} // namespace nikra
