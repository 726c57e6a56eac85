#include "open_folder.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <utility>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "cancel.h"
#include "path_posix.h"

namespace marrowick {
namespace {

// O_NONBLOCK and O_NOCTTY in case what is opened is not the folder asked for:
// a pipe must not be waited on, a terminal not taken.
constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY;
// As many links in a row as the system itself follows.
constexpr int kMostLinks = 40;

// A descriptor closed when it goes out of scope.
class Handle {
  public:
    explicit Handle(int fd) : fd_(fd) {}
    ~Handle() { Reset(-1); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    int get() const { return fd_; }
    int Release() { return std::exchange(fd_, -1); }
    void Reset(int fd) {
        if (fd_ >= 0) {
            ::close(fd_);
        }
        fd_ = fd;
    }

  private:
    int fd_;
};

std::optional<FileIdentity> IdentityOfOpen(int fd) {
    struct stat info {};
    return ::fstat(fd, &info) == 0 ? std::optional(IdentityOf(info)) : std::nullopt;
}

// Whether the folder open as `fd`, or a folder above it, is one of `folders`:
// climbs by ".." to the top of the file system, which is its own parent.
// Closes `fd`.
bool Climb(int fd, const std::set<FileIdentity>& folders) {
    Handle at(fd);
    std::optional<FileIdentity> here = IdentityOfOpen(at.get());
    while (here) {
        if (folders.count(*here) != 0) {
            return true;
        }
        at.Reset(::openat(at.get(), "..", kFolderFlags));
        const std::optional<FileIdentity> up =
            at.get() >= 0 ? IdentityOfOpen(at.get()) : std::nullopt;
        if (up == here) {
            return false;
        }
        here = up;
    }
    return false;
}

}  // namespace

OpenFolder OpenFolder::Given(const std::string& path) {
    OpenFolder folder;
    const PathEnd end(path);
    folder.handle_ = end.error() != 0 ? -1 : ::openat(end.folder(), end.name(), kFolderFlags);
    const int why = end.error() != 0 ? end.error() : errno;
    const std::optional<FileIdentity> identity =
        folder.ok() ? IdentityOfOpen(folder.handle_) : std::nullopt;
    if (!identity) {
        folder.Close();
        folder.error_ = std::strerror(why);
        return folder;
    }
    folder.identity_ = *identity;
    return folder;
}

void OpenFolder::Close() {
    if (handle_ >= 0) {
        ::close(handle_);
        handle_ = -1;
    }
}

OpenFolder OpenFolder::Open(const std::string& name, bool followLink) const {
    OpenFolder folder;
    folder.handle_ = ::openat(handle_, name.c_str(), kFolderFlags | (followLink ? 0 : O_NOFOLLOW));
    if (!folder.ok()) {
        // O_NOFOLLOW meets a link with ELOOP, or EMLINK on some systems.
        folder.changed_ = errno == ELOOP || errno == EMLINK || errno == ENOTDIR;
        folder.error_ = std::strerror(errno);
        return folder;
    }
    if (const std::optional<FileIdentity> identity = IdentityOfOpen(folder.handle_)) {
        folder.identity_ = *identity;
    } else {
        folder.error_ = std::strerror(errno);
        folder.Close();
    }
    return folder;
}

std::vector<OpenFolder::Entry> OpenFolder::Read(bool (*wanted)(const std::string&),
                                                std::string& error,
                                                const std::atomic<bool>* cancel) const {
    // A copy of the descriptor for the listing, which closes it; this one
    // stays open for what is opened from it.
    const int copy = ::fcntl(handle_, F_DUPFD_CLOEXEC, 0);
    struct CloseDir {
        void operator()(DIR* dir) const { ::closedir(dir); }
    };
    const std::unique_ptr<DIR, CloseDir> dir(copy >= 0 ? ::fdopendir(copy) : nullptr);
    if (!dir) {
        error = std::strerror(errno);
        if (copy >= 0) {
            ::close(copy);
        }
        return {};
    }
    ::rewinddir(dir.get());  // the copy shares its position with this one
    std::vector<Entry> entries;
    while (!Stopped(cancel)) {
        errno = 0;
        const dirent* found = ::readdir(dir.get());
        if (found == nullptr) {
            if (errno != 0) {
                error = std::strerror(errno);
            }
            return entries;
        }
        const std::string name = found->d_name;
        if (name == "." || name == "..") {
            continue;
        }
        if (found->d_type == DT_DIR) {
            entries.push_back({name, Kind::Folder, {}, {}});
        } else if (found->d_type == DT_LNK || found->d_type == DT_UNKNOWN || wanted(name)) {
            entries.push_back(Look(name));
        }
    }
    return entries;
}

OpenFolder::Entry OpenFolder::Look(const std::string& name) const {
    Entry entry{name, Kind::File, {}, {}};
    struct stat info {};
    if (::fstatat(handle_, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
        entry.kind = Kind::Missing;
        entry.error = std::strerror(errno);
        return entry;
    }
    if (S_ISLNK(info.st_mode)) {
        if (::fstatat(handle_, name.c_str(), &info, 0) != 0) {
            entry.kind = Kind::Missing;
            entry.error = std::strerror(errno);
            return entry;
        }
        entry.kind = S_ISDIR(info.st_mode) ? Kind::LinkToFolder : Kind::LinkToFile;
    } else if (S_ISDIR(info.st_mode)) {
        entry.kind = Kind::Folder;
    }
    entry.identity = IdentityOf(info);
    return entry;
}

bool OpenFolder::Within(const std::set<FileIdentity>& folders) const {
    return Climb(::fcntl(handle_, F_DUPFD_CLOEXEC, 0), folders);
}

bool OpenFolder::LeadsInto(const Entry& entry, const std::set<FileIdentity>& folders) const {
    if (entry.kind == Kind::LinkToFolder) {
        const OpenFolder target = Open(entry.name, true);
        return target.ok() && target.identity() == entry.identity && target.Within(folders);
    }
    // A file has no ".." to climb from: follow the links one by one to the
    // folder that holds the file itself.
    Handle folder(::fcntl(handle_, F_DUPFD_CLOEXEC, 0));
    std::string name = entry.name;
    for (int links = 0; folder.get() >= 0 && links <= kMostLinks; ++links) {
        char text[PATH_MAX];
        const ssize_t length = ::readlinkat(folder.get(), name.c_str(), text, sizeof text);
        if (length < 0) {
            struct stat info {};
            // EINVAL: not a link, so `name` is the file itself.
            return errno == EINVAL &&
                   ::fstatat(folder.get(), name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 &&
                   IdentityOf(info) == entry.identity && Climb(folder.Release(), folders);
        }
        const std::string target(text, static_cast<std::size_t>(length));
        const std::size_t slash = target.rfind('/');
        const std::string above = slash == std::string::npos ? "."
                                  : slash == 0               ? "/"
                                                             : target.substr(0, slash);
        name = slash == std::string::npos ? target : target.substr(slash + 1);
        if (static_cast<std::size_t>(length) == sizeof text || name.empty() || name == "." ||
            name == "..") {
            return false;  // cut short, or a folder after all
        }
        folder.Reset(::openat(folder.get(), above.c_str(), kFolderFlags));
    }
    return false;
}

std::string OpenFolder::LinkTarget(const std::string& name, const std::string& path) const {
    const std::unique_ptr<char, decltype(&std::free)> real(::realpath(path.c_str(), nullptr),
                                                           &std::free);
    if (real) {
        return real.get();
    }
    char text[PATH_MAX];
    const ssize_t length = ::readlinkat(handle_, name.c_str(), text, sizeof text);
    return length > 0 ? std::string(text, static_cast<std::size_t>(length)) : "?";
}

GivenPath LookAtGiven(const std::string& path) {
    const PathEnd end(path);
    struct stat info {};
    if (end.error() != 0 || ::fstatat(end.folder(), end.name(), &info, 0) != 0) {
        return {};
    }
    return {S_ISDIR(info.st_mode), IdentityOf(info)};
}

std::string JoinPath(const std::string& path, const std::string& name) {
    return path.empty() || path.back() == '/' ? path + name : path + '/' + name;
}

}  // namespace marrowick
