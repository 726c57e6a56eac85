// Finding the objects of a collection that share a GUID.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "file_notes.h"
#include "guid_listing.h"
#include "object_files.h"
#include "printer.h"

namespace marrowick {

// A file or archive member that was read. Its path, its listing and its
// object's texts are kept once and found through ReadFiles, so that an archive
// of many entries costs little more per entry than its name.
struct ListedFile {
    ObjectFileItem::Kind kind = ObjectFileItem::Kind::File;
    std::uint32_t entry = 0;    // the collected path's position: ReadFiles::paths
    std::uint32_t listing = 0;  // ReadFiles::listings; entries with the same bytes share one
    ByteRange range;            // the member's bytes in the archive
    std::string member;         // the member's name (raw bytes), for a member
};

// Every file and member a check read, in order, and what was read of each.
struct ReadFiles {
    std::vector<std::string> paths;  // each path collected, as collected
    std::vector<ListedFile> files;
    std::vector<GuidListing> listings;

    const GuidListing& Listing(std::size_t file) const { return listings[files[file].listing]; }
    // How many files and members were read: a folder that could not be walked
    // is among `files` for its error only.
    std::size_t FilesRead() const;
    const std::string& Path(std::size_t file) const { return paths[files[file].entry]; }
    // The file as it was collected, to be opened again.
    ObjectFileItem Item(std::size_t file) const;
};

struct GuidUser {
    int file = 0;   // position in the collection
    int index = 0;  // the object's, in its file's list and listing
    std::int32_t chunkId = 0;
};

// What a group of objects sharing a GUID is, and so what it asks of the
// player; the first kind that fits, in this order, is the group's.
enum class SharedGuidKind {
    // Anything below does not fit: a true clash, one object must go or be
    // replaced. Two objects of one file sharing a GUID are always this.
    DifferentObjects,
    // Not copies, and the users include both a loose file and an archive
    // member: a download taking the GUID of one of the game's own objects.
    LooseTakesArchived,
    // Every user lies in a different file, all with the same label and catalog
    // name, but not all the same bytes: an old and a new copy of one object.
    Versions,
    // Every user lies in a different file and all those files hold the same
    // bytes: one file copied, not two objects that clash.
    Copies,
};

// The kind for people, as the report's group header names it: "copies of one file".
std::string_view KindName(SharedGuidKind kind);
// The kind in JSON: "copies_of_one_file".
std::string_view KindId(SharedGuidKind kind);
// The kinds by what they ask, most urgent first: the two kinds of true clash
// rank together, then versions, then copies.
int KindRank(SharedGuidKind kind);

struct SharedGuid {
    std::array<std::uint8_t, 4> guid{};
    std::vector<GuidUser> users;  // in collection order, two or more
    SharedGuidKind kind = SharedGuidKind::DifferentObjects;
};

struct ConflictReport {
    // True clashes first, then versions, then copies (KindRank); within a
    // rank, in the order their first users come.
    std::vector<SharedGuid> shared;
    std::vector<GuidUser> noGuid;  // objects whose GUID bytes are all zero
    int trueConflicts = 0;         // groups of different objects, or of a loose file and a member
    int versions = 0;              // groups of versions of one object
    int objects = 0;

    // The groups of copies of one file.
    int Copies() const { return static_cast<int>(shared.size()) - trueConflicts - versions; }
};

// What the kinds of group in `report` ask of the player: their advice, in rank
// order, one sentence each; empty when no GUID is shared.
std::string WhatToDo(const ConflictReport& report);

// Tells whether two files of the collection hold the same bytes.
using SameBytesCheck = std::function<bool(const ListedFile&, const ListedFile&)>;

// Groups the objects of `read` by GUID. A file and byte range met twice is the
// same bytes without asking `sameBytes`. Setting `cancel` stops it soon after,
// with the report incomplete.
ConflictReport FindConflicts(const ReadFiles& read, const SameBytesCheck& sameBytes,
                             const std::atomic<bool>* cancel = nullptr);

// The object list's entry text of a user's object (raw bytes).
const std::string& ListText(const ReadFiles& read, const GuidUser& user);

// "2843 EAE7", the two boxes of the editor.
std::string GuidBoxes(const std::array<std::uint8_t, 4>& guid);
// "0xE7EA4328", the bytes as a little-endian 32-bit value.
std::string GuidValue(const std::array<std::uint8_t, 4>& guid);

// A "member" field: the name, or null for a loose file or a refused archive.
void PrintMember(Printer& p, const ListedFile& file, std::string_view heading);
// A GUID field as the editor's two boxes: ["2843", "EAE7"].
void PrintGuid(Printer& p, std::string_view key, const std::array<std::uint8_t, 4>& guid,
               std::string_view heading);

// An archive member's name for people (UTF-8); nothing for a loose file or an
// archive refused whole.
std::optional<std::string> MemberName(const ObjectFileItem& item);

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
void PrintConflictReport(Printer& printer, const ReadFiles& read, const ConflictReport& report,
                         const std::vector<FileError>& errors,
                         const ReadWarnings& readWarnings = {},
                         std::optional<int> archives = std::nullopt);

}  // namespace marrowick
