// Starting marrowick-inspect as a program of its own, as a user or a script
// does: one file per system.
#pragma once

#include <string>
#include <vector>

namespace marrowick::inspect::test {

struct RunResult {
    int status = -1;
    std::string out, err;
};

// Where the program's standard output goes: captured, a device that is always
// full (POSIX systems only), or a pipe whose reader has gone.
enum class Output { Captured, FullDevice, ClosedPipe };

// Runs the program (MARROWICK_INSPECT_PROGRAM) in `folder`.
RunResult RunProgram(const std::vector<std::string>& arguments, const std::string& folder,
                     Output output = Output::Captured);

}  // namespace marrowick::inspect::test
