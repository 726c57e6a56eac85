// The system's own record of what is done to a folder's files, for the test
// that the windows never write: one file per system.
#pragma once

#include <QString>

namespace marrowick::test {

// A watch on `folder`, or -1 where the system keeps no record a test can read.
int StartFolderWatch(const QString& folder);
// "N reads", then ", event 0x.." for anything else done since the start; ends the watch.
QString StopFolderWatch(int watch);

}  // namespace marrowick::test
