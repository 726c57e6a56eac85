// The container check and the resource-map scan that fill the object index.
#include <algorithm>
#include <array>
#include <cstring>
#include <optional>
#include <string>

#include "file_bytes.h"
#include "parse_iff.h"

namespace marrowick {
namespace {

constexpr std::uint8_t kPadByte = 0xA3;
constexpr std::uint64_t kMapHeaderAndPrefix = 96;  // chunk header, then 20 bytes not read
constexpr std::uint64_t kObjdCatalogIdOffset = 158;
constexpr std::uint64_t kChunkLabelOffset = 12;
constexpr const char* kCutShort = "The file is cut short: ";

std::uint32_t Le32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

std::int16_t Le16Signed(const std::uint8_t* p) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(p[0] | p[1] << 8));
}

// Skips a map entry's label from `at` up to and including its terminator and
// returns the offset after it, having stepped over a 0xA3 pad byte. A label
// without a terminator ends at the end of the file.
std::uint64_t SkipLabel(FileBytes& file, std::uint64_t at, bool bitmapLabel) {
    // Bitmap labels in real maps end in 0x10 as often as in zero.
    at = file.Find(at, UINT64_MAX, 0, bitmapLabel ? 16 : 0);
    if (file.At(at) < 0) {
        return at;  // no terminator before the end of the file
    }
    ++at;
    if (file.At(at) == kPadByte) {
        ++at;
    }
    return at;
}

// Reads the fixed part of the map entry at `at` (offset, id, flags). False when
// the entry does not lie wholly inside the file: the list ends there.
bool ReadEntry(FileBytes& file, std::uint64_t at, std::uint8_t (&fixed)[8]) {
    if (const std::span<const std::uint8_t> cached = file.Peek(at, sizeof fixed); !cached.empty()) {
        std::memcpy(fixed, cached.data(), sizeof fixed);
        return true;
    }
    return file.ReadInto(at, fixed) == sizeof fixed;
}

// A file cut short: its resource map, or a chunk that the index lists, runs past
// the end of the file by its declared size. Returns what the user is told, naming
// the first part missing (the map before any chunk), or nothing for a whole file.
std::optional<std::string> CutShortWarning(FileBytes& file, const ParseIFF& parse,
                                           std::uint64_t map, std::uint64_t mapSize) {
    const std::uint64_t end = file.size();
    std::optional<std::string> first;
    int more = 0;
    const auto missing = [&](const std::string& what) {
        if (first) {
            ++more;
        } else {
            first = std::string(kCutShort) + "it ends at byte " + std::to_string(end) + what;
        }
    };
    if (map + mapSize > end) {
        missing(", inside its resource map, which starts at byte " + std::to_string(map) +
                " and is " + std::to_string(mapSize) + " bytes long.");
    }
    const auto listed = [&](const char* type, int count, const auto& positions) {
        for (int i = 0; i < count; ++i) {
            const auto at = static_cast<std::uint64_t>(positions[static_cast<std::size_t>(i)]);
            std::uint8_t copy[8];
            std::span<const std::uint8_t> header = file.Peek(at, sizeof copy);
            if (header.empty() && file.ReadInto(at, copy) == sizeof copy) {
                header = copy;
            }
            if (header.empty()) {
                const std::string chunk = std::string(type) + " chunk";
                missing(at >= end ? ", before the " + chunk + " that its map places at byte " +
                                        std::to_string(at) + "."
                                  : ", inside the header of the " + chunk + " at byte " +
                                        std::to_string(at) + ".");
                continue;
            }
            const auto size =
                static_cast<std::uint64_t>(ReadBE32(header[4], header[5], header[6], header[7]));
            if (at + size > end) {
                const std::string chunk = std::string(type) + " chunk";
                missing(", inside the " + chunk + " that starts at byte " + std::to_string(at) +
                        " and is " + std::to_string(size) + " bytes long.");
            }
        }
    };
    listed("OBJD", parse.ObjdCount, parse.ObjdChunkPos);
    listed("CTSS", parse.CtssCount, parse.CtssChunkPos);
    listed("BMP_", parse.BmpCount, parse.BmpChunkPos);
    if (more == 1) {
        *first += " 1 more listed chunk runs past the end too.";
    } else if (more > 1) {
        *first += ' ';
        *first += std::to_string(more);
        *first += " more listed chunks run past the end too.";
    }
    return first;
}

}  // namespace

std::string CutInHeaderMessage(std::uint64_t end) {
    return std::string(kCutShort) + "it ends at byte " + std::to_string(end) +
           ", inside its 64-byte header.";
}

