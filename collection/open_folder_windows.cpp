// TEMPORARY stand-in for the Windows folder walk, so that the window and its
// tests link for Windows until the real walk is written: no folder opens; a
// file named on its own is looked at for its identity and read as usual.
#include "open_folder.h"

#include <utility>

#include <windows.h>

#include "path_windows.h"

namespace marrowick {

OpenFolder OpenFolder::Given(const std::string&) {
    OpenFolder folder;
    folder.error_ = "Folders cannot be read on Windows yet.";
    return folder;
}
OpenFolder::OpenFolder(OpenFolder&& other) noexcept
    : handle_(std::exchange(other.handle_, -1)),
      identity_(other.identity_),
      error_(std::move(other.error_)),
      changed_(other.changed_) {}
OpenFolder& OpenFolder::operator=(OpenFolder&& other) noexcept {
    handle_ = std::exchange(other.handle_, -1);
    identity_ = other.identity_;
    error_ = std::move(other.error_);
    changed_ = other.changed_;
    return *this;
}
OpenFolder::~OpenFolder() = default;
void OpenFolder::Close() {
    handle_ = -1;
}
OpenFolder OpenFolder::Open(const std::string& name, bool) const {
    return Given(name);
}
std::vector<OpenFolder::Entry> OpenFolder::Read(bool (*)(const std::string&), std::string& error,
                                                const std::atomic<bool>*) const {
    error = error_;
    return {};
}
OpenFolder::Entry OpenFolder::Look(const std::string& name) const {
    return {name, Kind::Missing, {}, error_};
}
bool OpenFolder::Within(const std::set<FileIdentity>&) const {
    return false;
}
bool OpenFolder::LeadsInto(const Entry&, const std::set<FileIdentity>&) const {
    return false;
}
std::string OpenFolder::LinkTarget(const std::string&, const std::string&) const {
    return "?";
}

GivenPath LookAtGiven(const std::string& path) {
    const std::optional<SystemPath> system = ToSystemPath(path);
    if (!system || system->form != PathForm::kOrdinary) {
        return {};
    }
    HANDLE file =
        CreateFileW(system->path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return {};
    }
    BY_HANDLE_FILE_INFORMATION info{};
    const bool folder = GetFileInformationByHandle(file, &info) != 0 &&
                        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    const std::optional<FileIdentity> identity = IdentityOfHandle(file);
    CloseHandle(file);
    return {folder, identity};
}

}  // namespace marrowick
