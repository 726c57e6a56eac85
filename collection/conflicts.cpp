#include "conflicts.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <unordered_map>

#include "cancel.h"
#include "cp1252.h"

namespace marrowick {
namespace {

std::uint32_t GuidKey(const std::array<std::uint8_t, 4>& guid) {
    return static_cast<std::uint32_t>(guid[0]) | static_cast<std::uint32_t>(guid[1]) << 8 |
           static_cast<std::uint32_t>(guid[2]) << 16 | static_cast<std::uint32_t>(guid[3]) << 24;
}

// A "member" field: the name, or null for a loose file or a refused archive.
void PrintMember(Printer& p, const ListedFile& file, std::string_view heading) {
    if (file.kind == ObjectFileItem::Kind::Member) {
        p.FileText("member", file.member, heading);
    } else {
        p.Value("member", {}, heading);
    }
}

// Copies of one file: one user per file, at least two files, and every file the
// same size and bytes as the first. Pairs already compared are remembered, since
// a copied file with many objects puts the same pair in many groups.
class CopyCheck {
  public:
    CopyCheck(const ReadFiles& read, const SameBytesCheck& sameBytes,
              const std::atomic<bool>* cancel)
        : read_(read), sameBytes_(sameBytes), cancel_(cancel) {}

    bool AllCopies(const std::vector<GuidUser>& users) {
        // Users come in collection order: two of one file are neighbours.
        for (std::size_t u = 1; u < users.size(); ++u) {
            if (users[u].file == users[u - 1].file) {
                return false;  // two objects of one file share it: a real clash
            }
        }
        for (std::size_t u = 1; u < users.size() && !Stopped(cancel_); ++u) {
            if (!Same(users.front().file, users[u].file)) {
                return false;
            }
        }
        return true;
    }

  private:
    bool Same(int a, int b) {
        const ListedFile& first = read_.files[static_cast<std::size_t>(a)];
        const ListedFile& other = read_.files[static_cast<std::size_t>(b)];
        if (first.entry == other.entry && first.range == other.range) {
            return true;  // the same bytes of the same file: nothing to read
        }
        if (read_.listings[first.listing].size != read_.listings[other.listing].size) {
            return false;
        }
        const auto key = std::make_pair(a, b);
        auto known = known_.find(key);
        if (known == known_.end()) {
            known = known_.emplace(key, sameBytes_(first, other)).first;
        }
        return known->second;
    }

