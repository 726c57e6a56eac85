#include <cstdlib>
#include <stdexcept>
#include <utility>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "test_system.h"

namespace marrowick::test {

int ProcessId() {
    return static_cast<int>(::getpid());
}

bool MakeNamedPipe(const std::string& path) {
    return ::mkfifo(path.c_str(), 0600) == 0;
}

bool RunningAsRoot() {
    return ::geteuid() == 0;
}

std::string MakeTemporaryFolder(const std::string& prefix) {
    std::string path = (std::filesystem::temp_directory_path() / (prefix + "XXXXXX")).string();
    if (::mkdtemp(path.data()) == nullptr) {
        throw std::runtime_error("mkdtemp " + path);
    }
    return path + "/";
}

bool MakeFolderLink(const std::string& target, const std::string& link, std::string& why) {
    std::error_code error;
    std::filesystem::create_directory_symlink(target, link, error);
    why = error.message();
    return !error;
}

void RemoveFolderLink(const std::string& link) {
    std::error_code ignored;
    std::filesystem::remove(link, ignored);
}

// Through descriptors, each folder opened relative to the one above it: the
// path is past PATH_MAX.
void MakeDeepFolders(const std::string& root, const std::string& name, int levels,
                     const std::vector<std::uint8_t>& bytes) {
    int folder = ::open(root.c_str(), O_RDONLY | O_DIRECTORY);
    for (int level = 0; level < levels; ++level) {
        ::mkdirat(folder, name.c_str(), 0755);
        const int next = ::openat(folder, name.c_str(), O_RDONLY | O_DIRECTORY);
        ::close(std::exchange(folder, next));
    }
    const int file = ::openat(folder, "bottom.iff", O_WRONLY | O_CREAT, 0644);
    if (::write(file, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) {
        std::abort();
    }
    ::close(file);
    ::close(folder);
}

namespace {

// Empties the folder open as `folder`, and closes it: through descriptors, each
// folder opened relative to the one above it, so that no path is too long.
void Empty(int folder) {
    DIR* const entries = ::fdopendir(folder);
    for (const dirent* entry; entries != nullptr && (entry = ::readdir(entries)) != nullptr;) {
        const std::string name = entry->d_name;
        if (name != "." && name != ".." && ::unlinkat(folder, name.c_str(), 0) != 0) {
            if (const int inner =
                    ::openat(folder, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW);
                inner >= 0) {
                Empty(inner);
            }
            ::unlinkat(folder, name.c_str(), AT_REMOVEDIR);
        }
    }
    entries != nullptr ? static_cast<void>(::closedir(entries))
                       : static_cast<void>(::close(folder));
}

}  // namespace

void RemoveTree(const std::string& folder) {
    if (const int open = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW); open >= 0) {
        Empty(open);
    }
    ::rmdir(folder.c_str());
}

}  // namespace marrowick::test
