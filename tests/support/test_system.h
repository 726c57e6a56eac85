// What the tests need of the system they run on. The few cases that mean
// something on one system only ask kPosix; test_system_posix.cpp and
// test_system_windows.cpp hold the rest.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace marrowick::test {

#ifdef _WIN32
inline constexpr bool kPosix = false;
#else
inline constexpr bool kPosix = true;
#endif

// A UTF-8 path as the standard library's: on Windows its narrow strings are in
// the ANSI code page. On POSIX systems the bytes are kept as they are.
inline std::filesystem::path FsPath(const std::string& utf8) {
    if constexpr (kPosix) {
        return utf8;
    } else {
        return std::u8string(utf8.begin(), utf8.end());
    }
}

inline std::string Utf8Path(const std::filesystem::path& path) {
    if constexpr (kPosix) {
        return path.string();
    } else {
        const std::u8string utf8 = path.u8string();
        return std::string(utf8.begin(), utf8.end());
    }
}

int ProcessId();

// Windows only: removes a folder and all it holds, however long its path (in
// the \\?\ form, or one the system takes whole).
void RemoveTree(const std::wstring& folder);

// POSIX only; false elsewhere.
bool MakeNamedPipe(const std::string& path);
bool RunningAsRoot();

// A new, empty folder for a test. Its path ends in '/' and uses '/' between
// folders on every system, so that paths the program shows read as on Linux.
std::string MakeTemporaryFolder();

// A link at `link` to the folder `target`, both absolute: a symbolic link on
// POSIX systems, a junction on Windows. False, saying why, when the system
// cannot make one.
bool MakeFolderLink(const std::string& target, const std::string& link, std::string& why);
void RemoveFolderLink(const std::string& link);

// `levels` folders named `name`, each in the one before, under `root`, with a
// file "bottom.iff" holding `bytes` in the last: a path longer than the system
// takes whole, made and removed a piece at a time.
void MakeDeepFolders(const std::string& root, const std::string& name, int levels,
                     const std::vector<std::uint8_t>& bytes);
void RemoveDeepFolders(const std::string& root, const std::string& name);

}  // namespace marrowick::test
