// The whole command: arguments in, report and exit status out.
#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace marrowick::inspect {

enum ExitStatus : int {
    kAllRead = 0,
    kFileError = 1,
    kNothingFound = 1,  // --find, as grep
    kUsageError = 2,
    kGuidConflict = 3,
    kWriteError = 4,
};

// `arguments` starts with the program name; paths are bytes, as the system
// gives them. `stderrIsTerminal` allows the progress display on `err`.
int RunInspect(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
               bool stderrIsTerminal);

std::string_view HelpText();

}  // namespace marrowick::inspect
