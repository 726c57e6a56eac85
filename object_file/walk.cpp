// Reading a file that has no resource map. Such files are a plain run of chunks
// from byte 64 to the end of the file, each header giving the chunk's size, so
// walking them finds every object a map would have listed. Only the headers are
// read, through the block reader; memory does not grow with the chunk count.
#include <array>
#include <cstring>
#include <optional>
#include <span>
#include <string>

#include "file_bytes.h"
#include "parse_iff.h"

namespace marrowick {
namespace {

constexpr std::uint64_t kFirstChunk = 64;
constexpr std::uint64_t kChunkHeaderBytes = 76;
constexpr int kMaxRowsPerType = 255;  // the map's counts are single bytes; so are ours

// The chunk types the index keeps, in the order of their warnings.
enum Kept : std::size_t { kObjd, kCtss, kBmp, kKeptTypes };
constexpr std::array<const char*, kKeptTypes> kKeptCodes = {"OBJD", "CTSS", "BMP_"};

std::string StoppedAt(std::uint64_t at, const std::string& why) {
    return "Reading stopped at byte " + std::to_string(at) + ": " + why +
           " Nothing from there on is read.";
}

}  // namespace

void ParseIFF::WalkChunks(FileBytes& file) {
    FileNum = file.fd();
    ReadBy = IndexSource::Chunks;
    std::array<int, kKeptTypes> leftOut{};
    const std::uint64_t end = file.size();

    // The walk must land exactly on the end of the file; anything else is a
    // file cut short or damaged, and nothing after that point is looked at.
    for (std::uint64_t at = kFirstChunk; at != end;) {
        if (at > end) {
            ScanWarnings.push_back("The file ends at byte " + std::to_string(end) +
                                   ", before its first chunk at byte 64.");
            break;
        }
        const std::span<const std::uint8_t> header = file.View(at, kChunkHeaderBytes);
        if (header.size() < kChunkHeaderBytes) {
            ScanWarnings.push_back(
                StoppedAt(at, "only " + std::to_string(header.size()) +
                                  " bytes are left there, too few for a 76-byte chunk header."));
            break;
        }
        const auto size =
            static_cast<std::uint64_t>(ReadBE32(header[4], header[5], header[6], header[7]));
        if (size < kChunkHeaderBytes) {
            ScanWarnings.push_back(StoppedAt(at, "the chunk there gives its size as " +
                                                     std::to_string(size) +
                                                     " bytes, less than its own 76-byte header."));
            break;
        }
        if (size > end - at) {
            ScanWarnings.push_back(
                StoppedAt(at, "the chunk there is " + std::to_string(size) +
                                  " bytes long and runs past the end of the file at byte " +
                                  std::to_string(end) + "."));
            break;
        }

        // The next free row of a kept type, or none once it holds 255.
        const auto nextRow = [&leftOut](int& count, Kept kept) -> std::optional<std::size_t> {
            if (count == kMaxRowsPerType) {
                ++leftOut[kept];
                return std::nullopt;
            }
            return static_cast<std::size_t>(count++);
        };
        const auto is = [&header](Kept kept) {
            return std::memcmp(header.data(), kKeptCodes[kept], 4) == 0;
        };
        // Object ids are read unsigned, as from the map; catalog-text and bitmap
        // ids are signed, to match catalog ids.
        const int id = header[8] << 8 | header[9];
        const auto signedId = static_cast<std::int16_t>(id);
        const auto position = static_cast<std::int64_t>(at);
        if (is(kObjd)) {
            if (const auto row = nextRow(ObjdCount, kObjd)) {
                ObjdChunkPos[*row] = position;
                ObjdChunkId[*row] = id;
            }
        } else if (is(kCtss)) {
            if (const auto row = nextRow(CtssCount, kCtss)) {
                CtssChunkPos[*row] = position;
                CtssChunkId[*row] = signedId;
            }
        } else if (is(kBmp)) {
            if (const auto row = nextRow(BmpCount, kBmp)) {
                BmpChunkPos[*row] = position;
                BmpChunkId[*row] = signedId;
            }
        }
        at += size;
    }

    ReadObjectHeads(file);
    for (const Kept kept : {kObjd, kCtss, kBmp}) {
        if (const int more = leftOut[kept]; more > 0) {
            ScanWarnings.push_back("Only " + std::to_string(kMaxRowsPerType) + " " +
                                   kKeptCodes[kept] +
                                   " chunks can be kept: " + std::to_string(more) +
                                   (more == 1 ? " more was" : " more were") + " left out.");
        }
    }
    FileNum = -1;
}

}  // namespace marrowick
