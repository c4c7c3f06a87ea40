// Replays the fuzz corpus through the fuzz targets' entry points, with any compiler: every
// file under corpus/format_data, corpus/graph_data and corpus/text_codec. A crash or a broken
// promise aborts the run; otherwise it ends with the count of files read.

#include "entry_points.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

using EntryPoint = void (*)(const std::uint8_t *, std::size_t);

int replay(const std::filesystem::path &folder, EntryPoint entry)
{
    std::vector<std::filesystem::path> files;
    for (const auto &e : std::filesystem::directory_iterator(folder)) {
        if (e.is_regular_file())
            files.push_back(e.path());
    }
    std::sort(files.begin(), files.end());
    for (const auto &file : files) {
        std::ifstream in(file, std::ios::binary);
        const std::vector<char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        std::printf("%s\n", file.filename().c_str());
        std::fflush(stdout);  // the last name printed is the one that failed
        entry(reinterpret_cast<const std::uint8_t *>(bytes.data()), bytes.size());
    }
    return int(files.size());
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s CORPUS_FOLDER\n", argv[0]);
        return 2;
    }
    const std::filesystem::path corpus = argv[1];
    int count = 0;
    count += replay(corpus / "format_data", nikra::fuzz::formatData);
    count += replay(corpus / "graph_data", nikra::fuzz::graphData);
    count += replay(corpus / "text_codec", nikra::fuzz::textCodec);
    if (count == 0) {
        std::fprintf(stderr, "no corpus files under %s\n", argv[1]);
        return 1;
    }
    std::printf("%d corpus files replayed\n", count);
    return 0;
}
