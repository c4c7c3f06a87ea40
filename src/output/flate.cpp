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

QByteArray deflateSmall(const QByteArray &data) { return deflated(data, 12); }

std::optional<QByteArray> inflateWhole(const QByteArray &compressed, qsizetype limit)
{
    const std::unique_ptr<libdeflate_decompressor, decltype(&libdeflate_free_decompressor)> decompressor(
        libdeflate_alloc_decompressor(), &libdeflate_free_decompressor);
    if (!decompressor)
        throw std::bad_alloc();
    // Page text compresses about four to eight times; the buffer grows until it fits.
    qsizetype capacity = std::min(limit, std::max<qsizetype>(4096, 8 * compressed.size()));
    for (;;) {
        QByteArray out(capacity, Qt::Uninitialized);
        std::size_t size = 0;
        const libdeflate_result result =
            libdeflate_zlib_decompress(decompressor.get(), compressed.constData(), std::size_t(compressed.size()),
                                       out.data(), std::size_t(out.size()), &size);
        if (result == LIBDEFLATE_SUCCESS) {
            out.truncate(qsizetype(size));
            return out;
        }
        if (result != LIBDEFLATE_INSUFFICIENT_SPACE || capacity >= limit)
            return std::nullopt;
        capacity = capacity > limit / 2 ? limit : 2 * capacity;
    }
}

} // namespace nikra