std::string CutBeforeMapMessage(std::uint64_t map, std::uint64_t end) {
    return std::string(kCutShort) + "its resource map should start at byte " + std::to_string(map) +
           ", but the file ends at byte " + std::to_string(end) + ".";
}

std::string CutInMapHeaderMessage(std::uint64_t map, std::uint64_t end) {
    return std::string(kCutShort) + "it ends at byte " + std::to_string(end) +
           ", inside the header of its resource map at byte " + std::to_string(map) + ".";
}

// Of the messages a scan reports first, only these three begin so; the cut-short
// warnings of a readable file never take a message's place.
bool MapCannotBeUsed(const std::string& message) {
    return message == kNoResourceMap || message.starts_with(kCutShort);
}

std::int64_t ReadBE32(std::uint8_t b0, std::uint8_t b1, std::uint8_t b2, std::uint8_t b3) {
    return static_cast<std::int64_t>(b0) << 24 | static_cast<std::int64_t>(b1) << 16 |
           static_cast<std::int64_t>(b2) << 8 | static_cast<std::int64_t>(b3);
}

void ParseIFF::ClearIndex() {
    TypeListPos.fill(0);
    ObjdCount = 0;
    CtssCount = 0;
    BmpCount = 0;
    ReadBy = IndexSource::None;
    ScanWarnings.clear();
}

void ParseIFF::ReadObjectHeads(FileBytes& file) {
    for (int i = 0; i < ObjdCount; ++i) {
        const auto row = static_cast<std::size_t>(i);
        const auto chunk = static_cast<std::uint64_t>(ObjdChunkPos[row]);
        std::uint8_t copy[kObjdCatalogIdOffset + 2];
        const std::uint8_t* head = copy;
        if (const std::span<const std::uint8_t> cached = file.Peek(chunk, sizeof copy);
            !cached.empty()) {
            head = cached.data();
        } else {
            file.ReadInto(chunk, copy);  // bytes past the end read as zero
        }
        CatalogId[row] = Le16Signed(head + kObjdCatalogIdOffset);
        // The label is bounded by its zero byte, not by its 64-byte field: a full
        // field runs on into the chunk data, as the game's own tools show it.
        const std::uint64_t label = chunk + kChunkLabelOffset;
        const std::uint64_t end = file.Find(label, label + kMaxTextBytes, 0, 0);
        const auto length = static_cast<std::size_t>(end - label);
        if (const std::span<const std::uint8_t> cached = file.Peek(label, length);
            !cached.empty()) {
            ObjdLabel[row].assign(reinterpret_cast<const char*>(cached.data()), cached.size());
        } else {
            const std::vector<std::uint8_t> bytes = file.ReadUpTo(label, length);
            ObjdLabel[row].assign(bytes.begin(), bytes.end());
        }
    }
}

void ParseIFF::ScanObjectFile(const std::string& path) {
    FileBytes file(path);
    ScanObjectFile(file, path);
}

