// What the tests need of the system they run on. The few cases that mean
// something on one system only ask kPosix; test_system_posix.cpp and
// test_system_windows.cpp hold the rest.
#pragma once

#include <filesystem>
#include <string>

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

}  // namespace marrowick::test
