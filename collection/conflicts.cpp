#include "conflicts.h"

#include <QJsonArray>

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>
#include <unordered_map>

#include "cp1252.h"

namespace marrowick {
namespace {

std::uint32_t GuidKey(const std::array<std::uint8_t, 4>& guid) {
    return static_cast<std::uint32_t>(guid[0]) | static_cast<std::uint32_t>(guid[1]) << 8 |
           static_cast<std::uint32_t>(guid[2]) << 16 | static_cast<std::uint32_t>(guid[3]) << 24;
}

// Copies of one file: one user per file, at least two files, and every file the
// same size and bytes as the first. Pairs already compared are remembered, since
// a copied file with many objects puts the same pair in many groups.
class CopyCheck {
  public:
    CopyCheck(const std::vector<ListedFile>& files, const SameBytesCheck& sameBytes)
        : files_(files), sameBytes_(sameBytes) {}

    bool AllCopies(const std::vector<GuidUser>& users) {
        std::set<int> distinct;
        for (const GuidUser& user : users) {
            if (!distinct.insert(user.file).second) {
                return false;  // two objects of one file share it: a real clash
            }
        }
        const ListedFile& first = files_[static_cast<std::size_t>(users.front().file)];
        for (std::size_t u = 1; u < users.size(); ++u) {
            if (!Same(users.front().file, users[u].file, first)) {
                return false;
            }
        }
        return true;
    }

  private:
    bool Same(int a, int b, const ListedFile& first) {
        const ListedFile& other = files_[static_cast<std::size_t>(b)];
        if (first.listing.size != other.listing.size) {
            return false;
        }
        const auto key = std::make_pair(a, b);
        auto known = known_.find(key);
        if (known == known_.end()) {
            known = known_.emplace(key, sameBytes_(first, other)).first;
        }
        return known->second;
    }

