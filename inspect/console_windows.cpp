// marrowick-inspect's system interface on Windows: the command line read as
// UTF-16, standard output in binary, and the console set up for UTF-8 and for
// the progress line's control sequences.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include <fcntl.h>
#include <io.h>
#include <windows.h>
// After <windows.h>, which it needs.
#include <shellapi.h>

#include "console.h"
#include "path_windows.h"
#include "system_error_windows.h"

namespace marrowick::inspect::console {
namespace {

bool IsConsole(HANDLE handle, DWORD* mode = nullptr) {
    DWORD ignored = 0;
    return handle != nullptr && handle != INVALID_HANDLE_VALUE &&
           GetConsoleMode(handle, mode != nullptr ? mode : &ignored);
}

// The console's output code page is the console's, not the program's: the one
// it had is given back when the program ends, for the shell that started it.
UINT originalCodePage = 0;

void RestoreCodePage() {
    SetConsoleOutputCP(originalCodePage);
}

}  // namespace

std::vector<std::string> Arguments(int argc, char* argv[]) {
    // argv is in the ANSI code page, which cannot hold every name.
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide == nullptr) {
        return std::vector<std::string>(argv, argv + argc);
    }
    std::vector<std::string> arguments;
    arguments.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        arguments.push_back(FromSystemName(wide[i]));
    }
    LocalFree(wide);
    return arguments;
}

void Prepare() {
    // The report's bytes as they are: no "\r" before each "\n".
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    bool console = false;
    for (const DWORD which : {STD_OUTPUT_HANDLE, STD_ERROR_HANDLE}) {
        const HANDLE handle = GetStdHandle(which);
        DWORD mode = 0;
        if (IsConsole(handle, &mode)) {
            console = true;
            // "\r\033[K" rewrites the progress line; the classic console needs
            // this to read it, Windows Terminal reads it anyway.
            SetConsoleMode(handle, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING);
        }
    }
    if (console && GetConsoleOutputCP() != CP_UTF8) {
        originalCodePage = GetConsoleOutputCP();
        if (SetConsoleOutputCP(CP_UTF8)) {
            std::atexit(RestoreCodePage);
        }
    }
}

bool ErrorIsTerminal() {
    return IsConsole(GetStdHandle(STD_ERROR_HANDLE));
}

int ErrorColumns() {
    CONSOLE_SCREEN_BUFFER_INFO info{};
    if (!GetConsoleScreenBufferInfo(GetStdHandle(STD_ERROR_HANDLE), &info)) {
        return 80;
    }
    const int columns = info.srWindow.Right - info.srWindow.Left + 1;
    return columns > 0 ? columns : 80;
}

std::ptrdiff_t WriteOut(const char* data, std::size_t size, int& error) {
    const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD written = 0;
    const auto asked = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
    if (out == nullptr || out == INVALID_HANDLE_VALUE ||
        !WriteFile(out, data, asked, &written, nullptr)) {
        // A closed pipe and a full disk are told apart, as on Linux; the rest
        // is a failed write.
        const int why = out == nullptr || out == INVALID_HANDLE_VALUE
                            ? EIO
                            : ErrnoFromWindowsError(GetLastError());
        error = why == EPIPE || why == ENOSPC ? why : EIO;
        return -1;
    }
    return static_cast<std::ptrdiff_t>(written);
}

}  // namespace marrowick::inspect::console
