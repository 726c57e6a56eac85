// The walk's open folders on Windows. A folder is a handle; what is in it is
// opened relative to that handle (NtCreateFile with a root directory), never
// by a path that may since lead elsewhere. Symbolic links and junctions are
// links; a reparse point of any other kind (cloud placeholders, deduplicated
// files) is the file or folder it stands for.
#include "open_folder.h"

#include <cerrno>
#include <cstring>
#include <utility>

#include <fcntl.h>
#include <io.h>
#include <windows.h>
// After <windows.h>, which they need.
#include <winioctl.h>
#include <winternl.h>

#include "cancel.h"
#include "path_windows.h"
#include "system_error_windows.h"

// Exported by ntdll but not declared by mingw-w64's headers.
extern "C" NTSTATUS NTAPI NtQueryAttributesFile(POBJECT_ATTRIBUTES attributes,
                                                FILE_BASIC_INFORMATION* information);

namespace marrowick {
namespace {

constexpr ULONG kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
constexpr ACCESS_MASK kFolderAccess = FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES | SYNCHRONIZE;
constexpr ACCESS_MASK kLookAccess = FILE_READ_ATTRIBUTES | SYNCHRONIZE;

HANDLE HandleOf(int fd) {
    return reinterpret_cast<HANDLE>(_get_osfhandle(fd));
}

// A handle closed when it goes out of scope.
class Handle {
  public:
    explicit Handle(HANDLE handle = INVALID_HANDLE_VALUE) : handle_(handle) {}
    ~Handle() { Reset(); }
    Handle(Handle&& other) noexcept : handle_(other.Release()) {}
    Handle& operator=(Handle&& other) noexcept {
        Reset(other.Release());
        return *this;
    }
    bool ok() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return handle_; }
    HANDLE Release() { return std::exchange(handle_, INVALID_HANDLE_VALUE); }
    void Reset(HANDLE handle = INVALID_HANDLE_VALUE) {
        if (ok()) {
            CloseHandle(handle_);
        }
        handle_ = handle;
    }

