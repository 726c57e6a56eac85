#include "path_windows.h"

#include <windows.h>

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
        const auto byte = [](char32_t bits) { return static_cast<char>(bits); };
        if (code < 0x80) {
            out += byte(code);
        } else if (code < 0x800) {
            out += byte(0xC0 | code >> 6);
            out += byte(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {  // an unpaired surrogate too
            out += byte(0xE0 | code >> 12);
            out += byte(0x80 | (code >> 6 & 0x3F));
            out += byte(0x80 | (code & 0x3F));
        } else {
            out += byte(0xF0 | code >> 18);
            out += byte(0x80 | (code >> 12 & 0x3F));
            out += byte(0x80 | (code >> 6 & 0x3F));
            out += byte(0x80 | (code & 0x3F));
        }
    }
    return out;
}

std::optional<std::wstring> ToSystemName(std::string_view name) {
    std::wstring out;
    out.reserve(name.size());
    bool afterHigh = false;  // the last unit was an unpaired high surrogate
    for (std::size_t i = 0; i < name.size();) {
        const auto lead = static_cast<unsigned char>(name[i]);
        const auto at = [&name](std::size_t index) {
            return index < name.size() ? static_cast<unsigned char>(name[index]) : 0u;
        };
        // The bytes that follow a lead byte, and the range its first one must lie in
        // (the shortest form only; no code point past U+10FFFF).
        std::size_t more = 0;
        unsigned low = 0x80, high = 0xBF;
        char32_t code = lead;
        if (lead < 0x80) {
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            more = 1;
            code = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            more = 2;
            code = lead & 0x0F;
            low = lead == 0xE0 ? 0xA0 : 0x80;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            more = 3;
            code = lead & 0x07;
            low = lead == 0xF0 ? 0x90 : 0x80;
            high = lead == 0xF4 ? 0x8F : 0xBF;
        } else {
            return std::nullopt;
        }
        for (std::size_t k = 1; k <= more; ++k) {
            const unsigned next = at(i + k);
            if (next < (k == 1 ? low : 0x80) || next > (k == 1 ? high : 0xBF)) {
                return std::nullopt;
            }
            code = code << 6 | (next & 0x3F);
        }
        i += 1 + more;
        if (code >= 0x10000) {
            code -= 0x10000;
            out += static_cast<wchar_t>(0xD800 + (code >> 10));
            out += static_cast<wchar_t>(0xDC00 + (code & 0x3FF));
            afterHigh = false;
            continue;
        }
        if (afterHigh && IsLow(code)) {
            return std::nullopt;  // a pair in two halves: it reads back as one character
        }
        afterHigh = IsHigh(code);
        out += static_cast<wchar_t>(code);
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
