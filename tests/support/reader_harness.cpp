#include "reader_harness.h"

#include <random>

namespace marrowick::test {

ScratchFolder::ScratchFolder() {
    std::random_device seed;
    root_ = std::filesystem::temp_directory_path() /
            ("marrowick-test-" + std::to_string(seed()) + std::to_string(seed()));
    std::filesystem::create_directories(root_);
}

ScratchFolder::~ScratchFolder() {
    // Tests may leave folders without write permission behind.
    std::error_code ignored;
    std::filesystem::permissions(root_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(root_, ignored);
}

std::string ScratchFolder::Write(const std::string& name, const Bytes& bytes) const {
    const std::filesystem::path path = root_ / name;
    std::filesystem::create_directories(path.parent_path());
    WriteFile(path.string(), bytes);
    return path.string();
}

}  // namespace marrowick::test
