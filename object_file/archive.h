// Archives of object files. The game keeps its objects in archives whose
// members are whole object files stored one after another; a member is read in
// place, as a byte range of the archive (see FileBytes' ranges).
//
// Layout, all numbers unsigned 32-bit little-endian: the signature "FAR!byAZ",
// the version (1), the manifest's offset; the manifest is the member count and
// per member its size, the size again, its offset, the length of its name and
// the name's bytes.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "file_bytes.h"

namespace marrowick {

// Whether the file starts with the archive signature, whatever its name.
bool IsArchive(FileBytes& file);

struct ArchiveMember {
    std::string name;  // raw Windows-1252 bytes, as stored; may hold '/' or '\'
    ByteRange range;
    // Why the member cannot be read (UTF-8), or empty: a member whose range runs
    // past the archive's end is refused on its own.
    std::string error;
};

// The longest member name an archive may give. The game's own names are a few
// dozen bytes; without a limit a name could be as long as the archive, and
// every copy of it in a report would be as large.
inline constexpr std::uint64_t kLongestMemberName = 1024;

struct ArchiveContents {
    // Why the whole archive is refused (UTF-8), or empty. A refused archive
    // lists nothing: a damaged manifest cannot be trusted.
    std::string error;
    // Stopped before the manifest's end: nothing is listed, and nothing is wrong.
    bool cancelled = false;
    // The members that are object files (name ending in ".iff" in any case),
    // in manifest order, repeats and overlaps included.
    std::vector<ArchiveMember> objectFiles;
    int skipped = 0;  // members of any other kind
};

// Reads the whole manifest before anything is listed. Memory grows with the
// manifest, never with the archive's size. Setting `cancel` stops the read
// within a few thousand entries, however long the manifest.
ArchiveContents ReadArchive(FileBytes& archive, const std::atomic<bool>* cancel = nullptr);

// Whether `name` ends in `extension` (given in lower case) in any letter case.
// Object files end in ".iff", in a folder or an archive; archives in ".far".
bool HasExtension(std::string_view name, std::string_view extension);
inline bool HasIffExtension(std::string_view name) {
    return HasExtension(name, ".iff");
}

}  // namespace marrowick
