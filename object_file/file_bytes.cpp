#include "file_bytes.h"

#include <algorithm>
#include <array>
#include <cstring>

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

// The block storage of the last file closed on this thread, kept for the next
// one: a listing opens files one after another, and a fresh 128 KiB buffer for
// each costs more than reading a small file.
thread_local std::unique_ptr<std::uint8_t[]> spareStorage;
}  // namespace

FileBytes::FileBytes(const std::string& path, ByteRange range,
                     const std::optional<FileIdentity>& expected) {
    Open(path, expected);
    if (ok()) {
        cache_.resize(kCachedBlocks);
        SetRange(range);
    }
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
        Close();
    }
    if (storage_ && !spareStorage) {
        spareStorage = std::move(storage_);
    }
}

FileBytes::Block* FileBytes::Cached(std::uint64_t number) {
    for (Block& block : cache_) {
        if (block.number == number) {
            return &block;
        }
    }
    return nullptr;
}

FileBytes::Block& FileBytes::FetchSlow(std::uint64_t number) {
    if (Block* block = Cached(number)) {
        block->last_use = ++clock_;
        last_ = block;
        return *block;
    }
    if (!storage_) {
        // Every byte is read before it is looked at: no need to clear them.
        storage_ = spareStorage
                       ? std::move(spareStorage)
                       : std::make_unique_for_overwrite<std::uint8_t[]>(kCachedBlocks * kBlockSize);
        for (std::size_t i = 0; i < cache_.size(); ++i) {
            cache_[i].bytes = storage_.get() + i * kBlockSize;
        }
    }
    // A miss on the block after the last ones read is a walk through the file
    // (the heads of objects stored one after another): read twice as many blocks
    // as last time in one call, up to the end of the file or a block held already.
    batch_ = number == next_miss_ ? std::min(2 * batch_, kBatchedBlocks) : 1;
    const std::uint64_t fileBlocks = (file_size_ + kBlockSize - 1) / kBlockSize;
    std::size_t count = 1;
    while (count < batch_ && number + count < fileBlocks && Cached(number + count) == nullptr) {
        ++count;
    }
    next_miss_ = number + count;

    // The least recently used blocks take the new ones.
    std::array<Block*, kBatchedBlocks> taken{};
    std::array<Piece, kBatchedBlocks> parts{};
    std::size_t total = 0;
    for (std::size_t i = 0; i < count; ++i) {
        Block* oldest = &cache_.front();
        for (Block& block : cache_) {
            if (block.last_use < oldest->last_use) {
                oldest = &block;
            }
        }
        oldest->number = number + i;
        oldest->last_use = ++clock_;
        const std::uint64_t start = oldest->number * kBlockSize;
        oldest->length =
            static_cast<std::size_t>(std::min<std::uint64_t>(kBlockSize, file_size_ - start));
        taken[i] = oldest;
        parts[i] = {oldest->bytes, oldest->length};
        total += oldest->length;
    }
    Block& first = *taken[0];
    first.last_use = ++clock_;
    last_ = &first;
    if (count == 1) {
        first.length = PreadFully(number * kBlockSize, first.bytes, first.length);
        return first;
    }

    std::size_t left = ReadPieces(number * kBlockSize, std::span(parts.data(), count));
    if (left < total) {
        // Cut short: the file shrank, or a read error. The block asked for gets
        // the rest of its bytes read as a single block would; a block read
        // ahead that is not whole is forgotten.
        for (std::size_t i = 0; i < count; ++i) {
            Block& block = *taken[i];
            const std::size_t have = std::min(left, block.length);
            left -= have;
            if (i == 0) {
                block.length = have + PreadFully(number * kBlockSize + have, block.bytes + have,
                                                 block.length - have);
            } else if (have < block.length) {
                block.number = UINT64_MAX;
                block.last_use = 0;
            }
        }
        next_miss_ = UINT64_MAX;
    }
    return first;
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
    std::size_t done = 0;
    if (ok() && offset < size_) {
        const std::uint64_t available = size_ - offset;
        const auto wanted =
            static_cast<std::size_t>(std::min<std::uint64_t>(available, out.size()));
        done = wanted > kCachedReadLimit ? PreadFully(base_ + offset, out.data(), wanted)
                                         : CopyCached(offset, out.data(), wanted);
    }
    // Only what was not read is cleared: a comparison of copies reads whole
    // members through here.
    std::fill(out.begin() + static_cast<std::ptrdiff_t>(done), out.end(), std::uint8_t{0});
    return done;
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
        std::copy_n(block.bytes + within, take, out + done);
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
                bytes = {block.bytes + within, std::min(block.length - within, wanted)};
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
