// What an open folder is on every system: a handle that moves and closes.
#include "open_folder.h"

#include <utility>

namespace marrowick {

OpenFolder::OpenFolder(OpenFolder&& other) noexcept
    : handle_(std::exchange(other.handle_, -1)),
      identity_(other.identity_),
      error_(std::move(other.error_)),
      changed_(other.changed_) {}

OpenFolder& OpenFolder::operator=(OpenFolder&& other) noexcept {
    if (this != &other) {
        Close();
        handle_ = std::exchange(other.handle_, -1);
        identity_ = other.identity_;
        error_ = std::move(other.error_);
        changed_ = other.changed_;
    }
    return *this;
}

OpenFolder::~OpenFolder() {
    Close();
}

}  // namespace marrowick
