#include "collect_paths.h"

#include <algorithm>
#include <deque>
#include <set>
#include <utility>

#include "archive.h"
#include "cancel.h"
#include "messages.h"
#include "open_folder.h"

namespace marrowick {
namespace {

// Folders held open at once besides the one given: those nearest the walk's
// place. One further up is opened again, from the nearest still open, when the
// walk comes back to it; the process has other uses for its descriptors.
constexpr std::size_t kOpenFolders = 16;

// Object files, and the archives that hold them.
bool IsCollected(const std::string& name) {
    return HasIffExtension(name) || HasExtension(name, ".far");
}

struct WalkState {
    // The folders given, and each folder walked: all lie inside the folders
    // given, so a link's target is found inside as soon as its climb meets one.
    std::set<FileIdentity> inside;
    std::set<FileIdentity> seenFolders;
    std::set<FileIdentity> seenFiles;
    CollectedPaths* collected = nullptr;
    const std::atomic<bool>* cancel = nullptr;
    const WalkProgress* progress = nullptr;
    std::size_t found = 0;
};

// A folder met by the walk. Nodes live until the walk of the folder given ends,
// so each can be opened again from its parent.
struct Node {
    Node* parent = nullptr;  // none for the folder given
    std::string name;        // in its parent
    std::string path;
    bool linked = false;      // reached through a link, which is followed when it is opened
    FileIdentity identity{};  // once walked; before, a linked folder's as its link was looked at
    OpenFolder open{};        // closed while far from the walk's place
    std::uint64_t lastUse = 0;
};

// One folder given, walked with explicit stacks so that deep trees cannot
// exhaust the call stack. What is reached through a link is taken only after
// everything reached without one, so a file keeps its own path when a link
// inside the tree leads to it too; the order is fixed by sorting each folder's
// names.
class Walk {
  public:
    Walk(WalkState& state, std::vector<PathEntry>& found) : state_(state), found_(found) {}

    // Whether any name in the folder ends in .iff or .far.
    bool Run(const std::string& path, OpenFolder root) {
        nodes_.push_back({nullptr, {}, path, false, root.identity(), std::move(root)});
        folders_.push_back(&nodes_.back());
        while ((!folders_.empty() || !linkedFolders_.empty()) && !Stopped(state_.cancel)) {
            std::vector<Node*>& from = folders_.empty() ? linkedFolders_ : folders_;
            Node& node = *from.back();
            from.pop_back();
            if (Open(node)) {
                Read(node);
            }
        }
        for (const auto& [file, identity] : linkedFiles_) {
            if (state_.seenFiles.insert(identity).second) {
                found_.push_back({file, {}, identity});
            }
        }
        return named_;
    }

  private:
    void Fail(const Node& node, std::string message) {
        found_.push_back({node.path, std::move(message), {}, true});
    }

    // Opens a folder met in its parent's list, unless it was walked already.
    bool Open(Node& node) {
        if (node.parent != nullptr) {
            OpenFolder* parent = Reopen(*node.parent);
            if (parent == nullptr) {
                Fail(node, CannotOpenMessage(node.path,
                                             "the folder that holds it was replaced "
                                             "while the folders were read"));
                return false;
            }
            OpenFolder opened = parent->Open(node.name, node.linked);
            if (opened.changed()) {
                // No longer the folder, or the link to one, it was: taken as what it is now.
                std::vector<Node*> subfolders;
                Take(*node.parent, parent->Look(node.name), subfolders);
                folders_.insert(folders_.end(), subfolders.begin(), subfolders.end());
                return false;
            }
            if (!opened.ok()) {
                Fail(node, CannotOpenMessage(node.path, opened.error()));
                return false;
            }
            if (node.linked && opened.identity() != node.identity &&
                !opened.Within(state_.inside)) {
                LinkLeft(node.path, "folder", parent->LinkTarget(node.name, node.path));
                return false;
            }
            node.identity = opened.identity();
            node.open = std::move(opened);
        }
        if (!state_.seenFolders.insert(node.identity).second) {
            node.open.Close();
            return false;
        }
        state_.inside.insert(node.identity);
        if (node.parent != nullptr) {
            Keep(node);
        }
        return true;
    }

    // The folder open again, with every folder between it and the nearest one
    // still open, each checked to be the one walked before.
    OpenFolder* Reopen(Node& node) {
        std::vector<Node*> down;
        for (Node* at = &node; !at->open.ok(); at = at->parent) {
            down.push_back(at);  // the folder given is always open
        }
        for (auto at = down.rbegin(); at != down.rend(); ++at) {
            Node& closed = **at;
            OpenFolder opened = closed.parent->open.Open(closed.name, closed.linked);
            if (!opened.ok() || opened.identity() != closed.identity) {
                return nullptr;
            }
            closed.open = std::move(opened);
            Keep(closed);
        }
        node.lastUse = ++clock_;
        return &node.open;
    }

    void Keep(Node& node) {
        node.lastUse = ++clock_;
        open_.erase(std::remove(open_.begin(), open_.end(), &node), open_.end());
        open_.push_back(&node);
        if (open_.size() > kOpenFolders) {
            const auto oldest = std::min_element(
                open_.begin(), open_.end(),
                [](const Node* a, const Node* b) { return a->lastUse < b->lastUse; });
            (*oldest)->open.Close();
            open_.erase(oldest);
        }
    }

