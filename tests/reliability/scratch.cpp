#include "scratch.h"

namespace marrowick::reliability {

void SetMapOffset(Bytes& bytes, std::uint32_t offset) {
    for (std::size_t i = 0; i < 4; ++i) {
        bytes.at(60 + i) = static_cast<std::uint8_t>(offset >> (24 - 8 * i));
    }
}

}  // namespace marrowick::reliability
