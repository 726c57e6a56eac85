// One file's objects as the windows show them: what the main window does when
// it opens the file, selects each object in turn and opens the editor on it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "parse_iff.h"
#include "printer.h"

namespace marrowick::inspect {

struct ObjectRecord {
    int index = 0;
    std::string listText;  // raw bytes, as all texts here
    std::string label;
    std::int32_t chunkId = 0;
    std::int16_t catalogId = 0;
    int ctssEntry = -1;
    int thumbIndex = -1;
    ObjectAttributeRow attributes;
    std::string roomName, typeName;
    int roomIndex = 0;
    int typeIndex = 0;
    std::string catalogName, catalogDescription;
};

struct FileListing {
    std::string error;  // the first message the window would show (UTF-8); empty if none
    IndexSource readBy = IndexSource::None;
    std::vector<std::string> warnings;  // of a chunk walk, or of a file cut short (UTF-8)
    std::vector<ObjectRecord> objects;  // empty when there is an error
};

// `parse` is working space reused between files; it keeps no message sink.
// With `readChunks`, a file without a resource map is read by its chunks.
// `file` is open on `path`, or on a member of the archive at `path`.
FileListing ListFile(ParseIFF& parse, FileBytes& file, const std::string& path,
                     bool readChunks = false);

// Writes one file's record: `path` is the path as the user gave it. With
// `showReadBy`, the record says how the file was read. Its warnings are listed
// then, and whenever there are any.
// A record for an archive names it, and `member` (null for a refused archive).
void PrintFileListing(Printer& printer, const std::string& path, const FileListing& listing,
                      bool showReadBy = false,
                      const std::optional<PrintValue>& member = std::nullopt);

}  // namespace marrowick::inspect
