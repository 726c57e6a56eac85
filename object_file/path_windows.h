// Windows only: names between UTF-8 inside and UTF-16 on disk, paths of any
// length, and the identity of an open file. The reader and the folder walk open
// files and folders through these.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "file_identity.h"

namespace marrowick {

// A UTF-16 name from the system as UTF-8. An unpaired surrogate, which a
// Windows name may hold, is kept in generalized UTF-8 (three bytes, ED A0..BF
// 80..BF), as a byte that is not UTF-8 is kept on Linux, so that the name
// converts back exactly.
std::string FromSystemName(std::wstring_view name);

// The reverse of FromSystemName. Nothing for bytes that are not UTF-8 in that
// sense (no Windows name converts to them), nor for a surrogate pair written as
// two halves (the pair converts to its four-byte form).
std::optional<std::wstring> ToSystemName(std::string_view name);

// What a path names by its form alone, as the system reads it, before anything
// is opened: a device that has a reserved name (CON, NUL, COM1, also in a folder
// and with an extension, where the system takes them so) or a named pipe.
enum class PathForm { kOrdinary, kCharacterDevice, kNamedPipe };

struct SystemPath {
    std::wstring path;  // for CreateFileW and the like
    PathForm form = PathForm::kOrdinary;
};

// A UTF-8 path for the system's calls. A short one stays as given, relative or
// not; one that is too long for the system to take whole is made absolute and
// marked \\?\ (\\?\UNC\ for \\server\share), which lifts the limit. Nothing for
// a path that ToSystemName refuses.
std::optional<SystemPath> ToSystemPath(std::string_view path);

// The identity of an open file (a HANDLE): the volume's serial number and the
// file's index on it. Nothing when the system cannot tell; GetLastError() says why.
std::optional<FileIdentity> IdentityOfHandle(void* handle);

}  // namespace marrowick
