// POSIX only: paths of any length, and the identity of what stat describes.
// The reader and the folder walk open files and folders through these.
#pragma once

#include <string>

#include <sys/stat.h>

#include "file_identity.h"

namespace marrowick {

inline FileIdentity IdentityOf(const struct stat& info) {
    return {static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)};
}

// The folder that holds the last piece of a path, open, and that piece. A path
// the system takes whole stays whole, relative to the working folder; a longer
// one, which the system refuses, has its folders opened a piece at a time, each
// relative to the one before, so a path has no length limit.
class PathEnd {
  public:
    explicit PathEnd(const std::string& path);
    ~PathEnd();
    PathEnd(const PathEnd&) = delete;
    PathEnd& operator=(const PathEnd&) = delete;

    // The errno of a folder on the way that could not be opened, or 0.
    int error() const { return error_; }
    int folder() const { return folder_; }
    const char* name() const { return name_.c_str(); }

  private:
    int folder_;
    std::string name_;
    int error_ = 0;
};

}  // namespace marrowick
