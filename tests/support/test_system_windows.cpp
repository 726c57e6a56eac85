#include <process.h>

#include "test_system.h"

namespace marrowick::test {

int ProcessId() {
    return _getpid();
}

bool MakeNamedPipe(const std::string&) {
    return false;
}

bool RunningAsRoot() {
    return false;
}

}  // namespace marrowick::test
