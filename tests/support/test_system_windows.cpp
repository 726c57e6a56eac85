#include <algorithm>
#include <cstdint>
#include <vector>

#include <process.h>
#include <windows.h>
// After <windows.h>, which it needs.
#include <winioctl.h>

#include "test_system.h"

namespace marrowick::test {
namespace {

// An absolute path in the \\?\ form, which takes any length.
std::wstring LongForm(const std::string& path) {
    std::wstring full(32768, L'\0');
    const DWORD length = GetFullPathNameW(FsPath(path).wstring().c_str(),
                                          static_cast<DWORD>(full.size()), full.data(), nullptr);
    full.resize(length);
    while (full.size() > 3 && full.back() == L'\\') {
        full.pop_back();  // a folder's path may be given with its separator
    }
    return L"\\\\?\\" + full;
}

// A junction: a folder holding a mount point's reparse data.
DWORD MakeJunction(const std::wstring& target, const std::wstring& link) {
    if (!CreateDirectoryW(link.c_str(), nullptr)) {
        return GetLastError();
    }
    const HANDLE folder =
        CreateFileW(link.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                    FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    // The header (tag, size), where the system's name for the target and the
    // name for people are, then the two, each closed by a zero.
    const std::wstring names = L"\\??\\" + target + L'\0' + target + L'\0';
    const auto bytes = [](std::size_t characters) { return static_cast<WORD>(characters * 2); };
    std::vector<WORD> data{0x0003,
                           0xA000,
                           bytes(names.size() + 4),
                           0,
                           0,
                           bytes(target.size() + 4),
                           bytes(target.size() + 5),
                           bytes(target.size())};  // IO_REPARSE_TAG_MOUNT_POINT, in halves
    data.insert(data.end(), names.begin(), names.end());
    DWORD ignored = 0;
    const bool made =
        folder != INVALID_HANDLE_VALUE &&
        DeviceIoControl(folder, FSCTL_SET_REPARSE_POINT, data.data(),
                        static_cast<DWORD>(data.size() * 2), nullptr, 0, &ignored, nullptr);
    const DWORD error = made ? 0 : GetLastError();
    if (folder != INVALID_HANDLE_VALUE) {
        CloseHandle(folder);
    }
    if (!made) {
        RemoveDirectoryW(link.c_str());
    }
    return error;
}

// Under wine, the host's name for a path, with '/' as on the host; empty
// elsewhere.
std::wstring UnixName(const std::wstring& path) {
    using Converter = char*(CDECL*)(LPCWSTR);
    const auto convert = reinterpret_cast<Converter>(reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandleW(L"kernel32"), "wine_get_unix_file_name")));
    char* const name = convert != nullptr ? convert(path.c_str()) : nullptr;
    std::wstring wide = name != nullptr ? FsPath(name).wstring() : std::wstring();
    std::replace(wide.begin(), wide.end(), L'\\', L'/');
    HeapFree(GetProcessHeap(), 0, name);
    return wide;
}

// Under wine, runs a host program, which wine starts as it starts its own but
// does not let be waited on, and waits up to five seconds for `done`.
template <typename Done>
bool RunOnHost(const std::wstring& program, const std::vector<std::wstring>& arguments, Done done) {
    std::wstring line = program;
    for (const std::wstring& argument : arguments) {
        line += L" \"" + argument + L"\"";  // a host path: no quotes in it, no '\\' at its end
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                       &startup, &process)) {
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    for (int tries = 0; tries < 500 && !done(); ++tries) {
        Sleep(10);
    }
    return done();
}

// A folder's tree in the \\?\ form; a junction or link in it is removed, not
// followed.
void RemoveWide(const std::wstring& folder) {
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileW(search, &found)) {
        const std::wstring name = found.cFileName, path = folder + L"\\" + name;
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
            DeleteFileW(path.c_str());
        } else if ((found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
            RemoveDirectoryW(path.c_str());
        } else if (name != L"." && name != L"..") {
            RemoveWide(path);
        }
    }
    if (search != INVALID_HANDLE_VALUE) {
        FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());
}

}  // namespace

void RemoveTree(const std::string& folder) {
    RemoveWide(LongForm(folder));
}

int ProcessId() {
    return _getpid();
}

bool MakeNamedPipe(const std::string&) {
    return false;
}

bool RunningAsRoot() {
    return false;
}

std::string MakeTemporaryFolder(const std::string& prefix) {
    static int made = 0;
    std::filesystem::path path;
    do {  // create_directory is false for a folder that is there already
        path = std::filesystem::temp_directory_path() /
               FsPath(prefix + std::to_string(ProcessId()) + "-" + std::to_string(++made));
    } while (!std::filesystem::create_directory(path));
    std::string utf8 = Utf8Path(path);
    std::replace(utf8.begin(), utf8.end(), '\\', '/');
    return utf8 + "/";
}

bool MakeFolderLink(const std::string& target, const std::string& link, std::string& why) {
    const std::wstring to = LongForm(target).substr(4), at = LongForm(link).substr(4);
    const DWORD error = MakeJunction(to, at);
    if (error == 0) {
        return true;
    }
    why = "FSCTL_SET_REPARSE_POINT: error " + std::to_string(error);
    // Wine keeps links as the host's symbolic links, and shows one to a folder
    // as a reparse point, but cannot make a junction (wine 8).
    const std::size_t slash = at.find_last_of(L'\\');
    const std::wstring from = UnixName(to), into = UnixName(at.substr(0, slash));
    if (from.empty() || into.empty() ||
        !RunOnHost(L"Z:\\bin\\ln", {L"-s", from, into + L"/" + at.substr(slash + 1)},
                   [&at] { return GetFileAttributesW(at.c_str()) != INVALID_FILE_ATTRIBUTES; })) {
        return false;
    }
    return (GetFileAttributesW(at.c_str()) & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

void RemoveFolderLink(const std::string& link) {
    const std::wstring at = LongForm(link).substr(4);
    // Wine removes a folder by rmdir(), which a host link refuses.
    const std::size_t slash = at.find_last_of(L'\\');
    if (const std::wstring above = UnixName(at.substr(0, slash));
        !RemoveDirectoryW(at.c_str()) && !above.empty()) {
        RunOnHost(L"Z:\\bin\\rm", {above + L"/" + at.substr(slash + 1)},
                  [&at] { return GetFileAttributesW(at.c_str()) == INVALID_FILE_ATTRIBUTES; });
    }
}

void MakeDeepFolders(const std::string& root, const std::string& name, int levels,
                     const std::vector<std::uint8_t>& bytes) {
    std::wstring path = LongForm(root);
    for (int level = 0; level < levels; ++level) {
        path += L"\\" + FsPath(name).wstring();
        CreateDirectoryW(path.c_str(), nullptr);
    }
    const HANDLE file = CreateFileW((path + L"\\bottom.iff").c_str(), GENERIC_WRITE, 0, nullptr,
                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

}  // namespace marrowick::test
