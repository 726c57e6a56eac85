// An object's catalog name and description, from its catalog text chunk (CTSS).
//
// Two layouts are in use. Most chunks (format code FD FF, and any other code)
// are read by their zero bytes from a fixed start. Chunks with format code FC FF
// hold counted texts instead, and are read by their lengths. Either way the texts
// end at the chunk's end, the file's end, or 32767 bytes, whichever comes first.
#include <algorithm>
#include <cstring>
#include <span>

#include "file_bytes.h"
#include "parse_iff.h"

namespace marrowick {

const char* const kNoDescriptionName = "No Description";
const char* const kNoDescriptionText =
    "There is no description for this object. The most likely cause of this message is that "
    "this object is not playable in the game. Additionally, some IFF files are not Objects. The "
    "Tavisk use IFF files to store all sorts of Data. While there is no description availible, "
    "this software may support viewing and editing of some parts of non-object files.\r\n"
    "TIP: Check for Thumbnails. There are sometimes hidden objects within non object IFF files.";

namespace {

constexpr std::size_t kFormatCode = 76;  // chunk offsets: the data follows the 76-byte header
constexpr std::size_t kTextStart = 81;
// The packed layout: a set count at 78, the first set's entry count at 79..80.
constexpr std::size_t kSetCount = 78;
constexpr int kLengthGroupsAtMost = 10;  // 70 bits: more than any length can be

// One step of the zero-ended walk: takes bytes from `at` up to `terminator`
// (consumed, not kept), the end of `bytes`, or the step's 32767-byte bound,
// whichever comes first, into `text` unless it is null. A missing terminator
// ends the text there.
void TakeUntil(std::span<const std::uint8_t> bytes, std::size_t& at, std::uint8_t terminator,
               std::string* text) {
    const std::size_t limit = std::min(bytes.size(), at + ParseIFF::kMaxTextBytes);
    if (at >= limit) {
        if (text != nullptr) {
            text->clear();
        }
        return;
    }
    const auto* start = bytes.data() + at;
    const auto* found =
        static_cast<const std::uint8_t*>(std::memchr(start, terminator, limit - at));
    const std::size_t length =
        found != nullptr ? static_cast<std::size_t>(found - start) : limit - at;
    if (text != nullptr) {
        text->assign(reinterpret_cast<const char*>(start), length);
    }
    at += found != nullptr ? length + 1 : length;
}

// The `length` bytes at `at`: a view into the file's block cache when they lie in
// one block, else read into `copy` (clipped to the end of the file).
std::span<const std::uint8_t> BytesAt(FileBytes& file, std::uint64_t at, std::size_t length,
                                      std::vector<std::uint8_t>& copy) {
    const std::span<const std::uint8_t> cached =
        length > 0 ? file.Peek(at, length) : std::span<const std::uint8_t>();
    if (!cached.empty()) {
        return cached;
    }
    copy = file.ReadUpTo(at, length);
    return copy;
}

// A length in 7-bit groups, low group first, the high bit set on every byte but
// the last. One that does not end before `end` runs past it: the largest value.
std::uint64_t ReadLength(FileBytes& file, std::uint64_t& at, std::uint64_t end) {
    std::uint64_t length = 0;
    for (int group = 0; group < kLengthGroupsAtMost && at < end; ++group) {
        const int byte = file.At(at++);
        if (byte < 0) {
            break;  // the file shrank
        }
        if (group < 9) {  // the tenth group would shift out of 64 bits
            length |= static_cast<std::uint64_t>(byte & 0x7F) << (7 * group);
        }
        if ((byte & 0x80) == 0) {
            return length;
        }
    }
    return UINT64_MAX;
}

// A counted text at `at`, stepped over. Its bytes stop at the chunk's end, at
// 32767, and at a zero byte, so that a text never holds one.
std::string TakeCounted(FileBytes& file, std::uint64_t& at, std::uint64_t end) {
    const std::uint64_t length = ReadLength(file, at, end);
    const std::uint64_t present = std::min(length, at < end ? end - at : 0);
    std::vector<std::uint8_t> copy;
    const std::span<const std::uint8_t> bytes = BytesAt(
        file, at,
        static_cast<std::size_t>(std::min<std::uint64_t>(present, ParseIFF::kMaxTextBytes)), copy);
    at += present;
    const auto zero = std::find(bytes.begin(), bytes.end(), std::uint8_t{0});
    return std::string(bytes.begin(), zero);
}

void SkipCounted(FileBytes& file, std::uint64_t& at, std::uint64_t end) {
    const std::uint64_t length = ReadLength(file, at, end);
    at += std::min(length, at < end ? end - at : 0);
}

bool ValidRow(int row) {
    return row >= 0 && row < kRows;
}

}  // namespace

void ParseIFF::ReadCatalogText(int entry) {
    if (entry == -1 || !ValidRow(entry)) {
        CatalogName = kNoDescriptionName;
        CatalogDescription = kNoDescriptionText;
        return;
    }
    CatalogName.clear();
    CatalogDescription.clear();
    std::unique_ptr<FileBytes> local;
    FileBytes* file = OpenCurrentFile(local);
    if (file == nullptr) {
        return;
    }
    const auto chunk = static_cast<std::uint64_t>(CtssChunkPos[static_cast<std::size_t>(entry)]);
    // Bytes past the end of the file read as zero.
    std::uint8_t headCopy[kTextStart];
    const std::uint8_t* head = headCopy;
    if (const std::span<const std::uint8_t> cached = file->Peek(chunk, kTextStart);
        !cached.empty()) {
        head = cached.data();
    } else {
        file->ReadInto(chunk, headCopy);
    }
    // The size counts the 76-byte header.
    const auto chunkSize = static_cast<std::uint64_t>(ReadBE32(head[4], head[5], head[6], head[7]));
    if (chunkSize >= kFormatCode + 2 && head[kFormatCode] == 0xFC &&
        head[kFormatCode + 1] == 0xFF) {
        ReadPackedCatalogText(*file, chunk, chunk + chunkSize);
        DoneWithFile();
        return;
    }

    const std::uint64_t wanted = std::min<std::uint64_t>(
        chunkSize > kTextStart ? chunkSize - kTextStart : 0, 3 * kMaxTextBytes);
    std::vector<std::uint8_t> copy;
    const std::span<const std::uint8_t> bytes =
        BytesAt(*file, chunk + kTextStart, static_cast<std::size_t>(wanted), copy);

    std::size_t at = 0;
    TakeUntil(bytes, at, 0, &CatalogName);
    // The first entry's comment and the next entry's language code (1) lie between
    // the two texts; the walk skips to the first byte 1, wherever it stands.
    TakeUntil(bytes, at, 1, nullptr);
    TakeUntil(bytes, at, 0, &CatalogDescription);
    DoneWithFile();
}

void ParseIFF::ReadPackedCatalogText(FileBytes& file, std::uint64_t chunk, std::uint64_t chunkEnd) {
    const std::uint64_t end = std::min(chunkEnd, file.size());
    std::uint8_t counts[3];
    if (chunk + kTextStart > end || file.ReadInto(chunk + kSetCount, counts) < sizeof counts) {
        return;  // the counts are cut off: no texts
    }
    const int sets = counts[0];
    const int entries = counts[1] | counts[2] << 8;
    if (sets == 0) {
        return;
    }
    // The name and the description are the first set's first two entries: a
    // language byte, the text, then its comment.
    std::string* const texts[] = {&CatalogName, &CatalogDescription};
    std::uint64_t at = chunk + kTextStart;
    for (int e = 0; e < std::min(entries, 2) && at < end; ++e) {
        ++at;
        *texts[e] = TakeCounted(file, at, end);
        SkipCounted(file, at, end);
    }
}

}  // namespace marrowick
