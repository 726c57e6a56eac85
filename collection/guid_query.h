// A GUID as people type it: the editor's two boxes, the report's value, or
// eight hex digits that may be either.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace marrowick {

// The GUIDs (bytes in file order) `text` can mean, in any letter case and
// with blanks around it ignored:
//   "2843 EAB9"   the boxes: bytes 28 43 EA B9;
//   "0xB9EA4328"  the little-endian value: the same bytes;
//   "2843EAB9"    either: the boxes 28 43 EA B9 first, then the value
//                 0x2843EAB9 (bytes B9 EA 43 28), once where the two agree.
// Any other text means none.
std::vector<std::array<std::uint8_t, 4>> GuidsWritten(std::string_view text);

}  // namespace marrowick
