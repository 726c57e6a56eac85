// Reading a file without a resource map by walking its chunks, as the main
// window does when the user asks for it, and scanning a map whose last label
// runs on to the end of the file, each against reading the file's bytes once.
#include <benchmark/benchmark.h>

#include <vector>

#include "bench_files.h"
#include "file_bytes.h"
#include "messages.h"
#include "parse_iff.h"

namespace marrowick::bench {
namespace {

const std::string& FileFor(const benchmark::State& state) {
    switch (state.range(0)) {
        case 0:
            return Files().oneMegabyteNoMap;
        case 1:
            return ManySmallChunks();
        default:
            return EndlessMapLabel();
    }
}

void Describe(benchmark::State& state, const std::string& path) {
    static const char* const kNames[] = {"1 MB, no map", "100 MB of small chunks",
                                         "64 MiB, a map label without an end"};
    state.SetLabel(kNames[state.range(0)]);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(FileBytes(path).size()));
}

// Scans `path` as `good` says it should be read, timed, after once outside the
// timing to count the reads a scan makes.
template <typename Good>
void TimeScan(benchmark::State& state, const Good& good) {
    const std::string& path = FileFor(state);
    ParseIFF parse;
    FirstMessage readChunks(true);
    parse.SetMessageSink(&readChunks);
    {
        FileBytes file(path);
        parse.ScanObjectFile(file, path);
        state.counters["preads"] = static_cast<double>(file.read_calls());
    }
    for (auto _ : state) {
        parse.ScanObjectFile(path);
        if (!good(parse)) {
            state.SkipWithError("the scan did not read the file as it should");
            break;
        }
        benchmark::DoNotOptimize(parse.ObjdCount);
    }
    Describe(state, path);
}

void Walk(benchmark::State& state) {
    TimeScan(state, [](const ParseIFF& parse) {
        return parse.ReadBy == IndexSource::Chunks && parse.ScanWarnings.empty() &&
               parse.ObjdCount > 0;
    });
}

void MapScan(benchmark::State& state) {
    TimeScan(state, [](const ParseIFF& parse) {
        return parse.ReadBy == IndexSource::ResourceMap && parse.ObjdCount == 2;
    });
}

void ReadBytesOnce(benchmark::State& state) {
    const std::string& path = FileFor(state);
    std::vector<char> buffer(1 << 20);
    for (auto _ : state) {
        benchmark::DoNotOptimize(ReadAllBytes(path, buffer));
    }
    Describe(state, path);
}

BENCHMARK(Walk)->DenseRange(0, 1)->Unit(benchmark::kMicrosecond);
BENCHMARK(MapScan)->Arg(2)->Unit(benchmark::kMicrosecond);
BENCHMARK(ReadBytesOnce)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace marrowick::bench

BENCHMARK_MAIN();
