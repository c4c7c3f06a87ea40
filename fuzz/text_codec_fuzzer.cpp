// libFuzzer target: text codec files.

#include "entry_points.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    nikra::fuzz::textCodec(data, size);
    return 0;
}
