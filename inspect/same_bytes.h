// Whether two files hold the same bytes.
#pragma once

#include <string>

namespace marrowick::inspect {

// Compares the two files block by block and stops at the first difference. A
// file that cannot be read is never the same as another.
bool SameFileBytes(const std::string& a, const std::string& b);

}  // namespace marrowick::inspect
