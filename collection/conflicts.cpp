#include "conflicts.h"

#include <algorithm>
#include <cstdio>
#include <map>

#include "cancel.h"
#include "cp1252.h"
#include "object_list.h"

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

// Two versions of one object: every user in a different file, and all with the
// same label and catalog name, byte for byte.
bool OneObject(const ReadFiles& read, const std::vector<GuidUser>& users) {
    const auto object = [&read](const GuidUser& user) -> const ObjectGuid& {
        return read.Listing(static_cast<std::size_t>(user.file))
            .objects[static_cast<std::size_t>(user.index)];
    };
    const ObjectGuid& first = object(users.front());
    const std::string label = ObjectLabelFromEntry(first.listText);
    for (std::size_t u = 1; u < users.size(); ++u) {
        const ObjectGuid& other = object(users[u]);
        if (users[u].file == users[u - 1].file || other.catalogName != first.catalogName ||
            ObjectLabelFromEntry(other.listText) != label) {
            return false;
        }
    }
    return true;
}

struct KindTexts {
    std::string_view name, id, advice;
};

// In the order of SharedGuidKind.
constexpr KindTexts kKinds[] = {
    {"different objects", "different_objects",
     "Different objects share a GUID: remove one, or replace it with a version that has a GUID "
     "of its own."},
    {"a loose file takes an archived object's GUID", "loose_takes_archived_guid",
     "A loose file takes an archived object's GUID: remove the loose file unless it is meant to "
     "replace that object."},
    {"two versions of one object", "versions_of_one_object",
     "Two versions of one object: keep the newer file and delete the older."},
    {"copies of one file", "copies_of_one_file",
     "Copies of one file: keep one and delete the others."},
};

const KindTexts& Texts(SharedGuidKind kind) {
    return kKinds[static_cast<std::size_t>(kind)];
}

}  // namespace

std::string WhatToDo(const ConflictReport& report) {
    std::string advice;
    for (std::size_t k = 0; k < std::size(kKinds); ++k) {
        const auto kind = static_cast<SharedGuidKind>(k);
        if (std::any_of(report.shared.begin(), report.shared.end(),
                        [kind](const SharedGuid& group) { return group.kind == kind; })) {
            advice += advice.empty() ? "" : " ";
            advice += Texts(kind).advice;
        }
    }
    return advice;
}

