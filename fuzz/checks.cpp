#include "checks.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "input_file.h"

namespace marrowick::fuzz {
namespace {

constexpr std::uint64_t kFirstChunk = 64;
constexpr std::uint64_t kChunkHeader = 76;
constexpr std::size_t kMaxRows = 255;
constexpr std::array<const char*, 3> kKeptCodes = {"OBJD", "CTSS", "BMP_"};

// The rows of one kept chunk type, as the index holds them.
struct Rows {
    int count;
    const std::int64_t* positions;
    const std::int32_t* ids;
};

std::array<Rows, 3> KeptRows(const ParseIFF& parse) {
    return {{{parse.ObjdCount, parse.ObjdChunkPos.data(), parse.ObjdChunkId.data()},
             {parse.CtssCount, parse.CtssChunkPos.data(), parse.CtssChunkId.data()},
             {parse.BmpCount, parse.BmpChunkPos.data(), parse.BmpChunkId.data()}}};
}

std::uint64_t Be32(const std::uint8_t* p) {
    return static_cast<std::uint64_t>(p[0]) << 24 | static_cast<std::uint64_t>(p[1]) << 16 |
           static_cast<std::uint64_t>(p[2]) << 8 | p[3];
}

// What a walk of the input must find, worked out from the bytes in memory. The
// reader walks the file through FileBytes' read-ahead buffer, so a buffer that
// hands out stale or shifted bytes shows up as a difference.
struct MemoryWalk {
    std::array<std::vector<std::int64_t>, 3> kept;  // the first 255 of each type
    std::size_t warnings = 0;
};

MemoryWalk WalkInMemory(std::span<const std::uint8_t> bytes) {
    MemoryWalk walk;
    std::array<bool, 3> leftOut{};
    const std::uint64_t end = bytes.size();
    bool stopped = end < kFirstChunk;
    for (std::uint64_t at = kFirstChunk; !stopped && at != end;) {
        const std::uint64_t size = end - at < kChunkHeader ? 0 : Be32(bytes.data() + at + 4);
        if (size < kChunkHeader || size > end - at) {
            stopped = true;
            break;
        }
        for (std::size_t type = 0; type < kKeptCodes.size(); ++type) {
            if (std::memcmp(bytes.data() + at, kKeptCodes[type], 4) == 0) {
                if (walk.kept[type].size() < kMaxRows) {
                    walk.kept[type].push_back(static_cast<std::int64_t>(at));
                } else {
                    leftOut[type] = true;
                }
            }
        }
        at += size;
    }
    walk.warnings = (stopped ? 1 : 0) +
                    static_cast<std::size_t>(std::count(leftOut.begin(), leftOut.end(), true));
    return walk;
}

void CheckWalkedIndex(const ParseIFF& parse, std::span<const std::uint8_t> bytes) {
    for (std::int64_t pos : parse.TypeListPos) {
        Require(pos == 0, "a walk finds no list positions");
    }
    for (const std::string& warning : parse.ScanWarnings) {
        Require(!warning.empty() && IsUtf8(warning), "walk warnings are UTF-8 texts");
    }
    const MemoryWalk expected = WalkInMemory(bytes);
    Require(parse.ScanWarnings.size() == expected.warnings,
            "a walk warns once where it stops and once per type with rows left out");
    const auto size = static_cast<std::int64_t>(bytes.size());
    const std::array<Rows, 3> kept = KeptRows(parse);
    for (std::size_t type = 0; type < kept.size(); ++type) {
        const Rows& rows = kept[type];
        Require(static_cast<std::size_t>(rows.count) == expected.kept[type].size(),
                "a walk keeps the first 255 chunks of each type");
        for (std::size_t row = 0; row < static_cast<std::size_t>(rows.count); ++row) {
            const std::int64_t pos = rows.positions[row];
            Require(pos >= 64 && pos + 76 <= size, "walked chunks lie inside the file");
            Require(pos == expected.kept[type][row], "a walk keeps the chunks in file order");
            const std::uint8_t* header = bytes.data() + pos;
            const int id = header[8] << 8 | header[9];
            // OBJD ids are kept unsigned, the others signed.
            Require(rows.ids[row] == (type == 0 ? id : static_cast<std::int16_t>(id)),
                    "a walked row's id is its chunk's");
        }
    }
}

void CheckMapIndex(const ParseIFF& parse, std::int64_t size) {
    Require(parse.ScanWarnings.empty(), "a map scan has no warnings");
    for (std::int64_t pos : parse.TypeListPos) {
        // A list position is the byte after a four-byte window inside the file.
        Require(pos == 0 || (pos >= 100 && pos <= size), "list positions lie inside the file");
    }
    const auto listFound = [&](ChunkType type) {
        return parse.TypeListPos[static_cast<std::size_t>(type)] > 0;
    };
    Require(parse.ObjdCount == 0 || listFound(ChunkType::OBJD), "objects come from an OBJD list");
    Require(parse.CtssCount == 0 || listFound(ChunkType::CTSS), "CTSS rows come from a CTSS list");
    Require(parse.BmpCount == 0 || listFound(ChunkType::BMP_), "BMP_ rows come from a BMP_ list");
}

void CheckScan(const Scan& scan, std::span<const std::uint8_t> bytes) {
    const ParseIFF& parse = scan.parse;
    Require(scan.sink.shown <= 1, "a scan reports at most one message");
    Require(parse.FileNum == -1, "no file stays open after a scan");
    for (int count : {parse.ObjdCount, parse.CtssCount, parse.BmpCount}) {
        Require(count >= 0 && count <= 255, "counts are 0 to 255");
    }
    Require((scan.sink.shown > 0) == (parse.ReadBy == IndexSource::None),
            "a scan either reports the file or reads it");
    switch (parse.ReadBy) {
        case IndexSource::None:
            Require(parse.ObjdCount == 0 && parse.CtssCount == 0 && parse.BmpCount == 0 &&
                        parse.ScanWarnings.empty(),
                    "a rejected file leaves the index empty");
            for (std::int64_t pos : parse.TypeListPos) {
                Require(pos == 0, "a rejected file leaves no list position");
            }
            break;
        case IndexSource::ResourceMap:
            CheckMapIndex(parse, static_cast<std::int64_t>(bytes.size()));
            break;
        case IndexSource::Chunks:
            CheckWalkedIndex(parse, bytes);
            break;
    }
    for (int i = 0; i < parse.ObjdCount; ++i) {
        const auto row = static_cast<std::size_t>(i);
        const std::string& label = parse.ObjdLabel[row];
        Require(label.size() <= ParseIFF::kMaxTextBytes, "labels are bounded");
        Require(label.find('\0') == std::string::npos, "labels end at their zero byte");
        Require(parse.ObjdChunkId[row] >= 0 && parse.ObjdChunkId[row] <= 65535,
                "object chunk ids are 16-bit");
    }
}

bool SameIndex(const ParseIFF& a, const ParseIFF& b) {
    const auto same = [](const auto& x, const auto& y, int count) {
        return std::equal(x.begin(), x.begin() + count, y.begin());
    };
    return a.ReadBy == b.ReadBy && a.ScanWarnings == b.ScanWarnings &&
           a.TypeListPos == b.TypeListPos && a.ObjdCount == b.ObjdCount &&
           a.CtssCount == b.CtssCount && a.BmpCount == b.BmpCount &&
           same(a.ObjdChunkPos, b.ObjdChunkPos, a.ObjdCount) &&
           same(a.ObjdChunkId, b.ObjdChunkId, a.ObjdCount) &&
           same(a.ObjdLabel, b.ObjdLabel, a.ObjdCount) &&
           same(a.CatalogId, b.CatalogId, a.ObjdCount) &&
           same(a.CtssChunkPos, b.CtssChunkPos, a.CtssCount) &&
           same(a.CtssChunkId, b.CtssChunkId, a.CtssCount) &&
           same(a.BmpChunkPos, b.BmpChunkPos, a.BmpCount) &&
           same(a.BmpChunkId, b.BmpChunkId, a.BmpCount);
}

void RunScan(Scan& scan, const std::string& path) {
    scan.parse.SetMessageSink(&scan.sink);
    scan.parse.CurrentFile = path;
    scan.parse.ScanObjectFile(path);
}

}  // namespace

void Require(bool holds, const char* rule) {
    if (!holds) {
        std::fprintf(stderr, "broken rule: %s\n", rule);
        std::abort();
    }
}

bool IsUtf8(std::string_view text) {
    for (std::size_t at = 0; at < text.size();) {
        const auto lead = static_cast<unsigned char>(text[at]);
        const std::size_t length = lead < 0x80    ? 1
                                   : lead >= 0xF0 ? 4
                                   : lead >= 0xE0 ? 3
                                   : lead >= 0xC2 ? 2
                                                  : 0;
        if (length == 0 || at + length > text.size()) {
            return false;
        }
        for (std::size_t k = 1; k < length; ++k) {
            if ((static_cast<unsigned char>(text[at + k]) & 0xC0) != 0x80) {
                return false;
            }
        }
        at += length;
    }
    return true;
}

void CountingSink::ShowMessage(const std::string& text, const std::string& caption) {
    Require(!text.empty() && !caption.empty(), "a message has a text and a caption");
    if (shown++ == 0) {
        first = text;
    }
}

bool CountingSink::ShowNoResourceMap(const std::string& text, const std::string& caption) {
    Require(text == kNoResourceMap && caption == kNoResourceMapCaption,
            "the no-map message is the designed one");
    ++noMapAsked;
    if (readChunks_) {
        return true;
    }
    ShowMessage(text, caption);
    return false;
}

std::unique_ptr<BothScans> ScanBothWays(std::span<const std::uint8_t> bytes) {
    const std::string& path = InputFile::Instance().Write(bytes);
    auto scans = std::make_unique<BothScans>();
    RunScan(scans->designed, path);
    RunScan(scans->walked, path);
    const Scan& designed = scans->designed;
    const Scan& walked = scans->walked;
    CheckScan(designed, bytes);
    CheckScan(walked, bytes);

    Require(designed.parse.ReadBy != IndexSource::Chunks, "a refused walk never happens");
    Require(designed.sink.noMapAsked <= 1 && walked.sink.noMapAsked == designed.sink.noMapAsked,
            "both scans meet the no-map message alike");
    const bool signature = bytes.size() >= 8 && std::memcmp(bytes.data(), "IFF FILE", 8) == 0;
    if (!signature) {
        Require(designed.sink.first == kNotValidIff && walked.sink.first == kNotValidIff,
                "a file without the signature is not a valid IFF either way");
    }
    if (designed.sink.noMapAsked == 1) {
        Require(signature && designed.sink.first == kNoResourceMap,
                "only a signed file is refused for its missing map");
        Require(walked.parse.ReadBy == IndexSource::Chunks && walked.sink.shown == 0,
                "a file refused for its missing map is walked when asked");
    } else {
        Require(
            walked.sink.shown == designed.sink.shown && walked.sink.first == designed.sink.first,
            "a file with a map or a bad signature is reported alike either way");
        Require(SameIndex(designed.parse, walked.parse),
                "a file with a map or a bad signature is read alike either way");
    }
    return scans;
}

}  // namespace marrowick::fuzz
