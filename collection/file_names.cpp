#include "file_names.h"

#include <cstdint>

namespace marrowick {
namespace {

constexpr char16_t kByteBase = 0xDC00;
constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

// The length of the valid UTF-8 sequence at `p`, or 0.
std::size_t Utf8Length(const unsigned char* p, std::size_t left) {
    const auto continuation = [&](std::size_t k) { return k < left && (p[k] & 0xC0) == 0x80; };
    if (p[0] < 0x80) {
        return 1;
    }
    if (p[0] >= 0xC2 && p[0] <= 0xDF) {
        return continuation(1) ? 2 : 0;
    }
    if (p[0] >= 0xE0 && p[0] <= 0xEF) {
        if (!continuation(1) || !continuation(2) || (p[0] == 0xE0 && p[1] < 0xA0) ||
            (p[0] == 0xED && p[1] >= 0xA0)) {
            return 0;
        }
        return 3;
    }
    if (p[0] >= 0xF0 && p[0] <= 0xF4) {
        if (!continuation(1) || !continuation(2) || !continuation(3) ||
            (p[0] == 0xF0 && p[1] < 0x90) || (p[0] == 0xF4 && p[1] >= 0x90)) {
            return 0;
        }
        return 4;
    }
    return 0;
}

// Whether `p` starts with a surrogate in the generalized UTF-8 form.
bool IsEncodedSurrogate(const unsigned char* p, std::size_t left) {
    return left >= 3 && p[0] == 0xED && p[1] >= 0xA0 && p[1] <= 0xBF && (p[2] & 0xC0) == 0x80;
}

// Appends `text` to `out` piece by piece: runs of UTF-8 through `run`, each
// kept unit as U+FFFD.
template <typename Run>
void AppendShown(std::string& out, std::string_view text, const Run& run) {
    const NameRule rule = SystemNameRule();
    while (!text.empty()) {
        const NamePiece piece = NextNamePiece(text, rule);
        if (piece.kept != 0) {
            out += kReplacement;
        } else {
            run(text.substr(0, piece.size));
        }
        text.remove_prefix(piece.size);
    }
}

}  // namespace

NamePiece NextNamePiece(std::string_view name, NameRule rule) {
    const auto* p = reinterpret_cast<const unsigned char*>(name.data());
    std::size_t valid = 0;
    while (valid < name.size()) {
        const std::size_t length = Utf8Length(p + valid, name.size() - valid);
        if (length == 0) {
            break;
        }
        valid += length;
    }
    if (valid > 0 || name.empty()) {
        return {valid, 0};
    }
    if (rule == NameRule::Utf16 && IsEncodedSurrogate(p, name.size())) {
        return {3, static_cast<char16_t>(0xD000 | (p[1] & 0x3F) << 6 | (p[2] & 0x3F))};
    }
    return {1, static_cast<char16_t>(kByteBase + p[0])};
}

bool AppendKeptUnit(std::string& name, char16_t unit, NameRule rule) {
    if (rule == NameRule::Bytes) {
        if (unit < kByteBase + 0x80 || unit > kByteBase + 0xFF) {
            return false;
        }
        name += static_cast<char>(unit - kByteBase);
        return true;
    }
    if (unit < 0xD800 || unit > 0xDFFF) {
        return false;
    }
    name += static_cast<char>(0xE0 | unit >> 12);
    name += static_cast<char>(0x80 | (unit >> 6 & 0x3F));
    name += static_cast<char>(0x80 | (unit & 0x3F));
    return true;
}

std::string ShownText(std::string_view text) {
    std::string shown;
    shown.reserve(text.size());
    AppendShown(shown, text, [&shown](std::string_view run) { shown += run; });
    return shown;
}

std::string PrintableText(std::string_view text) {
    std::string shown;
    shown.reserve(text.size());
    AppendShown(shown, text, [&shown](std::string_view run) {
        for (std::size_t i = 0; i < run.size(); ++i) {
            const auto byte = static_cast<std::uint8_t>(run[i]);
            if (byte < 0x20 || byte == 0x7F) {
                shown += ' ';
            } else if (byte == 0xC2 && i + 1 < run.size() &&
                       static_cast<std::uint8_t>(run[i + 1]) < 0xA0) {
                shown += ' ';  // a C1 control character, U+0080..U+009F
                ++i;
            } else {
                shown += run[i];
            }
        }
    });
    return shown;
}

}  // namespace marrowick
