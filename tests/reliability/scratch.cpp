#include "scratch.h"

#include <random>

namespace marrowick::reliability {

ScratchFolder::ScratchFolder() {
    std::random_device seed;
    root_ = std::filesystem::temp_directory_path() /
            ("marrowick-reliability-" + std::to_string(seed()) + std::to_string(seed()));
    std::filesystem::create_directories(root_);
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::permissions(root_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(root_, ignored);
}

std::string ScratchFolder::Write(const std::string& name, const Bytes& bytes) const {
    const std::filesystem::path path = root_ / name;
    std::filesystem::create_directories(path.parent_path());
    test::WriteFile(path.string(), bytes);
    return path.string();
}

void SetMapOffset(Bytes& bytes, std::uint32_t offset) {
    for (std::size_t i = 0; i < 4; ++i) {
        bytes.at(60 + i) = static_cast<std::uint8_t>(offset >> (24 - 8 * i));
    }
}

}  // namespace marrowick::reliability
