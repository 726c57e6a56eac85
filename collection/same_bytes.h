// Whether two object files, loose or archive members, hold the same bytes.
#pragma once

#include <atomic>
#include <string>

#include "file_bytes.h"

namespace marrowick {

// Compares the two block by block and stops at the first difference. A file
// that cannot be read is never the same as another. Setting `cancel` stops it
// within a block, with false.
bool SameFileBytes(const std::string& a, ByteRange rangeA, const std::string& b, ByteRange rangeB,
                   const std::atomic<bool>* cancel = nullptr);

}  // namespace marrowick
