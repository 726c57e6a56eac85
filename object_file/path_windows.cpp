#include "path_windows.h"

#include <windows.h>

#include "utf8.h"

namespace marrowick {
namespace {

constexpr bool IsHigh(unsigned unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
constexpr bool IsLow(unsigned unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// Longer absolute paths are marked \\?\. The system takes up to MAX_PATH - 1
// characters for a file, but 12 fewer for a folder, and the folder walk adds
// "\*" to a folder's path to read it.
constexpr std::size_t kLongestPlain = MAX_PATH - 12 - 1;

bool StartsWith(std::wstring_view text, std::wstring_view start) {
    return text.size() >= start.size() &&
           CompareStringOrdinal(text.data(), static_cast<int>(start.size()), start.data(),
                                static_cast<int>(start.size()), TRUE) == CSTR_EQUAL;
}

// The path made absolute as the system makes it: '/' read as '\', "." and ".."
// resolved, a reserved device name turned into \\.\NAME. Empty when it fails.
std::wstring FullPath(const std::wstring& path) {
    std::wstring full(path.size() + MAX_PATH, L'\0');
    for (int tries = 0; tries < 2; ++tries) {
        const DWORD length =
            GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
        if (length == 0) {
            return {};
        }
        if (length < full.size()) {
            full.resize(length);
            return full;
        }
        full.resize(length);  // the size asked for, its closing zero counted
    }
    return {};
}

}  // namespace

std::string FromSystemName(std::wstring_view name) {
    std::string out;
    out.reserve(name.size());
    for (std::size_t i = 0; i < name.size(); ++i) {
        char32_t code = static_cast<char16_t>(name[i]);
        if (IsHigh(code) && i + 1 < name.size() && IsLow(static_cast<char16_t>(name[i + 1]))) {
            code = 0x10000 + ((code - 0xD800) << 10) + (static_cast<char16_t>(name[++i]) - 0xDC00);
        }
        AppendUtf8(out, code);  // an unpaired surrogate too
    }
    return out;
}

std::optional<std::wstring> ToSystemName(std::string_view name) {
    std::wstring out;
    out.reserve(name.size());
    bool afterHigh = false;  // the last unit was an unpaired high surrogate
    for (std::size_t i = 0; i < name.size();) {
        const Utf8Char next = ReadUtf8(name.substr(i));
        if (next.size == 0) {
            return std::nullopt;
        }
        i += next.size;
        if (next.code >= 0x10000) {
            const char32_t above = next.code - 0x10000;
            out += static_cast<wchar_t>(0xD800 + (above >> 10));
            out += static_cast<wchar_t>(0xDC00 + (above & 0x3FF));
            afterHigh = false;
            continue;
        }
        if (afterHigh && IsLow(next.code)) {
            return std::nullopt;  // a pair in two halves: it reads back as one character
        }
        afterHigh = IsHigh(next.code);
        out += static_cast<wchar_t>(next.code);
    }
    return out;
}

std::optional<SystemPath> ToSystemPath(std::string_view path) {
    std::optional<std::wstring> wide = ToSystemName(path);
    if (!wide) {
        return std::nullopt;
    }
    SystemPath out{std::move(*wide)};
    if (StartsWith(out.path, L"\\\\?\\")) {
        return out;  // taken as it is, without the system's rewriting
    }
    const std::wstring full = FullPath(out.path);
    if (StartsWith(full, L"\\\\.\\")) {
        // The device space: \\.\CON for a reserved name, \\.\pipe\ for pipes;
        // also \\.\C:\ and other ways to ordinary files, opened as given.
        const std::wstring_view rest = std::wstring_view(full).substr(4);
        if (StartsWith(rest, L"pipe\\")) {
            out.form = PathForm::kNamedPipe;
        } else if (!rest.empty() && rest.find(L'\\') == std::wstring_view::npos &&
                   rest.find(L':') == std::wstring_view::npos) {
            out.form = PathForm::kCharacterDevice;
        }
        return out;
    }
    if (full.size() <= kLongestPlain) {
        return out;
    }
    if (StartsWith(full, L"\\\\")) {
        out.path = L"\\\\?\\UNC\\" + full.substr(2);
    } else if (!full.empty()) {
        out.path = L"\\\\?\\" + full;
    }
    return out;
}

std::optional<FileIdentity> IdentityOfHandle(void* handle) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(handle, &info)) {
        return std::nullopt;
    }
    return FileIdentity{info.dwVolumeSerialNumber,
                        std::uint64_t{info.nFileIndexHigh} << 32 | info.nFileIndexLow};
}

}  // namespace marrowick
