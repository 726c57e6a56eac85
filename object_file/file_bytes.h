// Bounded, read-only access to the bytes of one file, or of one stretch of it.
//
// Every read is clipped to the end and goes to the file at an offset in blocks,
// so a reader can walk bytes one at a time without a system call per byte. The
// file is open exactly as long as the object lives. Opening and reading are the
// system's part (file_bytes_posix.cpp, file_bytes_windows.cpp); the blocks are
// kept alike on every system.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "file_identity.h"

namespace marrowick {

// A stretch of a file read as a file of its own: an archive member. The default
// is the whole file.
struct ByteRange {
    std::uint64_t offset = 0;
    std::uint64_t size = UINT64_MAX;  // clipped to the end of the file
    bool operator==(const ByteRange&) const = default;
};

class FileBytes {
  public:
    // Why a file of another identity than the one expected is refused.
    static constexpr const char* kReplacedSinceRead =
        "it is not the file found there when its folder was read; it, or a folder on "
        "its path, has been replaced since";

    // Opens `path` read-only, however long it is (on Windows, a UTF-8 path).
    // Anything but a regular file (a folder, a pipe, a device) is refused by its
    // type before it is opened; see ok() and error(). With `range`, offsets count
    // from the range's start and its end is the end of the file. With `expected`,
    // a file of any other identity is refused: the one a folder walk found at
    // this path was replaced, or a folder on the path was, perhaps by a link
    // leading out.
    explicit FileBytes(const std::string& path, ByteRange range = {},
                       const std::optional<FileIdentity>& expected = std::nullopt);
    ~FileBytes();
    FileBytes(const FileBytes&) = delete;
    FileBytes& operator=(const FileBytes&) = delete;

    bool ok() const { return fd_ >= 0; }
    // Why the file could not be opened, e.g. "No such file or directory".
    const std::string& error() const { return error_; }
    // The open file's descriptor, -1 when none is open; on Windows a C runtime
    // descriptor that owns the file's handle.
    int fd() const { return fd_; }
    std::uint64_t size() const { return size_; }
    // The stretch of the file read: all of it, or the range asked for.
    ByteRange range() const { return {base_, size_}; }
    // Reads `range` of the same file from now on, as if opened on it; the
    // descriptor and the blocks already read are kept.
    void SetRange(ByteRange range);

    // The byte at `offset`, or -1 when it lies at or beyond the end of the file
    // (or could not be read because the file shrank).
    int At(std::uint64_t offset);

    // Fills `out` with the bytes at `offset`; bytes beyond the end of the file
    // (or unreadable) are set to zero. Returns how many bytes were really read.
    std::size_t ReadInto(std::uint64_t offset, std::span<std::uint8_t> out);

    // The `length` bytes at `offset` as a view into the block cache, when they
    // all lie inside the file and inside one block; else an empty view, and the
    // caller reads them with ReadInto. Valid until the next call. Decoders take
    // their fields from it without copying the chunk.
    std::span<const std::uint8_t> Peek(std::uint64_t offset, std::size_t length) {
        if (!ok() || offset >= size_ || length > size_ - offset) {
            return {};
        }
        const std::uint64_t at = base_ + offset;
        const auto within = static_cast<std::size_t>(at % kBlockSize);
        if (length > kBlockSize - within) {
            return {};
        }
        const Block& block = Fetch(at / kBlockSize);
        if (length > block.length - std::min(within, block.length)) {
            return {};  // the file shrank under us
        }
        return {block.bytes + within, length};
    }

    // Reads up to `length` bytes at `offset`, stopping at the end of the file.
    std::vector<std::uint8_t> ReadUpTo(std::uint64_t offset, std::size_t length);

    // Up to `length` bytes at `offset` (fewer at the end of the file), as a view
    // that stays valid until the next call. Made for walking a file front to
    // back: a read that follows on from the last one is twice its size, up to
    // kMaxReadAhead, so a walk over small pieces costs a few large reads, while
    // one that jumps far ahead reads a block per stop.
    std::span<const std::uint8_t> View(std::uint64_t offset, std::size_t length) {
        // Most steps of a walk land inside the last read.
        const std::uint64_t into = offset - ahead_start_;
        if (offset >= ahead_start_ && into <= ahead_length_ && length <= ahead_length_ - into) {
            return {ahead_.get() + into, length};
        }
        return ReadAhead(offset, length);
    }