namespace {

// The files with errors, or read with warnings, for people: by reason, a line
// for each reason and under it the files' lines as stderr gave them.
void PrintNoteGroups(Printer& p, const ReadFiles& read, std::string_view heading,
                     const std::vector<FileError>& notes, std::string_view reader) {
    if (notes.empty()) {
        return;
    }
    // Records in a record: a line each, indented under the one before.
    p.BeginRecord();
    p.Value({}, true, heading);
    for (const NoteGroup& group : GroupByReason(notes)) {
        p.BeginRecord();
        p.Value({}, true, GroupLine(group, reader));
        for (const std::size_t n : group.notes) {
            const FileError& note = notes[n];
            p.BeginRecord();
            p.Value(
                {}, true,
                NoticeLine(ShownItem(read.Item(static_cast<std::size_t>(note.file))), note.error));
            p.EndRecord();
        }
        p.EndRecord();
    }
    p.EndRecord();
}

// The files with errors, or read with warnings, for scripts: each file, its
// member when archives were read, the text under `textKey` and its reason.
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
        p.Value("reason", std::string(ReasonOf(note.error).id));
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

std::string_view KindName(SharedGuidKind kind) {
    return Texts(kind).name;
}

std::string_view KindId(SharedGuidKind kind) {
    return Texts(kind).id;
}

int KindRank(SharedGuidKind kind) {
    switch (kind) {
        case SharedGuidKind::DifferentObjects:
        case SharedGuidKind::LooseTakesArchived:
            return 0;
        case SharedGuidKind::Versions:
            return 1;
        case SharedGuidKind::Copies:
            break;
    }
    return 2;
}

void PrintMember(Printer& p, const ListedFile& file, std::string_view heading) {
    if (file.kind == ObjectFileItem::Kind::Member) {
        p.FileText("member", file.member, heading);
    } else {
        p.Value("member", {}, heading);
    }
}

void PrintGuid(Printer& p, std::string_view key, const std::array<std::uint8_t, 4>& guid,
               std::string_view heading) {
    const std::string boxes = GuidBoxes(guid);
    p.Texts(key, {std::string_view(boxes).substr(0, 4), std::string_view(boxes).substr(5)},
            heading);
}

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
    // Every object with a GUID, sorted by GUID and then by collection order, so
    // that a GUID's users lie together; most GUIDs have one user and make no group.
    struct Use {
        std::uint32_t key = 0;
        std::uint32_t order = 0;
        GuidUser user;
    };
    std::vector<Use> uses;
    for (std::size_t f = 0; f < read.files.size() && !Stopped(cancel); ++f) {
        for (const ObjectGuid& object : read.Listing(f).objects) {
            ++report.objects;
            const GuidUser user{static_cast<int>(f), object.index, object.chunkId};
            const std::uint32_t key = GuidKey(object.guid);
            if (key == 0) {
                report.noGuid.push_back(user);
            } else {
                uses.push_back({key, static_cast<std::uint32_t>(uses.size()), user});
            }
        }
    }
    std::sort(uses.begin(), uses.end(), [](const Use& a, const Use& b) {
        return a.key != b.key ? a.key < b.key : a.order < b.order;
    });
    // The runs of two or more users, in the order their first users come.
    std::vector<std::pair<std::size_t, std::size_t>> runs;
    for (std::size_t begin = 0, end = 0; begin < uses.size(); begin = end) {
        for (end = begin + 1; end < uses.size() && uses[end].key == uses[begin].key; ++end) {
        }
        if (end - begin >= 2) {
            runs.emplace_back(begin, end);
        }
    }
    std::sort(runs.begin(), runs.end(), [&uses](const auto& a, const auto& b) {
        return uses[a.first].order < uses[b.first].order;
    });
    std::vector<SharedGuid> groups;
    groups.reserve(runs.size());
    for (const auto& [begin, end] : runs) {
        SharedGuid& group = groups.emplace_back();
        for (std::size_t b = 0; b < group.guid.size(); ++b) {
            group.guid[b] = static_cast<std::uint8_t>(uses[begin].key >> (8 * b));
        }
        group.users.reserve(end - begin);
        for (std::size_t u = begin; u < end; ++u) {
            group.users.push_back(uses[u].user);
        }
    }
    CopyCheck copies(read, sameBytes, cancel);
    const auto inArchive = [&read](const GuidUser& user) {
        return read.files[static_cast<std::size_t>(user.file)].kind == ObjectFileItem::Kind::Member;
    };
    for (SharedGuid& group : groups) {
        if (Stopped(cancel)) {
            continue;
        }
        const bool looseAndArchived =
            std::any_of(group.users.begin(), group.users.end(), inArchive) &&
            !std::all_of(group.users.begin(), group.users.end(), inArchive);
        group.kind = copies.AllCopies(group.users)  ? SharedGuidKind::Copies
                     : looseAndArchived             ? SharedGuidKind::LooseTakesArchived
                     : OneObject(read, group.users) ? SharedGuidKind::Versions
                                                    : SharedGuidKind::DifferentObjects;
        report.trueConflicts += KindRank(group.kind) == 0 ? 1 : 0;
        report.versions += group.kind == SharedGuidKind::Versions ? 1 : 0;
        report.shared.push_back(std::move(group));
    }
    std::stable_sort(report.shared.begin(), report.shared.end(),
                     [](const SharedGuid& a, const SharedGuid& b) {
                         return KindRank(a.kind) < KindRank(b.kind);
                     });
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
    p.Value("versions", report.versions, "Versions of one object");
    p.Value("copies", report.Copies(), "Copies of one file");
    p.Value("errors", errors.size(), "Errors");
    if (warningsShown) {
        p.Value("warnings", readWarnings.warnings.size(), "Warnings");
    }
    if (p.ForPeople()) {
        if (!report.shared.empty()) {
            p.BeginRecord();
            p.Value({}, WhatToDo(report), "What to do");
            p.EndRecord();
        }
        // A run that read by chunks has no file that reading by chunks would read.
        PrintNoteGroups(p, read, "Files with errors:", errors,
                        readWarnings.readByChunks ? "" : "--walk-chunks");
        PrintNoteGroups(p, read, "Files read with warnings:", readWarnings.warnings, {});
    }
    p.BeginList("shared_guids", "GUIDs used by more than one object");
    for (const SharedGuid& group : report.shared) {
        p.BeginRecord();
        PrintGuid(p, "guid", group.guid, "GUID");
        p.Value("value", GuidValue(group.guid), "Value");
        if (p.ForPeople()) {
            p.Value("kind", true, KindName(group.kind));  // its name alone
        } else {
            p.Value("kind", std::string(KindId(group.kind)));
        }
        // As scripts have read the kinds before there were more than two.
        p.Value("copies_of_one_file", group.kind == SharedGuidKind::Copies);
        if (archives) {
            p.Value("loose_takes_archived_guid", group.kind == SharedGuidKind::LooseTakesArchived);
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
