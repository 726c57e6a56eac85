// FileBytes on Windows: opening with CreateFileW, sharing the file with every
// other program, and reading with ReadFile at offsets.
#include <algorithm>
#include <cerrno>
#include <memory>

#include <fcntl.h>
#include <io.h>

#include <windows.h>

#include "file_bytes.h"
#include "path_windows.h"
#include "system_error_windows.h"

namespace marrowick {
namespace {

constexpr const char* kFolder = "it is a folder, not a file";
constexpr const char* kCharacterDevice = "it is a character device, not a file";
constexpr const char* kNamedPipe = "it is a named pipe, not a file";

// The handle that the C runtime's descriptor `fd` owns.
HANDLE HandleOf(int fd) {
    return reinterpret_cast<HANDLE>(_get_osfhandle(fd));
}

// Why an open handle is not one to read as a file, or nothing.
const char* NotAFile(HANDLE handle, const BY_HANDLE_FILE_INFORMATION& info) {
    switch (GetFileType(handle)) {
        case FILE_TYPE_DISK:
            return (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? kFolder : nullptr;
        case FILE_TYPE_CHAR:
            return kCharacterDevice;
        case FILE_TYPE_PIPE:
            return kNamedPipe;
        default:
            return "it is not a regular file";
    }
}

// Reads up to `length` bytes at `offset` in one call; 0 at the end of the file
// or on an error.
std::size_t ReadAt(HANDLE handle, std::uint64_t offset, std::uint8_t* out, std::size_t length) {
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    DWORD got = 0;
    const auto asked = static_cast<DWORD>(std::min<std::size_t>(length, 1u << 30));
    if (!ReadFile(handle, out, asked, &got, &at)) {
        return 0;  // ERROR_HANDLE_EOF past the end; a read error counts as missing bytes
    }
    return got;
}

// ReadPieces reads a batch into this, then hands the bytes out: Windows reads
// into several buffers at once only for files opened unbuffered.
thread_local std::unique_ptr<std::uint8_t[]> batchBuffer;

}  // namespace

void FileBytes::Open(const std::string& path, const std::optional<FileIdentity>& expected) {
    const std::optional<SystemPath> name = ToSystemPath(path);
    if (!name) {
        error_ = ErrnoText(ENOENT);  // bytes no Windows name converts to
        return;
    }
    // Opening a device can act on it (a port set up, a pipe's instance taken),
    // so a reserved device name or a pipe is refused by its form and a folder by
    // its attributes, before any open. Wine and Windows answer differently for
    // a device's attributes; the open below tells why a path cannot be read.
    if (name->form != PathForm::kOrdinary) {
        error_ = name->form == PathForm::kNamedPipe ? kNamedPipe : kCharacterDevice;
        return;
    }
    WIN32_FILE_ATTRIBUTE_DATA attributes{};
    if (GetFileAttributesExW(name->path.c_str(), GetFileExInfoStandard, &attributes) &&
        (attributes.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        error_ = kFolder;
        return;
    }
    // The path may name something else by now. Others may go on reading,
    // writing, renaming or removing the file while it is open here. Backup
    // semantics let a folder that has taken the file's place open, to be
    // refused below rather than reported as a denied access.
    HANDLE handle = CreateFileW(name->path.c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        error_ = WindowsErrorText(GetLastError());
        return;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    const char* notAFile = nullptr;
    if (GetFileType(handle) == FILE_TYPE_DISK && !GetFileInformationByHandle(handle, &info)) {
        error_ = WindowsErrorText(GetLastError());
    } else if ((notAFile = NotAFile(handle, info)) != nullptr) {
        error_ = notAFile;
    } else if (expected &&
               FileIdentity{info.dwVolumeSerialNumber, std::uint64_t{info.nFileIndexHigh} << 32 |
                                                           info.nFileIndexLow} != *expected) {
        error_ = kReplacedSinceRead;
    } else {
        fd_ = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_RDONLY | _O_BINARY);
        if (fd_ < 0) {
            error_ = ErrnoText(EMFILE);
        }
    }
    if (fd_ < 0) {
        CloseHandle(handle);
        return;
    }
    file_size_ = std::uint64_t{info.nFileSizeHigh} << 32 | info.nFileSizeLow;
}

void FileBytes::Close() {
    _close(fd_);  // closes the handle too
    fd_ = -1;
}

std::size_t FileBytes::PreadFully(std::uint64_t offset, std::uint8_t* out, std::size_t length) {
    const HANDLE handle = HandleOf(fd_);
    std::size_t done = 0;
    while (done < length) {
        ++read_calls_;
        const std::size_t got = ReadAt(handle, offset + done, out + done, length - done);
        if (got == 0) {
            break;  // the file shrank, or a read error: the rest counts as missing
        }
        done += got;
    }
    return done;
}

std::size_t FileBytes::ReadPieces(std::uint64_t offset, std::span<const Piece> pieces) {
    std::size_t total = 0;
    for (const Piece& piece : pieces) {
        total += piece.length;
    }
    if (!batchBuffer) {
        batchBuffer = std::make_unique_for_overwrite<std::uint8_t[]>(kBatchedBlocks * kBlockSize);
    }
    ++read_calls_;
    std::size_t left = ReadAt(HandleOf(fd_), offset, batchBuffer.get(),
                              std::min(total, kBatchedBlocks * kBlockSize));
    const std::size_t got = left;
    const std::uint8_t* from = batchBuffer.get();
    for (const Piece& piece : pieces) {
        const std::size_t take = std::min(left, piece.length);
        std::copy_n(from, take, piece.bytes);
        from += take;
        left -= take;
    }
    return got;
}

}  // namespace marrowick
