// The whole command: arguments in, report and exit status out.
#pragma once

#include <QStringList>

#include <ostream>

namespace marrowick::inspect {

enum ExitStatus : int {
    kAllRead = 0,
    kFileError = 1,
    kUsageError = 2,
    kGuidConflict = 3,
    kWriteError = 4,
};

// `arguments` starts with the program name, as QCoreApplication::arguments().
// `stderrIsTerminal` allows the progress display on `err`.
int RunInspect(const QStringList& arguments, std::ostream& out, std::ostream& err,
               bool stderrIsTerminal);

QString HelpText();

}  // namespace marrowick::inspect
