// FileBytes on POSIX systems: opening with openat below a folder opened piece by
// piece (paths of any length), and reading with pread and preadv.
#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

#include "file_bytes.h"
#include "path_posix.h"

namespace marrowick {
namespace {

// Why a path that is not a regular file is refused.
const char* NotAFile(mode_t mode) {
    if (S_ISDIR(mode)) {
        return "it is a folder, not a file";
    }
    if (S_ISCHR(mode)) {
        return "it is a character device, not a file";
    }
    if (S_ISBLK(mode)) {
        return "it is a block device, not a file";
    }
    if (S_ISFIFO(mode)) {
        return "it is a named pipe, not a file";
    }
    return S_ISSOCK(mode) ? "it is a socket, not a file" : "it is not a regular file";
}

}  // namespace

void FileBytes::Open(const std::string& path, const std::optional<FileIdentity>& expected) {
    const PathEnd end(path);
    // Opening a device can act on it (a terminal allocated, a tape rewound), so
    // anything but a regular file is refused by its type before any open.
    struct stat info {};
    if (end.error() != 0 || ::fstatat(end.folder(), end.name(), &info, 0) != 0) {
        error_ = std::strerror(end.error() != 0 ? end.error() : errno);
        return;
    }
    if (!S_ISREG(info.st_mode)) {
        error_ = NotAFile(info.st_mode);
        return;
    }
    // The path may name something else by now. O_NONBLOCK keeps open() of a
    // named pipe from waiting for a writer, O_NOCTTY a terminal from becoming
    // ours, and the fstat check below refuses either.
    int fd = ::openat(end.folder(), end.name(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        error_ = std::strerror(errno);
        return;
    }
    if (::fstat(fd, &info) != 0) {
        error_ = std::strerror(errno);
        ::close(fd);
        return;
    }
    if (!S_ISREG(info.st_mode)) {
        error_ = NotAFile(info.st_mode);
        ::close(fd);
        return;
    }
    if (expected && IdentityOf(info) != *expected) {
        error_ = kReplacedSinceRead;
        ::close(fd);
        return;
    }
    fd_ = fd;
    file_size_ = static_cast<std::uint64_t>(info.st_size);
}

void FileBytes::Close() {
    ::close(fd_);
    fd_ = -1;
}

std::size_t FileBytes::PreadFully(std::uint64_t offset, std::uint8_t* out, std::size_t length) {
    std::size_t done = 0;
    while (done < length) {
        ++read_calls_;
        ssize_t got = ::pread(fd_, out + done, length - done, static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            break;  // the file shrank, or a read error: the rest counts as missing
        }
        done += static_cast<std::size_t>(got);
    }
    return done;
}

std::size_t FileBytes::ReadPieces(std::uint64_t offset, std::span<const Piece> pieces) {
    std::array<iovec, kBatchedBlocks> parts{};
    const std::size_t count = std::min(pieces.size(), parts.size());
    for (std::size_t i = 0; i < count; ++i) {
        parts[i] = {pieces[i].bytes, pieces[i].length};
    }
    ssize_t got = -1;
    do {
        ++read_calls_;
        got = ::preadv(fd_, parts.data(), static_cast<int>(count), static_cast<off_t>(offset));
    } while (got < 0 && errno == EINTR);
    return got > 0 ? static_cast<std::size_t>(got) : 0;
}

}  // namespace marrowick
