// Whether two object files, loose or archive members, hold the same bytes.
#pragma once

#include <string>

#include "file_bytes.h"

namespace marrowick {

// Compares the two block by block and stops at the first difference. A file
// that cannot be read is never the same as another.
bool SameFileBytes(const std::string& a, ByteRange rangeA, const std::string& b, ByteRange rangeB);

}  // namespace marrowick
