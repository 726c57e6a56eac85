// The baseline the benchmarks compare against: the reader as it must not work,
// with every byte one read call and the file reopened for every decoder call.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace marrowick::bench {

struct NaiveObject {
    std::int64_t chunkPos = 0;
    std::int16_t catalogId = 0;
    std::string label;
};

class NaiveReader {
  public:
    explicit NaiveReader(std::string path) : path_(std::move(path)) {}

    // The container check and resource-map scan; false for a bad file.
    bool Scan();
    // One decoder call: reopens the file and reads the fields of `width` bytes
    // at these chunk offsets, byte by byte. Returns their sum, so that the work
    // cannot be optimised away.
    std::int64_t ReadFields(int object, const std::vector<std::int64_t>& offsets, int width);
    // The catalog text walk for the object's CTSS chunk (or none); returns the
    // number of text bytes read.
    std::size_t ReadCatalogText(int object);

    const std::vector<NaiveObject>& objects() const { return objects_; }

  private:
    std::string path_;
    std::vector<NaiveObject> objects_;
    std::vector<std::pair<std::int64_t, std::int16_t>> ctss_;  // position, id
};

}  // namespace marrowick::bench
