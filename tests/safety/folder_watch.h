// The system's own record of what is done to a folder's files, for the test
// that the windows never write: one file per system.
#pragma once

#include <QString>

#include <memory>

namespace marrowick::test {

class FolderWatch {
  public:
    virtual ~FolderWatch() = default;
    // "N reads", followed by ", event 0x.." for anything else done since Start.
    virtual QString Events() = 0;
};

// Nothing where the system keeps no such record that a test can read.
std::unique_ptr<FolderWatch> StartFolderWatch(const QString& folder);

}  // namespace marrowick::test
