// libFuzzer target: graph data files.

#include "entry_points.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    nikra::fuzz::graphData(data, size);
    return 0;
}
