// Turns the command line's files and folders into the list of files to read.
#pragma once

#include <atomic>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "file_identity.h"

namespace marrowick {

struct PathEntry {
    std::string path;   // as given, or the folder as given joined with the names below it
    std::string error;  // why the entry cannot be read (UTF-8); empty when it can be tried
    // Of a file found in a folder: the file to read, and no other that may be
    // at its path by then.
    std::optional<FileIdentity> identity = std::nullopt;
    bool folder = false;  // a folder that could not be walked: an error, not a file
};

struct PathNotice {
    std::string path;
    std::string notice;  // UTF-8
};

struct CollectedPaths {
    std::vector<PathEntry> entries;
    std::vector<std::string> emptyFolders;  // folder arguments in which nothing was found
    std::vector<PathNotice> linksLeft;      // links leading outside the folders given
};

// Called after each folder read, with the count of files found.
using WalkProgress = std::function<void(std::size_t found)>;

// Arguments are taken in order. A file is taken as it is, whatever its name or
// wherever a link named leads; a folder is walked recursively for files whose
// name ends in ".iff" or ".far" in any letter case, and what it yields comes in
// sorted path order. A link met in a folder is followed only when what it leads
// to lies inside one of the folders given, so that a link to "/" or to a file
// elsewhere cannot take the walk out of them. Every folder is walked and every
// file taken at most once, however it is reached (the same file is the same
// device and inode, not the same name), in the place it is first met, so a
// link back up the tree cannot loop. Each folder is opened relative to the one
// that holds it, without following a link that has taken its place meanwhile,
// so depth has no limit and a swap cannot lead the walk out. A folder or entry
// that cannot be read is listed with its error in its place.
// Setting `cancel` ends the walk within a few entries, even inside a folder.
CollectedPaths CollectPaths(const std::vector<std::string>& arguments,
                            const std::atomic<bool>* cancel = nullptr,
                            const WalkProgress& progress = {});

// What is said of a folder in which nothing was found.
inline constexpr const char* kNothingToRead =
    "holds no object files (no file name in it ends in .iff or .far).";

}  // namespace marrowick