void ParseIFF::ScanObjectFile(FileBytes& file, const std::string& path) {
    ClearIndex();
    if (!file.ok()) {
        Report(CannotOpenMessage(path, file.error()), kAppTitle);
        return;
    }
    FileNum = file.fd();

    std::uint8_t header[64];
    const std::size_t headerBytes = file.ReadInto(0, header);
    if (headerBytes < 8 || std::memcmp(header, "IFF FILE", 8) != 0) {
        FileNum = -1;
        Report(kNotValidIff, kAppTitle);
        return;
    }

    const std::uint64_t map =
        static_cast<std::uint64_t>(ReadBE32(header[60], header[61], header[62], header[63]));
    std::uint8_t mapHeader[8];
    const std::size_t mapBytes = headerBytes < sizeof header ? 0 : file.ReadInto(map, mapHeader);
    const bool rsmp = mapBytes >= 4 && std::memcmp(mapHeader, "rsmp", 4) == 0;
    if (!rsmp || mapBytes < sizeof mapHeader) {
        // Most files keep their map at the end, so a download cut short has lost
        // it: the user is told that, not that the file has no map. Read Chunks is
        // offered either way, and a walk keeps the cut as its first warning.
        std::optional<std::string> cut;
        if (headerBytes < sizeof header) {
            cut = CutInHeaderMessage(headerBytes);
        } else if (map + 4 > file.size()) {
            cut = CutBeforeMapMessage(map, file.size());
        } else if (rsmp) {
            cut = CutInMapHeaderMessage(map, map + mapBytes);
        }
        FileNum = -1;
        if (sink_ != nullptr && sink_->ShowNoResourceMap(cut.value_or(kNoResourceMap),
                                                         cut ? kAppTitle : kNoResourceMapCaption)) {
            if (cut) {
                ScanWarnings.push_back(std::move(*cut));
            }
            WalkChunks(file);
        }
        return;
    }
    ReadBy = IndexSource::ResourceMap;

    // Only the low 16 bits of the map's size give the scan length, read unsigned.
    const std::uint64_t scanLength = static_cast<std::uint64_t>(mapHeader[6]) << 8 | mapHeader[7];

    // The sliding match: L+1 four-byte windows from M+96, every type compared at
    // every window, the last match winning. The region is deliberately not
    // clipped to the map chunk (real maps are found this way); only the file's
    // end bounds it, and a window that reaches past the end matches nothing.
    const std::uint64_t regionStart = map + kMapHeaderAndPrefix;
    const std::vector<std::uint8_t> region =
        file.ReadUpTo(regionStart, static_cast<std::size_t>(scanLength + 4));
    std::array<std::uint8_t, 256> startsACode{};
    for (const char* code : kMapTypeCodes) {
        startsACode[static_cast<std::uint8_t>(code[0])] = 1;
    }
    const auto match = [&](std::size_t k) {
        const std::uint8_t* window = region.data() + k;
        if (!startsACode[window[0]]) {
            return;  // most windows: no code starts with this byte
        }
        for (std::size_t type = 0; type < kMapTypeCodes.size(); ++type) {
            if (std::memcmp(window, kMapTypeCodes[type], 4) == 0) {
                TypeListPos[type] = static_cast<std::int64_t>(regionStart + k + 4);
            }
        }
    };
    const std::size_t windows =
        region.size() < 4 ? 0 : std::min<std::size_t>(scanLength + 1, region.size() - 3);
    std::size_t k = 0;
    // Eight windows at a time: one test passes over most groups of them.
    for (constexpr std::size_t kStep = 8; k + kStep <= windows; k += kStep) {
        const std::uint8_t* w = region.data() + k;
        if ((startsACode[w[0]] | startsACode[w[1]] | startsACode[w[2]] | startsACode[w[3]] |
             startsACode[w[4]] | startsACode[w[5]] | startsACode[w[6]] | startsACode[w[7]]) != 0) {
            for (std::size_t j = 0; j < kStep; ++j) {
                match(k + j);
            }
        }
    }
    for (; k < windows; ++k) {
        match(k);
    }

    auto listPos = [this](ChunkType type) {
        return static_cast<std::uint64_t>(TypeListPos[static_cast<std::size_t>(type)]);
    };
    // Only the low byte of a list's 32-bit count is used: 256 entries count as 0.
    auto countAt = [&file](std::uint64_t at) { return std::max(file.At(at), 0); };

    if (const std::uint64_t pos = listPos(ChunkType::OBJD); pos > 0) {
        const int count = countAt(pos);
        std::uint64_t entry = pos + 4;
        int read = 0;
        for (std::uint8_t fixed[8]; read < count && ReadEntry(file, entry, fixed); ++read) {
            ObjdChunkPos[static_cast<std::size_t>(read)] = Le32(fixed);
            ObjdChunkId[static_cast<std::size_t>(read)] = fixed[5] << 8 | fixed[4];
            entry = SkipLabel(file, entry + 8, false);
        }
        ObjdCount = read;
    }

    if (const std::uint64_t pos = listPos(ChunkType::CTSS); pos > 0) {
        const int count = countAt(pos);
        std::uint64_t entry = pos + 4;
        int read = 0;
        for (std::uint8_t fixed[8]; read < count && ReadEntry(file, entry, fixed); ++read) {
            CtssChunkPos[static_cast<std::size_t>(read)] = Le32(fixed);
            CtssChunkId[static_cast<std::size_t>(read)] = Le16Signed(fixed + 4);
            entry = SkipLabel(file, entry + 8, false);
        }
        CtssCount = read;
    }

    ReadObjectHeads(file);

    if (const std::uint64_t pos = listPos(ChunkType::BMP_); pos > 0) {
        const int count = countAt(pos);
        std::uint64_t entry = pos + 4;
        int read = 0;
        for (std::uint8_t fixed[8]; read < count && ReadEntry(file, entry, fixed); ++read) {
            BmpChunkPos[static_cast<std::size_t>(read)] = Le32(fixed);
            BmpChunkId[static_cast<std::size_t>(read)] = Le16Signed(fixed + 4);
            entry = SkipLabel(file, entry + 8, true);
        }
        BmpCount = read;
    }
    const auto mapSize = static_cast<std::uint64_t>(
        ReadBE32(mapHeader[4], mapHeader[5], mapHeader[6], mapHeader[7]));
    if (std::optional<std::string> cut = CutShortWarning(file, *this, map, mapSize)) {
        ScanWarnings.push_back(std::move(*cut));
    }
    FileNum = -1;
}

}  // namespace marrowick
