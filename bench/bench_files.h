// The object files the benchmarks read.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace marrowick::bench {

// Writes the bench files into `folder` once and returns their paths.
struct BenchFiles {
    std::string sample;            // the bundled sample's bytes
    std::string manyObjects;       // 255 objects, each with its catalog texts
    std::string oneMegabyte;       // a few objects among large sprite chunks
    std::string oneMegabyteNoMap;  // the same chunks without a resource map
};
const BenchFiles& Files();

// About 100 MB without a resource map: 1.3 million chunks of 76 to 90 bytes, a
// handful of them objects, catalog texts and thumbnails. Written once and kept
// between runs, as it takes a while to write.
const std::string& ManySmallChunks();

// 64 MiB whose resource map lists two objects, the second with a label that has
// no end: it runs on over the rest of the file. Written once per run.
const std::string& EndlessMapLabel();

// Reads the file's bytes once, start to end, into `buffer` piece by piece; the
// floor the reader is compared with. Returns the number of bytes read.
std::size_t ReadAllBytes(const std::string& path, std::vector<char>& buffer);

}  // namespace marrowick::bench
