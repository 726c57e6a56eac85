// Whether two object files, loose or archive members, hold the same bytes.
#pragma once

#include <atomic>
#include <optional>
#include <string>

#include "file_bytes.h"

namespace marrowick {

struct ComparedFile {
    const std::string& path;
    ByteRange range;
    // When known, the file the walk found: any other at the path is refused.
    const std::optional<FileIdentity>& identity;
};

// Compares the two block by block and stops at the first difference. A file
// that cannot be read is never the same as another. Setting `cancel` stops it
// within a block, with false.
bool SameFileBytes(const ComparedFile& a, const ComparedFile& b,
                   const std::atomic<bool>* cancel = nullptr);

}  // namespace marrowick
