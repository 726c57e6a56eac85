// The reader on Windows alone: names between UTF-8 and UTF-16, long paths,
// reserved device names, pipes, sharing and file identity.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "file_bytes.h"
#include "iff_builder.h"
#include "path_windows.h"
#include "test_system.h"

namespace marrowick::test {
namespace {

// A handle closed at the end of its scope.
using Handle = std::unique_ptr<void, decltype(&CloseHandle)>;

bool Ok(const Handle& handle) {
    return handle.get() != INVALID_HANDLE_VALUE;
}

// Makes a file by its UTF-16 name, without the reader's conversions; the
// error code when the system refuses.
DWORD MakeFile(const std::wstring& path, const std::string& bytes) {
    const Handle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr),
                      CloseHandle);
    DWORD written = 0;
    if (!Ok(file) || !::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()),
                                  &written, nullptr)) {
        return GetLastError();
    }
    return 0;
}

std::string ReadAll(const std::string& path, std::string* error = nullptr) {
    FileBytes file(path);
    if (error != nullptr) {
        *error = file.error();
    }
    const Bytes bytes = file.ReadUpTo(0, 1 << 20);
    return std::string(bytes.begin(), bytes.end());
}

class WindowsReader : public ::testing::Test {
  protected:
    std::wstring Wide(const std::string& utf8) const { return *ToSystemName(utf8); }
    const TempFolder folder{"marrowick win "};
    // With '\\' between folders, as the \\?\ form needs.
    const std::string dir = [this] {
        std::string path = folder.root;
        std::ranges::replace(path, '/', '\\');
        return path;
    }();
};

// Names from the system and back: a surrogate without its partner is kept in three
// bytes, as the system's UTF-16 holds it; what no name converts to is refused.
TEST(WindowsNames, ConvertBothWaysExactly) {
    const std::pair<std::wstring, std::string> both[] = {
        {L"caf\u00e9 \u6f22\u5b57.iff", "caf\xC3\xA9 \xE6\xBC\xA2\xE5\xAD\x97.iff"},
        {L"\U0001F600", "\xF0\x9F\x98\x80"},                          // a pair: one character
        {std::wstring(L"a\xD800z"), "a\xED\xA0\x80z"},                // a high one alone
        {std::wstring(L"\xDFFF"), "\xED\xBF\xBF"},                    // a low one alone
        {std::wstring(L"\xDC00\xD800"), "\xED\xB0\x80\xED\xA0\x80"},  // the wrong way round
        {std::wstring(L"x\xDBFF"), "x\xED\xAF\xBF"},                  // a high one at the end
        {std::wstring(L"\x7F\x80\x7FF\x800\xFFFF"), "\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF"},
    };
    for (const auto& [wide, utf8] : both) {
        EXPECT_EQ(FromSystemName(wide), utf8);
        EXPECT_EQ(ToSystemName(utf8), wide) << utf8;
    }
    for (const std::string refused : {
             "\xFF", "\x80", "\xC0\x80", "\xC1\xBF",  // not UTF-8; overlong
             "\xE0\x9F\xBF", "\xF0\x8F\xBF\xBF",      // overlong
             "\xF4\x90\x80\x80", "\xF5\x80\x80\x80",  // past U+10FFFF
             "\xE6\xBC", "a\xC3",                     // cut short
             "\xED\xA0\x80\xED\xB0\x80",              // a pair in halves
         }) {
        EXPECT_EQ(ToSystemName(refused), std::nullopt) << refused;
    }
}