  private:
    HANDLE handle_;
};

// The attributes of a name, and its reparse tag when it is a reparse point.
struct Attributes {
    DWORD attributes = 0;
    DWORD tag = 0;
    bool Folder() const { return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
    // Wine shows a host link to a folder as a reparse point with no tag.
    bool Link() const {
        return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 &&
               (tag == IO_REPARSE_TAG_SYMLINK || tag == IO_REPARSE_TAG_MOUNT_POINT || tag == 0);
    }
};

// The name `name` in `folder`, for the system's relative calls.
struct RelativeName {
    RelativeName(HANDLE folder, const std::wstring& name) {
        text.Buffer = const_cast<PWSTR>(name.c_str());
        text.Length = static_cast<USHORT>(std::min<std::size_t>(name.size() * 2, 0xFFFE));
        text.MaximumLength = text.Length;
        attributes.Length = sizeof attributes;
        attributes.RootDirectory = folder;
        attributes.ObjectName = &text;
        attributes.Attributes = OBJ_CASE_INSENSITIVE;  // as CreateFileW opens
    }
    RelativeName(const RelativeName&) = delete;
    RelativeName& operator=(const RelativeName&) = delete;
    UNICODE_STRING text{};
    OBJECT_ATTRIBUTES attributes{};
};

std::string StatusText(NTSTATUS status) {
    return WindowsErrorText(RtlNtStatusToDosError(status));
}

// Opens `name` in `folder`; `options` adds FILE_DIRECTORY_FILE or
// FILE_OPEN_REPARSE_POINT. On failure the handle is not ok and `status` says why.
Handle OpenIn(HANDLE folder, const std::string& name, ACCESS_MASK access, ULONG options,
              NTSTATUS& status) {
    const std::optional<std::wstring> wide = ToSystemName(name);
    if (!wide || wide->empty() || wide->find_first_of(L"\\/") != std::wstring::npos) {
        status = static_cast<NTSTATUS>(0xC0000034L);  // STATUS_OBJECT_NAME_NOT_FOUND
        return Handle();
    }
    RelativeName relative(folder, *wide);
    IO_STATUS_BLOCK io{};
    HANDLE handle = INVALID_HANDLE_VALUE;
    status = NtCreateFile(&handle, access, &relative.attributes, &io, nullptr, 0, kShareAll,
                          FILE_OPEN, options | FILE_SYNCHRONOUS_IO_NONALERT, nullptr, 0);
    return Handle(status >= 0 ? handle : INVALID_HANDLE_VALUE);
}

// The attributes and tag an open handle shows: the link's own when it was
// opened with FILE_OPEN_REPARSE_POINT (Windows; wine follows links regardless).
Attributes AttributesOfHandle(HANDLE handle) {
    FILE_ATTRIBUTE_TAG_INFO info{};
    if (!GetFileInformationByHandleEx(handle, FileAttributeTagInfo, &info, sizeof info)) {
        return {};
    }
    return {info.FileAttributes, info.ReparseTag};
}

// The attributes of `name` in `folder` itself, a link not followed; wine's too.
std::optional<DWORD> OwnAttributes(HANDLE folder, const std::string& name, NTSTATUS& status) {
    const std::optional<std::wstring> wide = ToSystemName(name);
    if (!wide) {
        status = static_cast<NTSTATUS>(0xC0000034L);
        return std::nullopt;
    }
    RelativeName relative(folder, *wide);
    FILE_BASIC_INFORMATION info{};
    status = NtQueryAttributesFile(&relative.attributes, &info);
    return status >= 0 ? std::optional(info.FileAttributes) : std::nullopt;
}

// The path the system resolves an open handle to, every link followed, in the
// \\?\ form; empty when it cannot tell.
std::wstring FinalPath(HANDLE handle) {
    for (const DWORD volume : {DWORD{VOLUME_NAME_DOS}, DWORD{VOLUME_NAME_GUID}}) {
        std::wstring path(MAX_PATH, L'\0');
        for (int tries = 0; tries < 2; ++tries) {
            const DWORD length =
                GetFinalPathNameByHandleW(handle, path.data(), static_cast<DWORD>(path.size()),
                                          DWORD{FILE_NAME_NORMALIZED} | volume);
            if (length == 0) {
                break;
            }
            if (length < path.size()) {
                path.resize(length);
                return path;
            }
            path.resize(length);  // the size asked for, its closing zero counted
        }
    }
    return {};
}

// The folder that holds what `path` (as FinalPath gives it) names; empty at a
// volume's top, which has none.
std::wstring Above(const std::wstring& path) {
    // The top of the volume: \\?\C:\, \\?\UNC\server\share\, \\?\Volume{...}\.
    std::size_t top = path.rfind(L"\\\\?\\", 0) == 0 ? 4 : 0;
    const bool unc = path.compare(top, 4, L"UNC\\") == 0;
    top += unc ? 4 : 0;
    for (int pieces = unc ? 2 : 1; pieces > 0 && top != std::wstring::npos; --pieces) {
        top = path.find(L'\\', top);
        top = top == std::wstring::npos ? top : top + 1;
    }
    if (top == std::wstring::npos || path.size() <= top) {
        return {};
    }
    const std::size_t cut = path.find_last_of(L'\\');
    return path.substr(0, std::max(cut, top));  // the top keeps its '\'
}

// Whether the folder at `path` (as FinalPath gives it), or a folder above it,
// is one of `folders`.
bool Climb(std::wstring path, const std::set<FileIdentity>& folders) {
    for (; !path.empty(); path = Above(path)) {
        const Handle at(CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        const std::optional<FileIdentity> identity =
            at.ok() ? IdentityOfHandle(at.get()) : std::nullopt;
        if (!identity) {
            return false;
        }
        if (folders.count(*identity) != 0) {
            return true;
        }
    }
    return false;
}

// A path from FinalPath as people write it: without \\?\ when it is short enough
// to be taken without.
std::string Shown(const std::wstring& path) {
    if (path.rfind(L"\\\\?\\UNC\\", 0) == 0 && path.size() - 6 < MAX_PATH) {
        return FromSystemName(L"\\" + path.substr(7));
    }
    if (path.rfind(L"\\\\?\\", 0) == 0 && path.size() > 6 && path[5] == L':' &&
        path.size() - 4 < MAX_PATH) {
        return FromSystemName(path.substr(4));
    }
    return FromSystemName(path);
}

// A 16-bit little-endian field of reparse data.
unsigned Field16(const unsigned char* data, std::size_t at) {
    return data[at] | static_cast<unsigned>(data[at + 1]) << 8;
}

// What a symbolic link or junction says it leads to, as written when it was
// made: its name for people, else the system's name for the target.
std::string LinkText(HANDLE link) {
    alignas(8) unsigned char data[MAXIMUM_REPARSE_DATA_BUFFER_SIZE];
    DWORD size = 0;
    if (!DeviceIoControl(link, FSCTL_GET_REPARSE_POINT, nullptr, 0, data, sizeof data, &size,
                         nullptr) ||
        size < 16) {
        return {};
    }
    DWORD tag = 0;
    std::memcpy(&tag, data, sizeof tag);
    // The names follow the header (8 bytes), four offsets and lengths, and a
    // symbolic link's flags.
    const std::size_t names = tag == IO_REPARSE_TAG_MOUNT_POINT ? 16
                              : tag == IO_REPARSE_TAG_SYMLINK   ? 20
                                                                : size;
    for (const std::size_t field : {12u, 8u}) {  // the print name, then the substitute
        const std::size_t offset = Field16(data, field), length = Field16(data, field + 2);
        if (names + offset + length > size || length == 0) {
            continue;
        }
        std::wstring name(length / 2, L'\0');
        std::memcpy(name.data(), data + names + offset, length / 2 * 2);
        if (name.rfind(L"\\??\\", 0) == 0) {
            name.erase(0, 4);
        }
        return FromSystemName(name);
    }
    return {};
}

}  // namespace

OpenFolder OpenFolder::Given(const std::string& path) {
    OpenFolder folder;
    const std::optional<SystemPath> name = ToSystemPath(path);
    if (!name || name->form != PathForm::kOrdinary) {
        folder.error_ = ErrnoText(name ? ENOTDIR : ENOENT);
        return folder;
    }
    Handle handle(CreateFileW(name->path.c_str(), kFolderAccess, kShareAll, nullptr, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!handle.ok() || !GetFileInformationByHandle(handle.get(), &info)) {
        folder.error_ = WindowsErrorText(GetLastError());
        return folder;
    }
    if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        folder.error_ = ErrnoText(ENOTDIR);
        return folder;
    }
    folder.handle_ = _open_osfhandle(reinterpret_cast<intptr_t>(handle.get()), _O_RDONLY);
    if (!folder.ok()) {
        folder.error_ = ErrnoText(EMFILE);
        return folder;
    }
    handle.Release();
    folder.identity_ = *IdentityOfHandle(HandleOf(folder.handle_));
    return folder;
}

void OpenFolder::Close() {
    if (handle_ >= 0) {
        _close(handle_);  // closes the handle too
        handle_ = -1;
    }
}

OpenFolder OpenFolder::Open(const std::string& name, bool followLink) const {
    OpenFolder folder;
    const HANDLE here = HandleOf(handle_);
    NTSTATUS status = 0;
    Handle opened =
        OpenIn(here, name, kFolderAccess,
               FILE_DIRECTORY_FILE | (followLink ? 0 : FILE_OPEN_REPARSE_POINT), status);
    if (!opened.ok()) {
        folder.changed_ = RtlNtStatusToDosError(status) == ERROR_DIRECTORY;
        folder.error_ = StatusText(status);
        return folder;
    }
    if (!followLink) {
        const Attributes kind = AttributesOfHandle(opened.get());
        const std::optional<DWORD> own = OwnAttributes(here, name, status);
        // A link now, shown by its tag on Windows; by its own attributes on
        // wine, which followed it.
        if (kind.Link() || ((kind.attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0 && own &&
                            Attributes{*own}.Link())) {
            folder.changed_ = true;
            folder.error_ = ErrnoText(ELOOP);
            return folder;
        }
        if ((kind.attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
            // Another kind of reparse point: opened as what it stands for, so
            // that its file system serves its listing.
            const std::optional<FileIdentity> point = IdentityOfHandle(opened.get());
            opened = OpenIn(here, name, kFolderAccess, FILE_DIRECTORY_FILE, status);
            if (!opened.ok() || IdentityOfHandle(opened.get()) != point) {
                folder.changed_ = true;
                folder.error_ = opened.ok() ? ErrnoText(ELOOP) : StatusText(status);
                return folder;
            }
        }
    }
    const std::optional<FileIdentity> identity = IdentityOfHandle(opened.get());
    if (!identity) {
        folder.error_ = WindowsErrorText(GetLastError());
        return folder;
    }
    folder.handle_ = _open_osfhandle(reinterpret_cast<intptr_t>(opened.get()), _O_RDONLY);
    if (!folder.ok()) {
        folder.error_ = ErrnoText(EMFILE);
        return folder;
    }
    opened.Release();
    folder.identity_ = *identity;
    return folder;
}

namespace {

// An entry of a listing, the attributes and tag it was listed with.
OpenFolder::Entry Examine(HANDLE folder, const std::string& name, const Attributes& kind) {
    using Entry = OpenFolder::Entry;
    const bool link = kind.Link();
    NTSTATUS status = 0;
    const Handle opened =
        OpenIn(folder, name, kLookAccess, link ? 0 : FILE_OPEN_REPARSE_POINT, status);
    BY_HANDLE_FILE_INFORMATION info{};
    if (!opened.ok() || !GetFileInformationByHandle(opened.get(), &info)) {
        return {name,
                OpenFolder::Kind::Missing,
                {},
                opened.ok() ? WindowsErrorText(GetLastError()) : StatusText(status)};
    }
    const bool folderNow = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    Entry entry{name, OpenFolder::Kind::File, *IdentityOfHandle(opened.get()), {}};
    if (link) {
        entry.kind = folderNow ? OpenFolder::Kind::LinkToFolder : OpenFolder::Kind::LinkToFile;
    } else if (folderNow) {
        entry.kind = OpenFolder::Kind::Folder;
    }
    return entry;
}

}  // namespace

std::vector<OpenFolder::Entry> OpenFolder::Read(bool (*wanted)(const std::string&),
                                                std::string& error,
                                                const std::atomic<bool>* cancel) const {
    // FileFullDirectoryInfo, which every file system lists, rather than a
    // listing with file ids: each entry's identity comes from opening it, as
    // the reader's check of it does.
    const HANDLE here = HandleOf(handle_);
    std::vector<Entry> entries;
    alignas(8) static thread_local unsigned char listing[64 * 1024];
    for (auto which = FileFullDirectoryRestartInfo; !Stopped(cancel);
         which = FileFullDirectoryInfo) {
        if (!GetFileInformationByHandleEx(here, which, listing, sizeof listing)) {
            if (const DWORD why = GetLastError(); why != ERROR_NO_MORE_FILES) {
                error = WindowsErrorText(why);
            }
            return entries;
        }
        for (std::size_t at = 0;;) {
            const auto* found = reinterpret_cast<const FILE_FULL_DIR_INFO*>(listing + at);
            const std::string name =
                FromSystemName(std::wstring_view(found->FileName, found->FileNameLength / 2));
            // For a reparse point, the size of its extended attributes is its tag.
            const Attributes kind{
                found->FileAttributes,
                (found->FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 ? found->EaSize : 0};
            if (Stopped(cancel)) {
                return entries;
            }
            if (name == "." || name == "..") {
            } else if (kind.Folder() && !kind.Link()) {
                entries.push_back({name, Kind::Folder, {}, {}});
            } else if (kind.Link() || wanted(name)) {
                entries.push_back(Examine(here, name, kind));
            }
            if (found->NextEntryOffset == 0) {
                break;
            }
            at += found->NextEntryOffset;
        }
    }
    return entries;
}

OpenFolder::Entry OpenFolder::Look(const std::string& name) const {
    const HANDLE here = HandleOf(handle_);
    NTSTATUS status = 0;
    const std::optional<DWORD> own = OwnAttributes(here, name, status);
    if (!own) {
        return {name, Kind::Missing, {}, StatusText(status)};
    }
    Attributes kind{*own};
    if ((*own & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        const Handle point = OpenIn(here, name, kLookAccess, FILE_OPEN_REPARSE_POINT, status);
        kind.tag = point.ok() ? AttributesOfHandle(point.get()).tag : 0;
    }
    return Examine(here, name, kind);
}

bool OpenFolder::Within(const std::set<FileIdentity>& folders) const {
    return folders.count(identity_) != 0 || Climb(FinalPath(HandleOf(handle_)), folders);
}

bool OpenFolder::LeadsInto(const Entry& entry, const std::set<FileIdentity>& folders) const {
    if (entry.kind == Kind::LinkToFolder) {
        const OpenFolder target = Open(entry.name, true);
        return target.ok() && target.identity() == entry.identity && target.Within(folders);
    }
    // The system resolves every link on the way: the folder that holds the
    // file itself is above its final path.
    NTSTATUS status = 0;
    const Handle file = OpenIn(HandleOf(handle_), entry.name, kLookAccess, 0, status);
    return file.ok() && IdentityOfHandle(file.get()) == entry.identity &&
           Climb(Above(FinalPath(file.get())), folders);
}

std::string OpenFolder::LinkTarget(const std::string& name, const std::string&) const {
    NTSTATUS status = 0;
    const HANDLE here = HandleOf(handle_);
    if (const Handle target = OpenIn(here, name, kLookAccess, 0, status); target.ok()) {
        if (const std::wstring path = FinalPath(target.get()); !path.empty()) {
            return Shown(path);
        }
    }
    const Handle link = OpenIn(here, name, kLookAccess, FILE_OPEN_REPARSE_POINT, status);
    const std::string text = link.ok() ? LinkText(link.get()) : std::string();
    return text.empty() ? "?" : text;
}

GivenPath LookAtGiven(const std::string& path) {
    const std::optional<SystemPath> name = ToSystemPath(path);
    if (!name || name->form != PathForm::kOrdinary) {
        return {};  // a device is not opened, not even to look at it
    }
    // Reading attributes only: a file that another program holds unshared is
    // still looked at, and nothing is done to it.
    const Handle handle(CreateFileW(name->path.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!handle.ok() || !GetFileInformationByHandle(handle.get(), &info)) {
        return {};
    }
    return {(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
            IdentityOfHandle(handle.get())};
}

// Paths are shown in the user's own style: a name is added after the
// separator the folder's path uses last, '/' or '\' (Windows' own when it has
// none). A path that ends in either, or a drive's current folder ("C:"),
// takes the name as it is.
std::string JoinPath(const std::string& path, const std::string& name) {
    if (path.empty() || path.back() == '/' || path.back() == '\\' || path.back() == ':') {
        return path + name;
    }
    const std::size_t last = path.find_last_of("/\\");
    return path + (last != std::string::npos ? path[last] : '\\') + name;
}

}  // namespace marrowick
