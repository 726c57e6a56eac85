#include "path_posix.h"

#include <cerrno>
#include <climits>

#include <fcntl.h>
#include <unistd.h>

namespace marrowick {

PathEnd::PathEnd(const std::string& path) : folder_(AT_FDCWD), name_(path) {
    constexpr std::size_t kLongest = PATH_MAX - 1;  // PATH_MAX counts the closing zero
    while (name_.size() > kLongest) {
        // No name is longer than a few hundred bytes, so a '/' always lies
        // within reach; "//" is one '/'.
        const std::size_t cut = name_.rfind('/', kLongest - 1);
        if (cut == std::string::npos) {
            error_ = ENAMETOOLONG;
            return;
        }
        const std::string piece = cut == 0 ? "/" : name_.substr(0, cut);
        const int next = ::openat(folder_, piece.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        const int why = errno;
        if (folder_ != AT_FDCWD) {
            ::close(folder_);
        }
        if (next < 0) {
            folder_ = AT_FDCWD;
            error_ = why;
            return;
        }
        folder_ = next;
        const std::size_t rest = name_.find_first_not_of('/', cut);
        name_ = rest == std::string::npos ? "." : name_.substr(rest);
    }
}

PathEnd::~PathEnd() {
    if (folder_ != AT_FDCWD) {
        ::close(folder_);
    }
}

}  // namespace marrowick
