// The console on Linux and other POSIX systems: arguments are bytes already,
// and standard output takes them as they are.
#include "console.h"

#include <cerrno>
#include <clocale>

#include <sys/ioctl.h>
#include <unistd.h>

namespace marrowick::inspect::console {

std::vector<std::string> Arguments(int argc, char* argv[]) {
    return std::vector<std::string>(argv, argv + argc);
}

void Prepare() {
    // The user's language for the system's own messages (why a file cannot be
    // opened), as the program has always given them.
    std::setlocale(LC_ALL, "");
}

bool ErrorIsTerminal() {
    return ::isatty(STDERR_FILENO) == 1;
}

int ErrorColumns() {
    winsize size{};
    if (::ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) {
        return size.ws_col;
    }
    return 80;
}

std::ptrdiff_t WriteOut(const char* data, std::size_t size, int& error) {
    for (;;) {
        const ssize_t written = ::write(STDOUT_FILENO, data, size);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        error = written < 0 ? errno : 0;
        return written;
    }
}

}  // namespace marrowick::inspect::console
