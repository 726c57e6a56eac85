#include <sys/stat.h>
#include <unistd.h>

#include "test_system.h"

namespace marrowick::test {

int ProcessId() {
    return static_cast<int>(::getpid());
}

bool MakeNamedPipe(const std::string& path) {
    return ::mkfifo(path.c_str(), 0600) == 0;
}

bool RunningAsRoot() {
    return ::geteuid() == 0;
}

}  // namespace marrowick::test
