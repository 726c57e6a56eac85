#include "naive_reader.h"

#include <array>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

namespace marrowick::bench {
namespace {

class OneByteFile {
  public:
    explicit OneByteFile(const std::string& path) : fd_(::open(path.c_str(), O_RDONLY)) {}
    ~OneByteFile() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    OneByteFile(const OneByteFile&) = delete;
    OneByteFile& operator=(const OneByteFile&) = delete;
    bool ok() const { return fd_ >= 0; }

    // One read call per byte; -1 past the end.
    int At(std::int64_t offset) {
        std::uint8_t byte = 0;
        return ::pread(fd_, &byte, 1, static_cast<off_t>(offset)) == 1 ? byte : -1;
    }
    std::uint32_t Le(std::int64_t offset, int width) {
        std::uint32_t value = 0;
        for (int i = width - 1; i >= 0; --i) {
            value = value << 8 | static_cast<std::uint8_t>(At(offset + i));
        }
        return value;
    }

  private:
    int fd_;
};

constexpr std::array<const char*, 14> kCodes = {"DJBO", "fJBO", "TLAP", "SSTC", "#RTS",
                                                "BATT", "sATT", "PRGD", "2RPS", "VAHB",
                                                "_PMB", "NOCB", "TOLS", "VAWF"};

std::int64_t SkipLabel(OneByteFile& file, std::int64_t at) {
    for (int byte = file.At(at); byte > 0; byte = file.At(at)) {
        ++at;
    }
    ++at;
    return file.At(at) == 0xA3 ? at + 1 : at;
}

}  // namespace

bool NaiveReader::Scan() {
    objects_.clear();
    ctss_.clear();
    OneByteFile file(path_);
    if (!file.ok()) {
        return false;
    }
    char signature[8];
    for (int i = 0; i < 8; ++i) {
        signature[i] = static_cast<char>(file.At(i));
    }
    if (std::memcmp(signature, "IFF FILE", 8) != 0) {
        return false;
    }
    std::int64_t map = 0;
    for (int i = 60; i < 64; ++i) {
        map = map << 8 | file.At(i);
    }
    if (file.At(map) != 'r') {
        return false;
    }
    const std::int64_t length = file.At(map + 6) << 8 | file.At(map + 7);
    std::array<std::int64_t, 14> listPos{};
    for (std::int64_t k = 0; k <= length; ++k) {
        char window[4];
        for (int i = 0; i < 4; ++i) {
            window[i] = static_cast<char>(file.At(map + 96 + k + i));
        }
        for (std::size_t type = 0; type < kCodes.size(); ++type) {
            if (std::memcmp(window, kCodes[type], 4) == 0) {
                listPos[type] = map + 96 + k + 4;
            }
        }
    }
    if (listPos[0] > 0) {
        std::int64_t entry = listPos[0] + 4;
        for (int i = file.At(listPos[0]); i > 0; --i) {
            objects_.push_back({file.Le(entry, 4), 0, {}});
            entry = SkipLabel(file, entry + 8);
        }
    }
    if (listPos[3] > 0) {
        std::int64_t entry = listPos[3] + 4;
        for (int i = file.At(listPos[3]); i > 0; --i) {
            ctss_.emplace_back(file.Le(entry, 4), static_cast<std::int16_t>(file.Le(entry + 4, 2)));
            entry = SkipLabel(file, entry + 8);
        }
    }
    for (NaiveObject& object : objects_) {
        object.catalogId = static_cast<std::int16_t>(file.Le(object.chunkPos + 158, 2));
        for (int byte =
                 file.At(object.chunkPos + 12 + static_cast<std::int64_t>(object.label.size()));
             byte > 0; byte = file.At(object.chunkPos + 12 +
                                      static_cast<std::int64_t>(object.label.size()))) {
            object.label.push_back(static_cast<char>(byte));
        }
    }
    return true;
}

std::int64_t NaiveReader::ReadFields(int object, const std::vector<std::int64_t>& offsets,
                                     int width) {
    OneByteFile file(path_);
    const std::int64_t chunk = objects_[static_cast<std::size_t>(object)].chunkPos;
    std::int64_t sum = 0;
    for (std::int64_t offset : offsets) {
        sum += file.Le(chunk + offset, width);
    }
    return sum;
}

std::size_t NaiveReader::ReadCatalogText(int object) {
    const std::int16_t catalog = objects_[static_cast<std::size_t>(object)].catalogId;
    std::int64_t at = -1;
    for (const auto& [pos, id] : ctss_) {
        if (id == catalog) {
            at = pos + 81;
        }
    }
    if (at < 0) {
        return 0;
    }
    OneByteFile file(path_);
    std::size_t text = 0;
    for (int terminator : {0, 1, 0}) {
        for (int byte = file.At(at++); byte >= 0 && byte != terminator; byte = file.At(at++)) {
            text += terminator == 0 ? 1 : 0;
        }
    }
    return text;
}

}  // namespace marrowick::bench
