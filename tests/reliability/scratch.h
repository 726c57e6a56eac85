// Shared pieces of the reliability tests, on top of the common reader harness.
#pragma once

#include "reader_harness.h"

namespace marrowick::reliability {

using test::Bytes;
using test::Reader;
using test::Recorder;
using test::ScratchFolder;

// The big-endian resource map offset at bytes 60 to 63.
void SetMapOffset(Bytes& bytes, std::uint32_t offset);

}  // namespace marrowick::reliability
