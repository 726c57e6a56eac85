#include "reader_test_support.h"

#include <random>

namespace marrowick::test {

ScratchDir::ScratchDir() {
    std::random_device seed;
    root_ = std::filesystem::temp_directory_path() /
            ("marrowick-test-" + std::to_string(seed()) + std::to_string(seed()));
    std::filesystem::create_directories(root_);
}

ScratchDir::~ScratchDir() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
}

std::string ScratchDir::Write(const std::string& name, const Bytes& bytes) const {
    const std::string path = Path(name);
    WriteFile(path, bytes);
    return path;
}

}  // namespace marrowick::test
