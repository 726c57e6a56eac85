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

// POSIX only; false elsewhere.
bool MakeNamedPipe(const std::string& path);
bool RunningAsRoot();

// A new, empty folder for a test, its name starting with `prefix`. Its path
// ends in '/' and uses '/' between folders on every system, so that paths the
// program shows read as on Linux.
std::string MakeTemporaryFolder(const std::string& prefix = "marrowick-test-");
// Removes a folder and all it holds, however long its paths; links are removed,
// not followed.
void RemoveTree(const std::string& folder);

// A temporary folder for one test, removed when it ends.
struct TempFolder {
    explicit TempFolder(const std::string& prefix = "marrowick-test-")
        : root(MakeTemporaryFolder(prefix)) {}
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder() { RemoveTree(root); }
    // Writes `bytes` at `relative`, making the folders on its way; its path.
    std::string Write(const std::string& relative, const std::vector<std::uint8_t>& bytes) const;
    const std::string root;
};

// A link at `link` to the folder `target`, both absolute: a symbolic link on
// POSIX systems, a junction on Windows. False, saying why, when the system
// cannot make one.
bool MakeFolderLink(const std::string& target, const std::string& link, std::string& why);
void RemoveFolderLink(const std::string& link);

// `levels` folders named `name`, each in the one before, under `root`, with a
// file "bottom.iff" holding `bytes` in the last: a path longer than the system
// takes whole, made a piece at a time.
void MakeDeepFolders(const std::string& root, const std::string& name, int levels,
                     const std::vector<std::uint8_t>& bytes);

}  // namespace marrowick::test
