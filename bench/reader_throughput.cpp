// The Graph Data reader's throughput: reads the given files with the program's own block
// reader, already in memory, a few times each, and prints the best rate in MB/s.
//
//   nikra_bench_reader FILE...

#include "formats/graph_data_reader.h"

#include <QFile>

#include <chrono>
#include <cstdio>

int main(int argc, char **argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: nikra_bench_reader FILE...\n");
        return 2;
    }
    for (int a = 1; a < argc; ++a) {
        QFile file(QString::fromLocal8Bit(argv[a]));
        if (!file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "cannot read %s\n", argv[a]);
            return 1;
        }
        const QByteArray bytes = file.readAll();
        double best = 0;
        long long points = 0;
        for (int run = 0; run < 5; ++run) {
            const auto start = std::chrono::steady_clock::now();
            nikra::GraphDataReader reader(bytes);
            nikra::DataBlock block;
            std::int16_t ipl = 0;
            points = 0;
            while (reader.hasData() && reader.readBlock(block, ipl, false, false, {}) == nikra::BlockStatus::Read)
                points += block.count();
            const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            best = std::max(best, double(bytes.size()) / 1e6 / seconds);
        }
        std::printf("%s: %lld points, %.1f MB, %.0f MB/s\n", argv[a], points, double(bytes.size()) / 1e6, best);
    }
    return 0;
}
