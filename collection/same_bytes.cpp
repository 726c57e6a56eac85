#include "same_bytes.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "cancel.h"

namespace marrowick {

bool SameFileBytes(const ComparedFile& a, const ComparedFile& b, const std::atomic<bool>* cancel) {
    FileBytes first(a.path, a.range, a.identity);
    FileBytes second(b.path, b.range, b.identity);
    if (!first.ok() || !second.ok() || first.size() != second.size()) {
        return false;
    }
    constexpr std::size_t kBlock = 256 * 1024;
    // Sized to the files and not cleared: every byte compared is read first.
    const auto block = static_cast<std::size_t>(std::min<std::uint64_t>(kBlock, first.size()));
    const auto buffer = std::make_unique_for_overwrite<std::uint8_t[]>(2 * block);
    for (std::uint64_t at = 0; at < first.size(); at += kBlock) {
        const auto length =
            static_cast<std::size_t>(std::min<std::uint64_t>(kBlock, first.size() - at));
        const std::span<std::uint8_t> l(buffer.get(), length);
        const std::span<std::uint8_t> r(buffer.get() + block, length);
        if (Stopped(cancel) || first.ReadInto(at, l) != length ||
            second.ReadInto(at, r) != length || std::memcmp(l.data(), r.data(), length) != 0) {
            return false;
        }
    }
    return true;
}

}  // namespace marrowick
