// What tells one file from another, whatever name it is reached by.
#pragma once

#include <compare>
#include <cstdint>

namespace marrowick {

// On POSIX systems the device and inode number; on Windows the volume serial
// number and file index.
struct FileIdentity {
    std::uint64_t volume = 0;
    std::uint64_t file = 0;
    auto operator<=>(const FileIdentity&) const = default;
};

}  // namespace marrowick
