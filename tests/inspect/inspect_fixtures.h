// Shared pieces of the marrowick-inspect tests: object files in a temporary
// folder, and runs of the command in-process or as a real process.
#pragma once

#include <QStringList>
#include <QTemporaryDir>

#include <cstdint>
#include <string>
#include <vector>

#include "iff_builder.h"

namespace marrowick::inspect::test {

using marrowick::test::Bytes;

struct RunResult {
    int status = -1;
    std::string out;
    std::string err;
};

// RunInspect with these arguments (the program name is added), stderr not a
// terminal.
RunResult Inspect(const QStringList& arguments);
// The built program, with `workingDirectory` as its current folder.
RunResult InspectProcess(const QStringList& arguments, const QString& workingDirectory);

// An object file whose objects have these GUIDs (as 32-bit little-endian
// values); object i is labelled `label` + " " + i and has chunk id 128 + i.
Bytes ObjectsWithGuids(const std::string& label, const std::vector<std::uint32_t>& guids);

class Folder {
  public:
    Folder();
    // Writes `bytes` at `relative` below the folder, making folders as needed,
    // and returns the full path.
    std::string Write(const std::string& relative, const Bytes& bytes) const;
    std::string Path(const std::string& relative = {}) const;
    QString QPath(const std::string& relative = {}) const {
        return QString::fromStdString(Path(relative));
    }

  private:
    QTemporaryDir dir_;
};

// Lines of `text`, without their line ends.
std::vector<std::string> Lines(const std::string& text);

// A root user can read any file, so permission cases cannot be staged.
bool RunningAsRoot();

}  // namespace marrowick::inspect::test
