// Windows only: the system's error codes as the errno values Linux gives for the
// same situation, so that messages read alike on both systems. The reader, the
// folder walk and the CLI's output share this one table.
#pragma once

#include <string>

namespace marrowick {

// The errno for a Windows error code (GetLastError()); EIO for one without a match.
int ErrnoFromWindowsError(unsigned long code);

// The text Linux's strerror gives for `error`.
std::string ErrnoText(int error);

// The two at once: the message for a Windows error code.
inline std::string WindowsErrorText(unsigned long code) {
    return ErrnoText(ErrnoFromWindowsError(code));
}

}  // namespace marrowick
