#include "archive.h"

#include <algorithm>
#include <cstring>
#include <span>

#include "cancel.h"

namespace marrowick {
namespace {

constexpr char kSignature[] = {'F', 'A', 'R', '!', 'b', 'y', 'A', 'Z'};
constexpr std::uint64_t kHeaderBytes = 16;
constexpr std::uint32_t kVersion = 1;
constexpr std::uint64_t kEntryBytes = 16;  // size, size again, offset, name length
// Entries read between two looks at the cancel flag: a fraction of a
// millisecond, even in a manifest of entries without names.
constexpr std::uint32_t kEntriesPerCancelCheck = 4096;
// The most members reserved for before any is read: a count the file could
// hold is still only a claim, and a sparse file can claim much.
constexpr std::uint64_t kMostReserved = 1 << 20;

std::uint32_t Le32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

std::string Num(std::uint64_t value) {
    return std::to_string(value);
}

}  // namespace

bool IsArchive(FileBytes& file) {
    std::uint8_t head[sizeof kSignature];
    return file.ReadInto(0, head) == sizeof head && std::memcmp(head, kSignature, sizeof head) == 0;
}

bool HasExtension(std::string_view name, std::string_view extension) {
    if (name.size() < extension.size()) {
        return false;
    }
    return std::equal(
        extension.begin(), extension.end(), name.end() - extension.size(), [](char wanted, char c) {
            return wanted == (c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c);
        });
}

ArchiveContents ReadArchive(FileBytes& archive, const std::atomic<bool>* cancel) {
    ArchiveContents contents;
    const std::uint64_t end = archive.size();
    const auto refuse = [&contents](std::string why) {
        contents.error = std::move(why);
        contents.objectFiles.clear();
        contents.skipped = 0;
        return contents;
    };

    std::uint8_t header[kHeaderBytes];
    if (archive.ReadInto(0, header) < kHeaderBytes) {
        return refuse("The archive is cut short: it is " + Num(end) +
                      " bytes long, too short for its 16-byte header.");
    }
    if (const std::uint32_t version = Le32(header + 8); version != kVersion) {
        return refuse("The archive is of version " + Num(version) +
                      "; only archives of version 1 can be read.");
    }
    const std::uint64_t manifest = Le32(header + 12);
    std::uint8_t countField[4];
    if (archive.ReadInto(manifest, countField) < sizeof countField) {
        return refuse("The archive's manifest should start at byte " + Num(manifest) +
                      ", but the archive ends at byte " + Num(end) + ".");
    }
    const std::uint32_t count = Le32(countField);
    // Every entry takes at least its fixed fields: a count the file cannot hold
    // is refused before anything is kept for it.
    const std::uint64_t room = (end - manifest - sizeof countField) / kEntryBytes;
    contents.objectFiles.reserve(std::min({std::uint64_t{count}, room, kMostReserved}));

    std::uint64_t at = manifest + sizeof countField;
    for (std::uint32_t member = 1; member <= count; ++member) {
        if (member % kEntriesPerCancelCheck == 1 && Stopped(cancel)) {
            contents = {};
            contents.cancelled = true;
            return contents;
        }
        const auto which = [member, count] {
            return "member " + Num(member) + " of " + Num(count);
        };
        const std::span<const std::uint8_t> entry = archive.View(at, kEntryBytes);
        if (entry.size() < kEntryBytes) {
            return refuse("The archive's manifest lists " + Num(count) +
                          " members, but the archive ends at byte " + Num(end) +
                          ", inside the entry of " + which() + ".");
        }
        const std::uint64_t size = Le32(entry.data());
        const std::uint64_t offset = Le32(entry.data() + 8);
        const std::uint64_t nameLength = Le32(entry.data() + 12);
        if (nameLength > kLongestMemberName) {
            return refuse("The name of " + which() + " in the archive's manifest, whose entry " +
                          "starts at byte " + Num(at) + ", is " + Num(nameLength) +
                          " bytes long; a member's name may be at most " + Num(kLongestMemberName) +
                          " bytes long.");
        }
        at += kEntryBytes;
        if (nameLength > end - at) {
            return refuse("The name of " + which() + " in the archive's manifest is " +
                          Num(nameLength) + " bytes long and runs past the archive's end at byte " +
                          Num(end) + ".");
        }
        const std::span<const std::uint8_t> name =
            archive.View(at, static_cast<std::size_t>(nameLength));
        if (name.size() < nameLength) {
            return refuse("The archive could not be read past byte " + Num(at) + ".");
        }
        at += nameLength;
        const std::string_view nameText(reinterpret_cast<const char*>(name.data()), name.size());
        if (!HasIffExtension(nameText)) {
            ++contents.skipped;
            continue;
        }
        ArchiveMember kept{std::string(nameText), {offset, size}, {}};
        if (offset > end || size > end - offset) {
            kept.error = "The member takes bytes " + Num(offset) + " to " + Num(offset + size) +
                         " of the archive, but the archive ends at byte " + Num(end) + ".";
        }
        contents.objectFiles.push_back(std::move(kept));
    }
    return contents;
}

}  // namespace marrowick
