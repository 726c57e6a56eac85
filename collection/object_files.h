// The object files a run reads: each loose file, and each object-file member of
// each archive, in order.
#pragma once

#include <atomic>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "collect_paths.h"
#include "file_bytes.h"

namespace marrowick {

struct ObjectFileItem {
    enum class Kind {
        File,            // a loose file, or a path that could not be read
        Member,          // an archive's object-file member
        RefusedArchive,  // an archive whose manifest is damaged: nothing of it is read
        Folder,          // a folder that could not be walked: an error, not a file read
    };
    Kind kind = Kind::File;
    std::string path;       // the file, or the archive, as collected
    std::string member;     // the member's name (raw bytes) for a member
    ByteRange range;        // the member's bytes in the archive
    std::string error;      // why it cannot be read (UTF-8), or empty
    std::size_t entry = 0;  // the collected path's position

    bool InArchive() const { return kind == Kind::Member || kind == Kind::RefusedArchive; }
};

struct ArchiveNotices {
    // Called for each notice about an archive (UTF-8, the archive's path first).
    std::function<void(const std::string& path, const std::string& notice)> notice;
    int archives = 0;  // archives whose manifest was read
};

// Calls `read` for each item, with the item open when it can be read (`file`
// is then non-null): a loose file once, an archive once per object-file member.
// Setting `cancel` ends it before the next item.
void ForEachObjectFile(const std::vector<PathEntry>& entries, ArchiveNotices& archives,
                       const std::function<void(const ObjectFileItem&, FileBytes* file)>& read,
                       const std::atomic<bool>* cancel = nullptr);

}  // namespace marrowick
