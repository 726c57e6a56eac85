#include "collect_paths.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
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

// The folder with every link resolved, or nothing when it cannot be.
std::optional<std::string> RealPath(const std::string& path) {
    std::unique_ptr<char, decltype(&std::free)> real(::realpath(path.c_str(), nullptr), &std::free);
    return real ? std::optional<std::string>(real.get()) : std::nullopt;
}

// Where a walk may lead: the folders given, with their links resolved.
class Inside {
  public:
    void Add(const std::string& folder) {
        if (std::optional<std::string> real = RealPath(folder)) {
            roots_.push_back(*real == "/" ? std::string() : std::move(*real));
        }
    }
    // Whether the folder a link leads to, resolved as `real`, lies in one of them.
    bool Holds(const std::string& real) const {
        return std::any_of(roots_.begin(), roots_.end(), [&real](const std::string& root) {
            return real.compare(0, root.size(), root) == 0 &&
                   (real.size() == root.size() || real[root.size()] == '/');
        });
    }

  private:
    std::vector<std::string> roots_;  // "/" is kept empty, so that "/x" is inside it
};

struct WalkState {
    std::set<Identity> seenFolders;
    std::set<Identity> seenFiles;
    Inside inside;
    CollectedPaths* collected = nullptr;
    const std::atomic<bool>* cancel = nullptr;
    const WalkProgress* progress = nullptr;
    std::size_t found = 0;
};

bool Stopped(const std::atomic<bool>* cancel) {
    return cancel != nullptr && cancel->load(std::memory_order_relaxed);
}

// A cancel ends the listing of a folder, however many entries it holds; what
// was listed is then left unsorted.
std::vector<std::string> SortedNames(DIR* dir, const std::atomic<bool>* cancel) {
    std::vector<std::string> names;
    while (const dirent* entry = Stopped(cancel) ? nullptr : ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") {
            names.push_back(name);
        }
    }
    if (!Stopped(cancel)) {
        std::sort(names.begin(), names.end());
    }
    return names;
}

// Walks with explicit stacks, so that deep trees cannot exhaust the call stack.
// What is reached through a link is taken only after everything reached without
// one, so a file keeps its own path when a link inside the tree leads to it too;
// the order of the walk is fixed by sorting each folder's names.
void Walk(const Walked& root, WalkState& state, std::vector<PathEntry>& found) {
    std::vector<Walked> folders{root};
    std::vector<Walked> linkedFolders;
    std::vector<Walked> linkedFiles;
    while ((!folders.empty() || !linkedFolders.empty()) && !Stopped(state.cancel)) {
        std::vector<Walked>& from = folders.empty() ? linkedFolders : folders;
        const Walked folder = std::move(from.back());
        from.pop_back();
        if (!state.seenFolders.insert(folder.identity).second) {
            continue;
        }
        DIR* dir = ::opendir(folder.path.c_str());
        if (dir == nullptr) {
            found.push_back({folder.path, CannotOpenMessage(folder.path, std::strerror(errno))});
            continue;
        }
        const std::vector<std::string> names = SortedNames(dir, state.cancel);
        ::closedir(dir);
        std::vector<Walked> subfolders;
        for (const std::string& name : names) {
            if (Stopped(state.cancel)) {
                break;
            }
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
            if (S_ISDIR(info.st_mode) && !isLink) {
                subfolders.push_back(walked);
            } else if (S_ISDIR(info.st_mode)) {
                const std::optional<std::string> target = RealPath(path);
                if (target && state.inside.Holds(*target)) {
                    linkedFolders.push_back(walked);
                } else {
                    state.collected->linksLeft.push_back(
                        {path, "is a link to the folder " + target.value_or("?") +
                                   ", outside the folders given; it is not followed."});
                }
            } else if (IsCollected(name)) {
                if (isLink) {
                    linkedFiles.push_back(walked);
                } else if (state.seenFiles.insert(walked.identity).second) {
                    // Anything but a regular file is left to the reader to refuse.
                    found.push_back({path, {}});
                }
            }
        }
        // Reversed, so that the first name is walked first.
        folders.insert(folders.end(), subfolders.rbegin(), subfolders.rend());
        if (*state.progress) {
            (*state.progress)(state.found + found.size());
        }
    }
    for (const Walked& file : linkedFiles) {
        if (state.seenFiles.insert(file.identity).second) {
            found.push_back({file.path, {}});
        }
    }
}

}  // namespace

CollectedPaths CollectPaths(const std::vector<std::string>& arguments,
                            const std::atomic<bool>* cancel, const WalkProgress& progress) {
    CollectedPaths collected;
    WalkState state{{}, {}, {}, &collected, cancel, &progress, 0};
    // Every folder given is known before the first is walked: a link in one may
    // lead into another.
    std::vector<std::optional<Walked>> roots;
    for (const std::string& argument : arguments) {
        struct stat info {};
        if (::stat(argument.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
            state.inside.Add(argument);
            roots.push_back(Walked{argument, {info.st_dev, info.st_ino}});
        } else {
            roots.emplace_back();
        }
    }
    std::vector<PathEntry>& entries = collected.entries;
    for (std::size_t given = 0; given < arguments.size(); ++given) {
        if (!roots[given]) {
            // The reader reports a file that is missing or cannot be read.
            entries.push_back({arguments[given], {}});
            continue;
        }
        const Walked& root = *roots[given];
        if (state.seenFolders.count(root.identity) != 0) {
            continue;  // the same folder again, or one inside a folder already walked
        }
        std::vector<PathEntry> found;
        Walk(root, state, found);
        state.found += found.size();
        if (found.empty()) {
            collected.emptyFolders.push_back(root.path);
        }
        std::sort(found.begin(), found.end(),
                  [](const PathEntry& a, const PathEntry& b) { return a.path < b.path; });
        entries.insert(entries.end(), std::make_move_iterator(found.begin()),
                       std::make_move_iterator(found.end()));
    }
    return collected;
}

}  // namespace marrowick
