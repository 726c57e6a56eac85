#include "system_error_windows.h"

#include <cerrno>
#include <cstring>

#include <windows.h>

namespace marrowick {

int ErrnoFromWindowsError(unsigned long code) {
    switch (code) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_NAME:
        case ERROR_BAD_PATHNAME:
        case ERROR_INVALID_DRIVE:
        case ERROR_BAD_NETPATH:
        case ERROR_BAD_NET_NAME:
        case ERROR_DELETE_PENDING:  // removed, but still open elsewhere
            return ENOENT;
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
        case ERROR_CANT_ACCESS_FILE:
        case ERROR_PRIVILEGE_NOT_HELD:
            return EACCES;
        case ERROR_DIRECTORY:  // a file where a folder should be
            return ENOTDIR;
        case ERROR_FILENAME_EXCED_RANGE:
            return ENAMETOOLONG;
        case ERROR_CANT_RESOLVE_FILENAME:  // a cycle of links
            return ELOOP;
        case ERROR_TOO_MANY_OPEN_FILES:
            return EMFILE;
        case ERROR_NOT_ENOUGH_MEMORY:
        case ERROR_OUTOFMEMORY:
            return ENOMEM;
        case ERROR_INVALID_HANDLE:
            return EBADF;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return ENOSPC;
        case ERROR_BROKEN_PIPE:
        case ERROR_NO_DATA:             // the reading end is being closed
        case ERROR_PIPE_NOT_CONNECTED:  // and has been (wine says so)
            return EPIPE;
        case ERROR_WRITE_PROTECT:
            return EROFS;
        default:
            return EIO;
    }
}

std::string ErrnoText(int error) {
    // The C runtime's texts are Linux's for the values above but one it lacks.
    if (error == ELOOP) {
        return "Too many levels of symbolic links";
    }
    return std::strerror(error);
}

}  // namespace marrowick
