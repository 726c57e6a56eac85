// Turns the command line's files and folders into the list of files to read.
#pragma once

#include <atomic>
#include <functional>
#include <string>
#include <vector>

namespace marrowick {

struct PathEntry {
    std::string path;   // as given, or the folder as given joined with the names below it
    std::string error;  // why the entry cannot be read (UTF-8); empty when it can be tried
};

struct PathNotice {
    std::string path;
    std::string notice;  // UTF-8
};

struct CollectedPaths {
    std::vector<PathEntry> entries;
    std::vector<std::string> emptyFolders;  // folder arguments in which nothing was found
    std::vector<PathNotice> linksLeft;      // links to folders outside those given
};

// Called now and then while folders are walked, with the count of files found.
using WalkProgress = std::function<void(std::size_t found)>;

// Arguments are taken in order. A file is taken as it is, whatever its name; a
// folder is walked recursively for files whose name ends in ".iff" or ".far" in
// any letter case, and what it yields comes in sorted path order. Links to files
// are followed. A link to a folder is followed only when the folder lies inside
// one of the folders given, so that a link to "/" cannot take the walk over the
// whole system; every folder is walked and every file taken at most once, so a
// link back up the tree cannot loop. A folder or entry that cannot be read is
// listed with its error in its place.
// Setting `cancel` ends the walk within a few entries, even inside a folder.
CollectedPaths CollectPaths(const std::vector<std::string>& arguments,
                            const std::atomic<bool>* cancel = nullptr,
                            const WalkProgress& progress = {});

// What is said of a folder in which nothing was found.
inline constexpr const char* kNothingToRead =
    "holds no object files (no file name in it ends in .iff or .far).";

}  // namespace marrowick
