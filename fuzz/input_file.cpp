#include "input_file.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include <fcntl.h>
#include <unistd.h>

namespace marrowick::fuzz {
namespace {

[[noreturn]] void Fail(const std::string& what, const std::string& path) {
    std::perror((what + " " + path).c_str());
    std::abort();
}

}  // namespace

InputFile& InputFile::Instance() {
    static InputFile file;
    return file;
}

InputFile::InputFile() {
    std::error_code ignored;
    const std::filesystem::path folder = std::filesystem::is_directory("/dev/shm", ignored)
                                             ? std::filesystem::path("/dev/shm")
                                             : std::filesystem::temp_directory_path();
    path_ = (folder / ("marrowick-fuzz-" + std::to_string(::getpid()) + ".iff")).string();
    fd_ = ::open(path_.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd_ < 0) {
        Fail("cannot create", path_);
    }
}

InputFile::~InputFile() {
    ::close(fd_);
    ::unlink(path_.c_str());
}

const std::string& InputFile::Write(std::span<const std::uint8_t> bytes) {
    if (::ftruncate(fd_, 0) != 0) {
        Fail("cannot empty", path_);
    }
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t wrote =
            ::pwrite(fd_, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
        if (wrote < 0 && errno == EINTR) {
            continue;
        }
        if (wrote <= 0) {
            Fail("cannot write", path_);
        }
        done += static_cast<std::size_t>(wrote);
    }
    return path_;
}

}  // namespace marrowick::fuzz
