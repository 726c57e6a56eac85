#include "object_files.h"

#include <utility>

#include "archive.h"
#include "cancel.h"

namespace marrowick {

void ForEachObjectFile(const std::vector<PathEntry>& entries, ArchiveNotices& archives,
                       const std::function<void(const ObjectFileItem&, FileBytes* file)>& read,
                       const std::atomic<bool>* cancel) {
    for (std::size_t e = 0; e < entries.size() && !Stopped(cancel); ++e) {
        const PathEntry& entry = entries[e];
        ObjectFileItem item{
            entry.folder ? ObjectFileItem::Kind::Folder : ObjectFileItem::Kind::File,
            entry.path,
            {},
            {},
            entry.error,
            e};
        if (!item.error.empty()) {
            read(item, nullptr);
            continue;
        }
        // One open tells an archive from an object file, and serves to read either.
        FileBytes file(entry.path, {}, entry.identity);
        if (!file.ok() || !IsArchive(file)) {
            read(item, &file);
            continue;
        }
        ArchiveContents contents = ReadArchive(file, cancel);
        if (contents.cancelled) {
            return;
        }
        if (!contents.error.empty()) {
            item.kind = ObjectFileItem::Kind::RefusedArchive;
            item.error = std::move(contents.error);
            read(item, nullptr);
            continue;
        }
        ++archives.archives;
        if (contents.objectFiles.empty()) {
            const std::string skipped =
                contents.skipped > 0 ? "; " + std::to_string(contents.skipped) + " skipped" : "";
            archives.notice(entry.path, "holds no object files (no member name in it ends in .iff" +
                                            skipped + ").");
            continue;
        }
        if (contents.skipped == 1) {
            archives.notice(entry.path,
                            "skipped 1 member that is not an object file (its name "
                            "does not end in .iff).");
        } else if (contents.skipped > 1) {
            archives.notice(entry.path, "skipped " + std::to_string(contents.skipped) +
                                            " members that are not object files (their names "
                                            "do not end in .iff).");
        }
        item.kind = ObjectFileItem::Kind::Member;
        for (ArchiveMember& member : contents.objectFiles) {
            if (Stopped(cancel)) {
                return;
            }
            item.member = std::exchange(member.name, {});  // frees the name before it
            item.range = member.range;
            item.error = std::move(member.error);
            if (!item.error.empty()) {
                read(item, nullptr);
                continue;
            }
            file.SetRange(member.range);  // one descriptor, and its blocks, for every member
            read(item, &file);
        }
    }
}

}  // namespace marrowick
