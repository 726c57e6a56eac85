// Scan plus full decode of every object, as marrowick-inspect does it, against
// the same work done with one read call per byte and a reopen per decoder call,
// and against reading the file's bytes once.
#include <benchmark/benchmark.h>

#include <vector>

#include "bench_files.h"
#include "file_bytes.h"
#include "naive_reader.h"
#include "object_listing.h"

namespace marrowick::bench {
namespace {

const std::string& FileFor(const benchmark::State& state) {
    switch (state.range(0)) {
        case 0:
            return Files().sample;
        case 1:
            return Files().manyObjects;
        default:
            return Files().oneMegabyte;
    }
}

void Label(benchmark::State& state) {
    static const char* const kNames[] = {"sample", "255 objects", "1 MB"};
    state.SetLabel(kNames[state.range(0)]);
}

void Reader(benchmark::State& state) {
    const std::string& path = FileFor(state);
    ParseIFF parse;
    for (auto _ : state) {
        FileBytes file(path);
        inspect::FileListing listing = inspect::ListFile(parse, file, path);
        if (!listing.error.empty()) {
            state.SkipWithError(listing.error.c_str());
        }
        benchmark::DoNotOptimize(listing);
    }
    Label(state);
}

void OneByteReadsReopened(benchmark::State& state) {
    const std::string& path = FileFor(state);
    const std::vector<std::int64_t> scores = {240, 242, 244, 246, 248, 250, 252};
    const std::vector<std::int64_t> values = {112, 144, 146, 148, 150, 152};
    const std::vector<std::int64_t> guids = {104, 105, 106, 107, 216, 217,
                                             218, 219, 260, 261, 262, 263};
    for (auto _ : state) {
        NaiveReader reader(path);
        if (!reader.Scan()) {
            state.SkipWithError("scan failed");
        }
        std::int64_t sum = 0;
        for (int i = 0; i < static_cast<int>(reader.objects().size()); ++i) {
            // The editor's loading order, one reopen per group.
            sum += reader.ReadFields(i, scores, 2);
            sum += reader.ReadFields(i, values, 2);
            sum += reader.ReadFields(i, {254}, 2);
            sum += reader.ReadFields(i, {154, 156}, 1);
            sum += reader.ReadFields(i, guids, 1);
            sum += static_cast<std::int64_t>(reader.ReadCatalogText(i));
        }
        benchmark::DoNotOptimize(sum);
    }
    Label(state);
}

// The floor of the reader's design: it reopens the file for each of the six
// decoder calls per object, so opening alone costs this much.
void ReopensAlone(benchmark::State& state) {
    const std::string& path = FileFor(state);
    ParseIFF parse;
    parse.ScanObjectFile(path);
    const int opens = 1 + 6 * parse.ObjdCount;
    for (auto _ : state) {
        for (int i = 0; i < opens; ++i) {
            FileBytes file(path);
            benchmark::DoNotOptimize(file.size());
        }
    }
    Label(state);
}

void ReadBytesOnce(benchmark::State& state) {
    const std::string& path = FileFor(state);
    std::vector<char> buffer(1 << 20);
    for (auto _ : state) {
        const std::size_t total = ReadAllBytes(path, buffer);
        benchmark::DoNotOptimize(total);
    }
    Label(state);
}

BENCHMARK(Reader)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);
BENCHMARK(OneByteReadsReopened)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);
BENCHMARK(ReopensAlone)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);
BENCHMARK(ReadBytesOnce)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace marrowick::bench

BENCHMARK_MAIN();