    void Read(Node& node) {
        std::string error;
        std::vector<OpenFolder::Entry> entries = node.open.Read(&IsCollected, error, state_.cancel);
        if (Stopped(state_.cancel)) {
            return;  // a cancel within a folder of many entries leaves it unsorted
        }
        std::sort(
            entries.begin(), entries.end(),
            [](const OpenFolder::Entry& a, const OpenFolder::Entry& b) { return a.name < b.name; });
        std::vector<Node*> subfolders;
        for (const OpenFolder::Entry& entry : entries) {
            if (Stopped(state_.cancel)) {
                return;
            }
            Take(node, entry, subfolders);
        }
        if (!error.empty()) {
            Fail(node,
                 "Could not read the folder \"" + node.path + "\" to its end: " + error + ".");
        }
        // Reversed, so that the first name is walked first.
        folders_.insert(folders_.end(), subfolders.rbegin(), subfolders.rend());
        if (*state_.progress) {
            (*state_.progress)(state_.found + found_.size());
        }
    }

    void Take(Node& folder, const OpenFolder::Entry& entry, std::vector<Node*>& subfolders) {
        const std::string path = JoinPath(folder.path, entry.name);
        const bool collected = IsCollected(entry.name);
        named_ = named_ || collected;
        switch (entry.kind) {
            case OpenFolder::Kind::Folder:
                subfolders.push_back(&nodes_.emplace_back(Node{&folder, entry.name, path}));
                break;
            case OpenFolder::Kind::LinkToFolder:
                if (folder.open.LeadsInto(entry, state_.inside)) {
                    linkedFolders_.push_back(&nodes_.emplace_back(
                        Node{&folder, entry.name, path, true, entry.identity}));
                } else {
                    LinkLeft(path, "folder", folder.open.LinkTarget(entry.name, path));
                }
                break;
            case OpenFolder::Kind::File:
                // Anything but a regular file is left to the reader to refuse.
                if (collected && state_.seenFiles.insert(entry.identity).second) {
                    found_.push_back({path, {}, entry.identity});
                }
                break;
            case OpenFolder::Kind::LinkToFile:
                if (!collected) {
                    break;
                }
                if (folder.open.LeadsInto(entry, state_.inside)) {
                    linkedFiles_.emplace_back(path, entry.identity);
                } else {
                    LinkLeft(path, "file", folder.open.LinkTarget(entry.name, path));
                }
                break;
            case OpenFolder::Kind::Missing:
                // A dangling link or a vanished entry matters only when it would
                // have been read.
                if (collected) {
                    found_.push_back({path, CannotOpenMessage(path, entry.error)});
                }
                break;
        }
    }

    void LinkLeft(const std::string& path, const char* what, const std::string& target) {
        state_.collected->linksLeft.push_back(
            {path, "is a link to the " + std::string(what) + " " + target +
                       ", outside the folders given; it is not followed."});
    }

    WalkState& state_;
    std::vector<PathEntry>& found_;
    std::deque<Node> nodes_;  // a deque keeps each node in place as more are added
    std::vector<Node*> folders_;
    std::vector<Node*> linkedFolders_;
    std::vector<std::pair<std::string, FileIdentity>> linkedFiles_;
    std::vector<Node*> open_;  // the nodes held open, the folder given aside
    std::uint64_t clock_ = 0;
    bool named_ = false;
};

}  // namespace

CollectedPaths CollectPaths(const std::vector<std::string>& arguments,
                            const std::atomic<bool>* cancel, const WalkProgress& progress) {
    CollectedPaths collected;
    WalkState state{{}, {}, {}, &collected, cancel, &progress, 0};
    // Every folder given is known before the first is walked: a link in one may
    // lead into another.
    std::vector<GivenPath> given;
    for (const std::string& argument : arguments) {
        given.push_back(LookAtGiven(argument));
        if (given.back().folder) {
            state.inside.insert(*given.back().identity);
        }
    }
    std::vector<PathEntry>& entries = collected.entries;
    for (std::size_t g = 0; g < arguments.size(); ++g) {
        const std::string& path = arguments[g];
        if (!given[g].folder) {
            // The reader reports a file that is missing or cannot be read.
            if (!given[g].identity || state.seenFiles.insert(*given[g].identity).second) {
                entries.push_back({path, {}});
            }
            continue;
        }
        if (state.seenFolders.count(*given[g].identity) != 0) {
            continue;  // the same folder again, or one inside a folder already walked
        }
        OpenFolder root = OpenFolder::Given(path);
        if (!root.ok()) {
            entries.push_back({path, CannotOpenMessage(path, root.error()), {}, true});
            continue;
        }
        std::vector<PathEntry> found;
        const bool named = Walk(state, found).Run(path, std::move(root));
        state.found += found.size();
        if (found.empty() && !named) {
            collected.emptyFolders.push_back(path);
        }
        std::sort(found.begin(), found.end(),
                  [](const PathEntry& a, const PathEntry& b) { return a.path < b.path; });
        entries.insert(entries.end(), std::make_move_iterator(found.begin()),
                       std::make_move_iterator(found.end()));
    }
    return collected;
}

}  // namespace marrowick
