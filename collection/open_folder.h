// A folder held open by the collection walk, which reads it and opens what is
// in it relative to it, never by a path that may since lead elsewhere. The walk
// is the same on every system; this is the part each system has its own of.
#pragma once

#include <atomic>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "file_identity.h"

namespace marrowick {

class OpenFolder {
  public:
    enum class Kind {
        Folder,
        File,  // anything else that is not a link; the reader refuses devices and pipes
        LinkToFolder,
        LinkToFile,  // a link to anything but a folder
        Missing,     // a link to nothing, or gone since its folder was read
    };
    struct Entry {
        std::string name;
        Kind kind = Kind::File;
        FileIdentity identity;  // of what it names, links followed; not looked up for a Folder
        std::string error;      // why it is Missing (UTF-8)
    };

    OpenFolder() = default;
    // A folder the user named: links are followed, however long the path.
    static OpenFolder Given(const std::string& path);
    OpenFolder(OpenFolder&& other) noexcept;
    OpenFolder& operator=(OpenFolder&& other) noexcept;
    ~OpenFolder();

    bool ok() const { return handle_ >= 0; }
    const std::string& error() const { return error_; }  // why it could not be opened (UTF-8)
    // It was not opened because it is no longer a folder, or now a link where
    // none was to be followed: the walk looks at it again as what it is now.
    bool changed() const { return changed_; }
    FileIdentity identity() const { return identity_; }
    void Close();

    // The folder `name` in this one; a link there is followed only with `followLink`.
    OpenFolder Open(const std::string& name, bool followLink) const;
    // Every entry but "." and ".."; an entry that is neither a folder nor a
    // link, and whose name `wanted` refuses, is left out without a look at it.
    // A listing cut short by an error keeps what was read and sets `error`;
    // setting `cancel` ends it at the next entry.
    std::vector<Entry> Read(bool (*wanted)(const std::string&), std::string& error,
                            const std::atomic<bool>* cancel) const;
    Entry Look(const std::string& name) const;
    // Whether this folder is one of `folders` (identities) or lies inside one.
    bool Within(const std::set<FileIdentity>& folders) const;
    // Whether the link `entry` leads to what it named when it was looked at,
    // in a folder that lies inside one of `folders`.
    bool LeadsInto(const Entry& entry, const std::set<FileIdentity>& folders) const;
    // Where the link `name`, at `path`, leads, for people: the path with every
    // link resolved when it can be had, else the link's own text.
    std::string LinkTarget(const std::string& name, const std::string& path) const;

  private:
    int handle_ = -1;
    FileIdentity identity_;
    std::string error_;
    bool changed_ = false;
};

// A path the user named, links followed: whether it is a folder, and which
// file it is; nothing when it cannot be looked at (the reader then says why).
struct GivenPath {
    bool folder = false;
    std::optional<FileIdentity> identity;
};
GivenPath LookAtGiven(const std::string& path);

// The path of `name` in the folder at `path`, as the walk shows it.
std::string JoinPath(const std::string& path, const std::string& name);

}  // namespace marrowick
