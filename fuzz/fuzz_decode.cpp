// libFuzzer target: every input is an object file handed to the decode entry.
#include <cstddef>
#include <cstdint>

#include "entries.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    marrowick::fuzz::DecodeEntry({data, size});
    return 0;
}