// A path the system cannot take whole is made absolute and marked \\?\; a short
// one stays as given. Reserved device names and pipes are told by their form.
TEST_F(WindowsReader, PathsForTheSystem) {
    const std::string deep = std::string(120, 'd') + "\\" + std::string(120, 'e') + "\\";
    const std::wstring cwd = std::filesystem::current_path().wstring();
    const std::pair<std::string, std::optional<SystemPath>> cases[] = {
        {"a/b.iff", SystemPath{L"a/b.iff"}},
        {"C:\\x\\" + deep + "f.iff", SystemPath{L"\\\\?\\C:\\x\\" + Wide(deep) + L"f.iff"}},
        {"C:/x/./y/../" + deep + "f.iff", SystemPath{L"\\\\?\\C:\\x\\" + Wide(deep) + L"f.iff"}},
        {deep + "f.iff", SystemPath{L"\\\\?\\" + cwd + L"\\" + Wide(deep) + L"f.iff"}},
        {"\\\\server\\share\\" + deep, SystemPath{L"\\\\?\\UNC\\server\\share\\" + Wide(deep)}},
        {"\\\\?\\C:\\x\\NUL", SystemPath{L"\\\\?\\C:\\x\\NUL"}},  // not a device there
        {"NUL", SystemPath{L"NUL", PathForm::kCharacterDevice}},
        {"COM1", SystemPath{L"COM1", PathForm::kCharacterDevice}},
        {"\\\\.\\pipe\\p", SystemPath{L"\\\\.\\pipe\\p", PathForm::kNamedPipe}},
        {"\\\\.\\C:\\x.iff", SystemPath{L"\\\\.\\C:\\x.iff"}},
        {"\xFF.iff", std::nullopt},
    };
    for (const auto& [path, expected] : cases) {
        const std::optional<SystemPath> seen = ToSystemPath(path);
        ASSERT_EQ(seen.has_value(), expected.has_value()) << path;
        if (seen) {
            EXPECT_EQ(FromSystemName(seen->path), FromSystemName(expected->path));
            EXPECT_EQ(seen->form, expected->form) << path;
        }
    }
}

// Devices and pipes are refused by their names, before anything is opened; files
// are read whoever else has them open. (The CLI's Windows table reads long paths,
// names in UTF-16 and CON, NUL and COM1 given whole.)
TEST_F(WindowsReader, WhatIsReadAndWhatIsRefused) {
    const std::string device = "it is a character device, not a file";
    const std::string pipeName = "\\\\.\\pipe\\marrowick test " + std::to_string(ProcessId());
    const Handle pipe(CreateNamedPipeW(Wide(pipeName).c_str(), PIPE_ACCESS_INBOUND, PIPE_TYPE_BYTE,
                                       1, 512, 512, 0, nullptr),
                      CloseHandle);
    ASSERT_TRUE(Ok(pipe));
    ASSERT_EQ(MakeFile(Wide(dir + "held.iff"), "held"), 0u);
    // Held open by a writer that lets others read and write: it reads. Held by one
    // that shares nothing: it is refused as Linux refuses what it may not read.
    const Handle writer(CreateFileW(Wide(dir + "held.iff").c_str(), GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr),
                        CloseHandle);
    ASSERT_EQ(MakeFile(Wide(dir + "locked.iff"), "locked"), 0u);
    const Handle locker(CreateFileW(Wide(dir + "locked.iff").c_str(), GENERIC_READ, 0, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr),
                        CloseHandle);
    ASSERT_TRUE(Ok(writer) && Ok(locker));
    const std::pair<std::string, std::string> cases[] = {
        {"nul", "!" + device},
        {dir + "NUL.iff", "!" + device},  // wine, like Windows before 11, takes it as NUL
        {dir + "CON.txt", "!" + device},
        {pipeName, "!it is a named pipe, not a file"},
        {dir, "!it is a folder, not a file"},
        {dir + "none.iff", "!No such file or directory"},
        {dir + "none\\x.iff", "!No such file or directory"},
        {dir + "held.iff\\x.iff", "!No such file or directory"},
        {dir + "held.iff", "held"},
        {dir + "locked.iff", "!Permission denied"},
    };
    for (const auto& [path, expected] : cases) {
        std::string error;
        const std::string bytes = ReadAll(path, &error);
        EXPECT_EQ(error.empty() ? bytes : "!" + error, expected) << path;
    }
    // The pipe's one instance is still free: nothing connected to it.
    const Handle client(
        CreateFileW(Wide(pipeName).c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr),
        CloseHandle);
    EXPECT_TRUE(Ok(client));
}

// The identity a walk records is the volume and file index; a file of another
// identity at the path is refused.
TEST_F(WindowsReader, TheExpectedIdentityIsChecked) {
    ASSERT_EQ(MakeFile(Wide(dir + "a.iff"), "a"), 0u);
    ASSERT_EQ(MakeFile(Wide(dir + "b.iff"), "b"), 0u);
    std::optional<FileIdentity> a;
    {
        const Handle open(CreateFileW(Wide(dir + "a.iff").c_str(), 0,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr),
                          CloseHandle);
        a = IdentityOfHandle(open.get());
    }
    ASSERT_TRUE(a.has_value());
    EXPECT_TRUE(FileBytes(dir + "a.iff", {}, a).ok());
    EXPECT_EQ(FileBytes(dir + "b.iff", {}, a).error(), FileBytes::kReplacedSinceRead);
}

}  // namespace
}  // namespace marrowick::test
