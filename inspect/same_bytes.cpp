#include "same_bytes.h"

#include <cerrno>
#include <cstring>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace marrowick::inspect {
namespace {

class ReadOnlyFile {
  public:
    explicit ReadOnlyFile(const std::string& path)
        : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK)) {}
    ~ReadOnlyFile() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

    bool ok() const { return fd_ >= 0; }
    // Fills `out` as far as the file allows; -1 on a read error.
    long Fill(std::vector<char>& out) {
        std::size_t done = 0;
        while (done < out.size()) {
            const ssize_t got = ::read(fd_, out.data() + done, out.size() - done);
            if (got < 0) {
                if (errno == EINTR) {
                    continue;
                }
                return -1;
            }
            if (got == 0) {
                break;
            }
            done += static_cast<std::size_t>(got);
        }
        return static_cast<long>(done);
    }

  private:
    int fd_;
};

}  // namespace

bool SameFileBytes(const std::string& a, const std::string& b) {
    ReadOnlyFile first(a);
    ReadOnlyFile second(b);
    if (!first.ok() || !second.ok()) {
        return false;
    }
    constexpr std::size_t kBlock = 256 * 1024;
    std::vector<char> left(kBlock);
    std::vector<char> right(kBlock);
    for (;;) {
        const long got = first.Fill(left);
        if (got < 0 || second.Fill(right) != got) {
            return false;
        }
        if (std::memcmp(left.data(), right.data(), static_cast<std::size_t>(got)) != 0) {
            return false;
        }
        if (got == 0) {
            return true;
        }
    }
}

}  // namespace marrowick::inspect