    const ReadFiles& read_;
    const SameBytesCheck& sameBytes_;
    const std::atomic<bool>* cancel_;
    std::map<std::pair<int, int>, bool> known_;
};

// The files with errors, or read with warnings: each file, its member when
// archives were read, and the text under `textKey`.
void PrintFileNotes(Printer& p, const ReadFiles& read, const std::string& key,
                    const std::string& textKey, const std::vector<FileError>& notes,
                    bool archives) {
    p.BeginList(key);
    for (const FileError& note : notes) {
        const auto f = static_cast<std::size_t>(note.file);
        p.BeginRecord();
        p.Value("file", FileName{read.Path(f)});
        if (archives) {
            PrintMember(p, read.files[f], {});
        }
        p.Value(textKey, note.error);
        p.EndRecord();
    }
    p.EndList();
}

void PrintUser(Printer& p, const ReadFiles& read, const GuidUser& user, bool archives) {
    const auto f = static_cast<std::size_t>(user.file);
    p.BeginRecord();
    p.Value("file", FileName{read.Path(f)}, "File");
    if (archives) {
        PrintMember(p, read.files[f], "Member");
    }
    p.Value("index", user.index, "Index");
    p.FileText("list_text", ListText(read, user), "Entry");
    p.Value("chunk_id", user.chunkId, "Id");
    p.EndRecord();
}

}  // namespace

ObjectFileItem ReadFiles::Item(std::size_t file) const {
    const ListedFile& f = files[file];
    return {f.kind, paths[f.entry], f.member, f.range, Listing(file).error, f.entry};
}

std::size_t ReadFiles::FilesRead() const {
    return static_cast<std::size_t>(
        std::count_if(files.begin(), files.end(),
                      [](const ListedFile& f) { return f.kind != ObjectFileItem::Kind::Folder; }));
}

const std::string& ListText(const ReadFiles& read, const GuidUser& user) {
    return read.Listing(static_cast<std::size_t>(user.file))
        .objects[static_cast<std::size_t>(user.index)]
        .listText;
}

std::optional<std::string> MemberName(const ObjectFileItem& item) {
    if (item.kind != ObjectFileItem::Kind::Member) {
        return std::nullopt;
    }
    return Cp1252ToUtf8(item.member);
}

std::string GuidBoxes(const std::array<std::uint8_t, 4>& guid) {
    char text[10];
    std::snprintf(text, sizeof text, "%02X%02X %02X%02X", guid[0], guid[1], guid[2], guid[3]);
    return text;
}

std::string GuidValue(const std::array<std::uint8_t, 4>& guid) {
    char text[11];
    std::snprintf(text, sizeof text, "0x%08X", GuidKey(guid));
    return text;
}

ConflictReport FindConflicts(const ReadFiles& read, const SameBytesCheck& sameBytes,
                             const std::atomic<bool>* cancel) {
    ConflictReport report;
    std::vector<SharedGuid> groups;
    std::unordered_map<std::uint32_t, std::size_t> groupOf;
    for (std::size_t f = 0; f < read.files.size() && !Stopped(cancel); ++f) {
        for (const ObjectGuid& object : read.Listing(f).objects) {
            ++report.objects;
            const GuidUser user{static_cast<int>(f), object.index, object.chunkId};
            const std::uint32_t key = GuidKey(object.guid);
            if (key == 0) {
                report.noGuid.push_back(user);
                continue;
            }
            const auto [slot, added] = groupOf.emplace(key, groups.size());
            if (added) {
                groups.push_back({object.guid, {}, false});
            }
            groups[slot->second].users.push_back(user);
        }
    }
    CopyCheck copies(read, sameBytes, cancel);
    const auto inArchive = [&read](const GuidUser& user) {
        return read.files[static_cast<std::size_t>(user.file)].kind == ObjectFileItem::Kind::Member;
    };
    for (SharedGuid& group : groups) {
        if (group.users.size() < 2 || Stopped(cancel)) {
            continue;
        }
        group.copiesOfOneFile = copies.AllCopies(group.users);
        group.looseTakesArchived = !group.copiesOfOneFile &&
                                   std::any_of(group.users.begin(), group.users.end(), inArchive) &&
                                   !std::all_of(group.users.begin(), group.users.end(), inArchive);
        report.trueConflicts += group.copiesOfOneFile ? 0 : 1;
        report.shared.push_back(std::move(group));
    }
    return report;
}

void PrintConflictReport(Printer& p, const ReadFiles& read, const ConflictReport& report,
                         const std::vector<FileError>& errors, const ReadWarnings& readWarnings,
                         std::optional<int> archives) {
    // Runs with no warning and no reading by chunks print as they always have.
    const bool warningsShown = readWarnings.readByChunks || !readWarnings.warnings.empty();
    p.BeginRecord();
    p.Value("files", read.FilesRead(), "Files");
    if (archives) {
        p.Value("archives", *archives, "Archives");
    }
    if (readWarnings.readByChunks) {
        p.Value("read_by_chunks", *readWarnings.readByChunks, "Read by chunks");
    }
    p.Value("objects", report.objects, "Objects");
    p.Value("conflicts", report.trueConflicts, "Conflicts");
    p.Value("copies", static_cast<std::int64_t>(report.shared.size()) - report.trueConflicts,
            "Copies of one file");
    p.Value("errors", errors.size(), "Errors");
    if (warningsShown) {
        p.Value("warnings", readWarnings.warnings.size(), "Warnings");
    }
    p.BeginList("shared_guids", "GUIDs used by more than one object");
    for (const SharedGuid& group : report.shared) {
        p.BeginRecord();
        const std::string boxes = GuidBoxes(group.guid);
        p.Texts("guid", {std::string_view(boxes).substr(0, 4), std::string_view(boxes).substr(5)},
                "GUID");
        p.Value("value", GuidValue(group.guid), "Value");
        p.Value("copies_of_one_file", group.copiesOfOneFile, "copies of one file");
        if (archives) {
            p.Value("loose_takes_archived_guid", group.looseTakesArchived,
                    "a loose file takes an archived object's GUID");
        }
        p.BeginList("objects");
        for (const GuidUser& user : group.users) {
            PrintUser(p, read, user, archives.has_value());
        }
        p.EndList();
        p.EndRecord();
    }
    p.EndList();
    p.BeginList("no_guid", "Objects with no GUID (0000 0000)");
    for (const GuidUser& user : report.noGuid) {
        PrintUser(p, read, user, archives.has_value());
    }
    p.EndList();
    PrintFileNotes(p, read, "file_errors", "error", errors, archives.has_value());
    if (warningsShown) {
        PrintFileNotes(p, read, "file_warnings", "warning", readWarnings.warnings,
                       archives.has_value());
    }
    p.EndRecord();
}

}  // namespace marrowick
