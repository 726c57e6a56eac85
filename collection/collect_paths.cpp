#include "collect_paths.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <set>
#include <utility>

#include <dirent.h>
#include <sys/stat.h>

#include "archive.h"
#include "messages.h"

namespace marrowick {
namespace {

using Identity = std::pair<dev_t, ino_t>;

// Object files, and the archives that hold them.
bool IsCollected(const std::string& name) {
    return HasIffExtension(name) || HasExtension(name, ".far");
}

std::string Join(const std::string& folder, const char* name) {
    return folder.empty() || folder.back() == '/' ? folder + name : folder + '/' + name;
}

struct Walked {
    std::string path;
    Identity identity;
};

std::vector<std::string> SortedNames(DIR* dir) {
    std::vector<std::string> names;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") {
            names.push_back(name);
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

// Walks with explicit stacks, so that deep trees cannot exhaust the call stack.
// What is reached through a link is taken only after everything reached without
// one, so a file keeps its own path when a link inside the tree leads to it too;
// the order of the walk is fixed by sorting each folder's names.
void Walk(const Walked& root, std::set<Identity>& seenFolders, std::set<Identity>& seenFiles,
          std::vector<PathEntry>& found, const std::atomic<bool>* cancel) {
    std::vector<Walked> folders{root};
    std::vector<Walked> linkedFolders;
    std::vector<Walked> linkedFiles;
    while ((!folders.empty() || !linkedFolders.empty()) &&
           (cancel == nullptr || !cancel->load(std::memory_order_relaxed))) {
        std::vector<Walked>& from = folders.empty() ? linkedFolders : folders;
        const Walked folder = std::move(from.back());
        from.pop_back();
        if (!seenFolders.insert(folder.identity).second) {
            continue;
        }
        DIR* dir = ::opendir(folder.path.c_str());
        if (dir == nullptr) {
            found.push_back({folder.path, CannotOpenMessage(folder.path, std::strerror(errno))});
            continue;
        }
        const std::vector<std::string> names = SortedNames(dir);
        ::closedir(dir);
        std::vector<Walked> subfolders;
        for (const std::string& name : names) {
            const std::string path = Join(folder.path, name.c_str());
            struct stat info {};
            struct stat link {};
            if (::stat(path.c_str(), &info) != 0) {
                // A dangling link or a vanished entry matters only when it would
                // have been read.
                if (IsCollected(name)) {
                    found.push_back({path, CannotOpenMessage(path, std::strerror(errno))});
                }
                continue;
            }
            const bool isLink = ::lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode);
            const Walked walked{path, {info.st_dev, info.st_ino}};
            if (S_ISDIR(info.st_mode)) {
                (isLink ? linkedFolders : subfolders).push_back(walked);
            } else if (IsCollected(name)) {
                if (isLink) {
                    linkedFiles.push_back(walked);
                } else if (seenFiles.insert(walked.identity).second) {
                    // Anything but a regular file is left to the reader to refuse.
                    found.push_back({path, {}});
                }
            }
        }
        // Reversed, so that the first name is walked first.
        folders.insert(folders.end(), subfolders.rbegin(), subfolders.rend());
    }
    for (const Walked& file : linkedFiles) {
        if (seenFiles.insert(file.identity).second) {
            found.push_back({file.path, {}});
        }
    }
}

}  // namespace

CollectedPaths CollectPaths(const std::vector<std::string>& arguments,
                            const std::atomic<bool>* cancel) {
    CollectedPaths collected;
    std::vector<PathEntry>& entries = collected.entries;
    std::set<Identity> seenFolders;
    std::set<Identity> seenFiles;
    for (const std::string& argument : arguments) {
        struct stat info {};
        if (::stat(argument.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
            // The reader reports a file that is missing or cannot be read.
            entries.push_back({argument, {}});
            continue;
        }
        const Walked root{argument, {info.st_dev, info.st_ino}};
        if (seenFolders.count(root.identity) != 0) {
            continue;  // the same folder again, or one inside a folder already walked
        }
        std::vector<PathEntry> found;
        Walk(root, seenFolders, seenFiles, found, cancel);
        if (found.empty()) {
            collected.emptyFolders.push_back(argument);
        }
        std::sort(found.begin(), found.end(),
                  [](const PathEntry& a, const PathEntry& b) { return a.path < b.path; });
        entries.insert(entries.end(), std::make_move_iterator(found.begin()),
                       std::make_move_iterator(found.end()));
    }
    return collected;
}

}  // namespace marrowick
