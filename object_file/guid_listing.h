// The few fields a search for shared GUIDs needs from one object file, read with
// a single open of the file.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "parse_iff.h"

namespace marrowick {

struct ObjectGuid {
    int index = 0;
    std::string listText;  // the object list's entry text (raw bytes)
    std::int32_t chunkId = 0;
    std::array<std::uint8_t, 4> guid{};          // chunk offsets 104 to 107, in file order
    std::array<std::uint8_t, 4> originalGuid{};  // chunk offsets 216 to 219
    // The catalog name the main window shows for the object (raw bytes): "No
    // Description" for an object without catalog texts.
    std::string catalogName;
};

struct GuidListing {
    // The first message the scan reported (UTF-8); empty when the file scanned.
    std::string error;
    IndexSource readBy = IndexSource::None;
    std::vector<std::string> warnings;  // of a chunk walk (UTF-8)
    std::uint64_t size = 0;
    std::vector<ObjectGuid> objects;
};

// Scans `file`, open on `path` (or on a member of the archive at `path`), as the
// main window does and reads every listed object's GUID and catalog name.
// With `readChunks`, a file without a resource map is read by its chunks, as
// after the window's "Read Chunks". `parse` is only working space, reused
// between files because its tables are large; the call leaves it without a
// message sink.
GuidListing ListObjectGuids(ParseIFF& parse, FileBytes& file, const std::string& path,
                            bool readChunks = false);

}  // namespace marrowick
