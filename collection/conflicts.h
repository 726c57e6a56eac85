// Finding the objects of a collection that share a GUID.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "guid_listing.h"
#include "object_files.h"
#include "printer.h"

namespace marrowick {

struct ListedFile {
    ObjectFileItem item;  // the file, or the archive member, as collected
    GuidListing listing;
};

struct GuidUser {
    int file = 0;  // position in the collection
    int index = 0;
    std::string listText;
    std::int32_t chunkId = 0;
};

struct SharedGuid {
    std::array<std::uint8_t, 4> guid{};
    std::vector<GuidUser> users;  // in collection order, two or more
    // Every user lies in a different file and all those files hold the same
    // bytes: one file copied, not two objects that clash.
    bool copiesOfOneFile = false;
    // Not copies, and the users include both a loose file and an archive
    // member: a download taking the GUID of one of the game's own objects.
    bool looseTakesArchived = false;
};

struct ConflictReport {
    std::vector<SharedGuid> shared;  // in the order their first users come
    std::vector<GuidUser> noGuid;    // objects whose GUID bytes are all zero
    int trueConflicts = 0;           // shared GUIDs that are not copies of one file
    int objects = 0;
};

// Tells whether two files of the collection hold the same bytes.
using SameBytesCheck = std::function<bool(const ListedFile&, const ListedFile&)>;

ConflictReport FindConflicts(const std::vector<ListedFile>& files, const SameBytesCheck& sameBytes);

// "2843 EAE7", the two boxes of the editor.
std::string GuidBoxes(const std::array<std::uint8_t, 4>& guid);
// "0xE7EA4328", the bytes as a little-endian 32-bit value.
std::string GuidValue(const std::array<std::uint8_t, 4>& guid);

// An archive member's name for people; nothing for a loose file or an archive
// refused whole.
std::optional<QString> MemberName(const ObjectFileItem& item);

struct FileError {
    QString file;
    std::string error;
    std::optional<QString> member;  // the archive member's name, when it is one
};

// The files read with warnings: by a chunk walk that stopped early or left
// chunks out, or cut short.
struct ReadWarnings {
    // How many files were read by walking their chunks, in a run that reads
    // files without a resource map so.
    std::optional<int> readByChunks;
    std::vector<FileError> warnings;  // one per warning
};

// `archives` is how many archives were read, given when the run met any: the
// report then names each object's member and marks loose files taking the
// GUIDs of archived objects.
void PrintConflictReport(Printer& printer, const std::vector<ListedFile>& files,
                         const std::vector<QString>& shownPaths, const ConflictReport& report,
                         const std::vector<FileError>& errors,
                         const ReadWarnings& readWarnings = {},
                         std::optional<int> archives = std::nullopt);

}  // namespace marrowick