    // The offset of the first byte at or after `offset`, and before `limit` and
    // the end of the file, that is `a` or `b`. Where there is none, the offset
    // the search stopped at: `limit`, the end of the file or the first byte that
    // could not be read; never less than `offset`. The first few blocks are
    // searched through the block cache, so a short search reads only blocks a
    // scan mostly holds already; a longer one goes on in reads of up to
    // kMaxReadAhead through View's buffer, which ends any view taken before.
    std::uint64_t Find(std::uint64_t offset, std::uint64_t limit, std::uint8_t a, std::uint8_t b);

    // Number of reads from the file so far; the benchmarks and tests watch it.
    std::size_t read_calls() const { return read_calls_; }

    static constexpr std::size_t kBlockSize = 4096;
    // Reads up to this long go through the block cache; longer ones go straight
    // to the file.
    static constexpr std::size_t kCachedReadLimit = 4 * kBlockSize;
    // Large enough that a walk costs few reads, small enough that the buffer
    // stays in the processor's cache while the walk steps through it.
    static constexpr std::size_t kMaxReadAhead = 256 * 1024;

  private:
    // Blocks are numbered from the start of the file, whatever the range.
    struct Block {
        std::uint64_t number = UINT64_MAX;
        std::uint64_t last_use = 0;
        std::size_t length = 0;
        std::uint8_t* bytes = nullptr;  // kBlockSize bytes of storage_
    };
    // The system's part. Open sets fd_ and file_size_, or error_.
    void Open(const std::string& path, const std::optional<FileIdentity>& expected);
    void Close();
    // Reads `length` bytes at `offset`, counted from the start of the file, in as
    // many calls as it takes; returns how many were read, fewer where the file
    // ends or cannot be read.
    std::size_t PreadFully(std::uint64_t offset, std::uint8_t* out, std::size_t length);
    // Reads the bytes at `offset` into the pieces one after another, in one call
    // where the system allows; returns how many bytes were read in all.
    struct Piece {
        std::uint8_t* bytes;
        std::size_t length;
    };
    static constexpr std::size_t kBatchedBlocks = 16;  // most pieces, blocks read at once
    std::size_t ReadPieces(std::uint64_t offset, std::span<const Piece> pieces);
    Block& Fetch(std::uint64_t number) {
        // Byte walks stay in one block for thousands of calls: try it first.
        return last_ != nullptr && last_->number == number ? *last_ : FetchSlow(number);
    }
    Block& FetchSlow(std::uint64_t number);
    Block* Cached(std::uint64_t number);
    std::size_t CopyCached(std::uint64_t offset, std::uint8_t* out, std::size_t length);
    std::span<const std::uint8_t> ReadAhead(std::uint64_t offset, std::size_t length);

    int fd_ = -1;
    std::uint64_t base_ = 0;  // where offset 0 lies in the file
    std::uint64_t size_ = 0;
    std::uint64_t file_size_ = 0;
    std::string error_;
    std::vector<Block> cache_;
    // The blocks' bytes, made (or taken over from a file closed before) at the first read.
    std::unique_ptr<std::uint8_t[]> storage_;
    Block* last_ = nullptr;  // the block used most recently
    std::uint64_t clock_ = 0;
    // Blocks read at once on a miss: one, doubling while each miss falls on the
    // block after the last ones read (`next_miss_`).
    std::size_t batch_ = 0;
    std::uint64_t next_miss_ = UINT64_MAX;
    std::size_t read_calls_ = 0;
    // View's buffer: `ahead_length_` bytes of the file from `ahead_start_`.
    std::unique_ptr<std::uint8_t[]> ahead_;
    std::size_t ahead_capacity_ = 0;
    std::uint64_t ahead_start_ = 0;
    std::size_t ahead_length_ = 0;
    std::size_t ahead_step_ = 0;
};

}  // namespace marrowick
