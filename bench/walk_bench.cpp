// Reading a file without a resource map by walking its chunks, as the main
// window does when the user asks for it, against reading the file's bytes once.
#include <benchmark/benchmark.h>

#include <vector>

#include "bench_files.h"
#include "file_bytes.h"
#include "messages.h"
#include "parse_iff.h"

namespace marrowick::bench {
namespace {

const std::string& FileFor(const benchmark::State& state) {
    return state.range(0) == 0 ? Files().oneMegabyteNoMap : ManySmallChunks();
}

void Describe(benchmark::State& state, const std::string& path) {
    static const char* const kNames[] = {"1 MB, no map", "100 MB of small chunks"};
    state.SetLabel(kNames[state.range(0)]);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(FileBytes(path).size()));
}

void Walk(benchmark::State& state) {
    const std::string& path = FileFor(state);
    ParseIFF parse;
    FirstMessage readChunks(true);
    parse.SetMessageSink(&readChunks);
    {
        // Once outside the timing, to count the reads a walk makes.
        FileBytes file(path);
        parse.ScanObjectFile(file, path);
        state.counters["preads"] = static_cast<double>(file.read_calls());
    }
    for (auto _ : state) {
        parse.ScanObjectFile(path);
        if (parse.ReadBy != IndexSource::Chunks || !parse.ScanWarnings.empty() ||
            parse.ObjdCount == 0) {
            state.SkipWithError("the walk did not read the whole file");
            break;
        }
        benchmark::DoNotOptimize(parse.ObjdCount);
    }
    Describe(state, path);
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
BENCHMARK(ReadBytesOnce)->DenseRange(0, 1)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace marrowick::bench

BENCHMARK_MAIN();
