// The object files the benchmarks read.
#pragma once

#include <string>

namespace marrowick::bench {

// Writes the bench files into `folder` once and returns their paths.
struct BenchFiles {
    std::string sample;       // the bundled sample's bytes
    std::string manyObjects;  // 255 objects, each with its catalog texts
    std::string oneMegabyte;  // a few objects among large sprite chunks
};
const BenchFiles& Files();

}  // namespace marrowick::bench