    const std::vector<ListedFile>& files_;
    const SameBytesCheck& sameBytes_;
    std::map<std::pair<int, int>, bool> known_;
};

// A "member" field: the name, or null.
QJsonValue MemberValue(const std::optional<QString>& member) {
    return member ? QJsonValue(*member) : QJsonValue();
}

// The files with errors, or read with warnings: each file, its member when
// archives were read, and the text under `textKey`.
void PrintFileNotes(Printer& p, const std::string& key, const std::string& textKey,
                    const std::vector<FileError>& notes, bool archives) {
    p.BeginList(key);
    for (const FileError& note : notes) {
        p.BeginRecord();
        p.Value("file", note.file);
        if (archives) {
            p.Value("member", MemberValue(note.member));
        }
        p.Value(textKey, QString::fromStdString(note.error));
        p.EndRecord();
    }
    p.EndList();
}

void PrintUser(Printer& p, const std::vector<ListedFile>& files,
               const std::vector<QString>& shownPaths, const GuidUser& user, bool archives) {
    const auto f = static_cast<std::size_t>(user.file);
    p.BeginRecord();
    p.Value("file", shownPaths[f], "File");
    if (archives) {
        p.Value("member", MemberValue(MemberName(files[f].item)), "Member");
    }
    p.Value("index", user.index, "Index");
    p.Value("list_text", QString::fromStdString(Cp1252ToUtf8(user.listText)), "Entry");
    p.Value("chunk_id", user.chunkId, "Id");
    p.EndRecord();
}

}  // namespace

std::optional<QString> MemberName(const ObjectFileItem& item) {
    if (item.kind != ObjectFileItem::Kind::Member) {
        return std::nullopt;
    }
    return QString::fromStdString(Cp1252ToUtf8(item.member));
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

ConflictReport FindConflicts(const std::vector<ListedFile>& files,
                             const SameBytesCheck& sameBytes) {
    ConflictReport report;
    std::vector<SharedGuid> groups;
    std::unordered_map<std::uint32_t, std::size_t> groupOf;
    for (std::size_t f = 0; f < files.size(); ++f) {
        for (const ObjectGuid& object : files[f].listing.objects) {
            ++report.objects;
            GuidUser user{static_cast<int>(f), object.index, object.listText, object.chunkId};
            const std::uint32_t key = GuidKey(object.guid);
            if (key == 0) {
                report.noGuid.push_back(std::move(user));
                continue;
            }
            const auto [slot, added] = groupOf.emplace(key, groups.size());
            if (added) {
                groups.push_back({object.guid, {}, false});
            }
            groups[slot->second].users.push_back(std::move(user));
        }
    }
    CopyCheck copies(files, sameBytes);
    for (SharedGuid& group : groups) {
        if (group.users.size() < 2) {
            continue;
        }
        group.copiesOfOneFile = copies.AllCopies(group.users);
        const auto inArchive = [&files](const GuidUser& user) {
            return files[static_cast<std::size_t>(user.file)].item.kind ==
                   ObjectFileItem::Kind::Member;
        };
        group.looseTakesArchived = !group.copiesOfOneFile &&
                                   std::any_of(group.users.begin(), group.users.end(), inArchive) &&
                                   !std::all_of(group.users.begin(), group.users.end(), inArchive);
        report.trueConflicts += group.copiesOfOneFile ? 0 : 1;
        report.shared.push_back(std::move(group));
    }
    return report;
}

void PrintConflictReport(Printer& p, const std::vector<ListedFile>& files,
                         const std::vector<QString>& shownPaths, const ConflictReport& report,
                         const std::vector<FileError>& errors, const ReadWarnings& readWarnings,
                         std::optional<int> archives) {
    // Runs with no warning and no reading by chunks print as they always have.
    const bool warningsShown = readWarnings.readByChunks || !readWarnings.warnings.empty();
    p.BeginRecord();
    p.Value("files", static_cast<qint64>(files.size()), "Files");
    if (archives) {
        p.Value("archives", *archives, "Archives");
    }
    if (readWarnings.readByChunks) {
        p.Value("read_by_chunks", *readWarnings.readByChunks, "Read by chunks");
    }
    p.Value("objects", report.objects, "Objects");
    p.Value("conflicts", report.trueConflicts, "Conflicts");
    p.Value("copies", static_cast<qint64>(report.shared.size()) - report.trueConflicts,
            "Copies of one file");
    p.Value("errors", static_cast<qint64>(errors.size()), "Errors");
    if (warningsShown) {
        p.Value("warnings", static_cast<qint64>(readWarnings.warnings.size()), "Warnings");
    }
    p.BeginList("shared_guids", "GUIDs used by more than one object");
    for (const SharedGuid& group : report.shared) {
        p.BeginRecord();
        p.Value("guid",
                QJsonArray{QString::fromStdString(GuidBoxes(group.guid).substr(0, 4)),
                           QString::fromStdString(GuidBoxes(group.guid).substr(5))},
                "GUID");
        p.Value("value", QString::fromStdString(GuidValue(group.guid)), "Value");
        p.Value("copies_of_one_file", group.copiesOfOneFile, "copies of one file");
        if (archives) {
            p.Value("loose_takes_archived_guid", group.looseTakesArchived,
                    "a loose file takes an archived object's GUID");
        }
        p.BeginList("objects");
        for (const GuidUser& user : group.users) {
            PrintUser(p, files, shownPaths, user, archives.has_value());
        }
        p.EndList();
        p.EndRecord();
    }
    p.EndList();
    p.BeginList("no_guid", "Objects with no GUID (0000 0000)");
    for (const GuidUser& user : report.noGuid) {
        PrintUser(p, files, shownPaths, user, archives.has_value());
    }
    p.EndList();
    PrintFileNotes(p, "file_errors", "error", errors, archives.has_value());
    if (warningsShown) {
        PrintFileNotes(p, "file_warnings", "warning", readWarnings.warnings, archives.has_value());
    }
    p.EndRecord();
}

}  // namespace marrowick
