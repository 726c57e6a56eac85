#include "file_bytes.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace marrowick {
namespace {
// A handful of blocks covers the map region plus the chunk a label walk is in.
constexpr std::size_t kCachedBlocks = 32;
// Blocks a search looks through before it goes on in long reads.
constexpr int kSearchedBlocks = 4;

// Where the first `a` or `b` lies in `bytes`, or its size.
std::size_t FirstOf(std::span<const std::uint8_t> bytes, std::uint8_t a, std::uint8_t b) {
    const auto search = [&bytes](std::uint8_t byte, std::size_t length) {
        const auto* found =
            static_cast<const std::uint8_t*>(std::memchr(bytes.data(), byte, length));
        return found != nullptr ? static_cast<std::size_t>(found - bytes.data()) : length;
    };
    const std::size_t first = search(a, bytes.size());
    return b == a ? first : search(b, first);
}

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

FileBytes::FileBytes(const std::string& path, ByteRange range) {
    // Opening a device can act on it (a terminal allocated, a tape rewound), so
    // anything but a regular file is refused by its type before any open.
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        error_ = std::strerror(errno);
        return;
    }
    if (!S_ISREG(info.st_mode)) {
        error_ = NotAFile(info.st_mode);
        return;
    }
    // The path may name something else by now. O_NONBLOCK keeps open() of a
    // named pipe from waiting for a writer, O_NOCTTY a terminal from becoming
    // ours, and the fstat check below refuses either.
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
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
    fd_ = fd;
    file_size_ = static_cast<std::uint64_t>(info.st_size);
    cache_.resize(kCachedBlocks);
    SetRange(range);
}

void FileBytes::SetRange(ByteRange range) {
    base_ = std::min(range.offset, file_size_);
    size_ = std::min(range.size, file_size_ - base_);
    // The cached blocks hold the file's bytes wherever the range lies; the
    // walk's buffer counts from the range's start.
    ahead_start_ = 0;
    ahead_length_ = 0;
    ahead_step_ = 0;
}

FileBytes::~FileBytes() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
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

FileBytes::Block& FileBytes::Fetch(std::uint64_t number) {
    // Byte walks stay in one block for thousands of calls: try it first.
    if (last_ != nullptr && last_->number == number) {
        return *last_;
    }
    Block* oldest = &cache_.front();
    for (Block& block : cache_) {
        if (block.number == number) {
            block.last_use = ++clock_;
            last_ = &block;
            return block;
        }
        if (block.last_use < oldest->last_use) {
            oldest = &block;
        }
    }
    oldest->number = number;
    oldest->last_use = ++clock_;
    oldest->bytes.resize(kBlockSize);
    const std::uint64_t start = number * kBlockSize;
    const std::uint64_t wanted = std::min<std::uint64_t>(kBlockSize, file_size_ - start);
    oldest->length = PreadFully(start, oldest->bytes.data(), static_cast<std::size_t>(wanted));
    last_ = oldest;
    return *oldest;
}

int FileBytes::At(std::uint64_t offset) {
    if (!ok() || offset >= size_) {
        return -1;
    }
    const std::uint64_t at = base_ + offset;
    Block& block = Fetch(at / kBlockSize);
    const auto within = static_cast<std::size_t>(at % kBlockSize);
    return within < block.length ? block.bytes[within] : -1;
}

std::size_t FileBytes::ReadInto(std::uint64_t offset, std::span<std::uint8_t> out) {
    std::fill(out.begin(), out.end(), std::uint8_t{0});
    if (!ok() || offset >= size_) {
        return 0;
    }
    const std::uint64_t available = size_ - offset;
    const auto wanted = static_cast<std::size_t>(std::min<std::uint64_t>(available, out.size()));
    if (wanted > kCachedReadLimit) {
        return PreadFully(base_ + offset, out.data(), wanted);
    }
    return CopyCached(offset, out.data(), wanted);
}

std::size_t FileBytes::CopyCached(std::uint64_t offset, std::uint8_t* out, std::size_t length) {
    std::size_t done = 0;
    while (done < length) {
        const std::uint64_t at = base_ + offset + done;
        Block& block = Fetch(at / kBlockSize);
        const auto within = static_cast<std::size_t>(at % kBlockSize);
        if (within >= block.length) {
            break;  // the file shrank under us
        }
        const std::size_t take = std::min(block.length - within, length - done);
        std::copy_n(block.bytes.begin() + static_cast<std::ptrdiff_t>(within), take, out + done);
        done += take;
    }
    return done;
}

std::vector<std::uint8_t> FileBytes::ReadUpTo(std::uint64_t offset, std::size_t length) {
    if (!ok() || offset >= size_) {
        return {};
    }
    const auto wanted = static_cast<std::size_t>(std::min<std::uint64_t>(size_ - offset, length));
    std::vector<std::uint8_t> bytes(wanted);
    bytes.resize(wanted > kCachedReadLimit ? PreadFully(base_ + offset, bytes.data(), wanted)
                                           : CopyCached(offset, bytes.data(), wanted));
    return bytes;
}

std::uint64_t FileBytes::Find(std::uint64_t offset, std::uint64_t limit, std::uint8_t a,
                              std::uint8_t b) {
    const std::uint64_t end = std::min(limit, size_);
    std::uint64_t at = offset;
    for (int blocks = 0; at < end; ++blocks) {
        const auto wanted =
            static_cast<std::size_t>(std::min<std::uint64_t>(end - at, kMaxReadAhead));
        std::span<const std::uint8_t> bytes;
        if (blocks < kSearchedBlocks) {
            const std::uint64_t inFile = base_ + at;
            const Block& block = Fetch(inFile / kBlockSize);
            const auto within = static_cast<std::size_t>(inFile % kBlockSize);
            if (within < block.length) {
                bytes =
                    std::span(block.bytes).subspan(within, std::min(block.length - within, wanted));
            }
        } else {
            bytes = View(at, wanted);
        }
        if (bytes.empty()) {
            break;  // the file shrank under us
        }
        const std::size_t found = FirstOf(bytes, a, b);
        at += found;
        if (found < bytes.size()) {
            break;
        }
    }
    return at;
}

std::span<const std::uint8_t> FileBytes::ReadAhead(std::uint64_t offset, std::size_t length) {
    if (!ok() || offset >= size_) {
        return {};
    }
    length = static_cast<std::size_t>(std::min<std::uint64_t>(length, size_ - offset));
    // A read that starts inside the last one, or not much further on than one
    // read's length, is a walk going on: read further ahead. Anything else
    // starts again from one block.
    const std::uint64_t aheadEnd = ahead_start_ + ahead_length_;
    const bool follows = ahead_length_ > 0 && offset >= ahead_start_ &&
                         (offset <= aheadEnd || offset - aheadEnd <= ahead_step_);
    ahead_step_ = follows ? std::min(2 * ahead_step_, kMaxReadAhead) : kBlockSize;
    const auto wanted = static_cast<std::size_t>(
        std::min<std::uint64_t>(std::max(length, ahead_step_), size_ - offset));
    if (ahead_capacity_ < wanted) {
        // Every byte is read before it is looked at: no need to clear them.
        ahead_ = std::make_unique_for_overwrite<std::uint8_t[]>(wanted);
        ahead_capacity_ = wanted;
    }
    ahead_start_ = offset;
    ahead_length_ = PreadFully(base_ + offset, ahead_.get(), wanted);
    return {ahead_.get(), std::min(length, ahead_length_)};
}

}  // namespace marrowick
