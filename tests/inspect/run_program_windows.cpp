// On Windows the tests run as Windows programs (under wine when cross-built),
// so the program is started by CreateProcessW like any other: no emulator is
// named here.
#include <filesystem>

#include <windows.h>

#include "path_windows.h"
#include "run_program.h"

namespace marrowick::inspect::test {
namespace {

// An argument quoted as CommandLineToArgvW and the C runtime read it back.
std::wstring Quoted(const std::wstring& argument) {
    std::wstring quoted = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t c : argument) {
        backslashes = c == L'\\' ? backslashes + 1 : 0;
        quoted += c == L'"' ? std::wstring(backslashes + 1, L'\\') + L'"' : std::wstring(1, c);
    }
    return quoted + std::wstring(backslashes, L'\\') + L'"';
}

// A file that takes what the program writes, removed when it is closed.
HANDLE Capture(SECURITY_ATTRIBUTES& inherited, const char* which) {
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() /
        ("marrowick-run-" + std::to_string(GetCurrentProcessId()) + "-" + which);
    return CreateFileW(path.wstring().c_str(), GENERIC_READ | GENERIC_WRITE,
                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, &inherited,
                       CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE,
                       nullptr);
}

std::string ReadBack(HANDLE file) {
    std::string text;
    SetFilePointer(file, 0, nullptr, FILE_BEGIN);
    char block[4096];
    for (DWORD got = 0; ReadFile(file, block, sizeof block, &got, nullptr) && got > 0;) {
        text.append(block, got);
    }
    CloseHandle(file);
    return text;
}

}  // namespace

RunResult RunProgram(const std::vector<std::string>& arguments, const std::string& folder,
                     Output output) {
    if (output == Output::FullDevice) {
        return {};  // Windows has no such device
    }
    // Resolved here, before the program starts in another folder.
    const std::wstring program =
        std::filesystem::absolute(*ToSystemName(MARROWICK_INSPECT_PROGRAM)).wstring();
    std::wstring line = Quoted(program);
    for (const std::string& argument : arguments) {
        line += L" " + Quoted(*ToSystemName(argument));
    }
    SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
    HANDLE out = INVALID_HANDLE_VALUE, reader = INVALID_HANDLE_VALUE;
    if (output == Output::ClosedPipe && CreatePipe(&reader, &out, &inherited, 0)) {
        CloseHandle(reader);  // the reader gone before anything is written
    } else if (output == Output::Captured) {
        out = Capture(inherited, "out");
    }
    const HANDLE err = Capture(inherited, "err");
    const HANDLE in = CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  &inherited, OPEN_EXISTING, 0, nullptr);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = in;
    startup.hStdOutput = out;
    startup.hStdError = err;
    PROCESS_INFORMATION process{};
    const std::wstring where = *ToSystemName(folder);
    RunResult result;
    if (CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                       where.c_str(), &startup, &process)) {
        WaitForSingleObject(process.hProcess, INFINITE);
        DWORD status = 0;
        GetExitCodeProcess(process.hProcess, &status);
        result.status = static_cast<int>(status);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    CloseHandle(in);
    if (output == Output::Captured) {
        result.out = ReadBack(out);
    } else {
        CloseHandle(out);
    }
    result.err = ReadBack(err);
    return result;
}

}  // namespace marrowick::inspect::test
