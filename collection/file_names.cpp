#include "file_names.h"

#include <cstdint>

#include "utf8.h"

namespace marrowick {
namespace {

constexpr char16_t kByteBase = 0xDC00;
constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

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
    std::size_t valid = 0;
    Utf8Char next;
    while (valid < name.size() && (next = ReadUtf8(name.substr(valid))).size != 0 &&
           !IsSurrogate(next.code)) {
        valid += next.size;
    }
    if (valid > 0 || name.empty()) {
        return {valid, 0};
    }
    if (rule == NameRule::Utf16 && next.size != 0) {
        return {next.size, static_cast<char16_t>(next.code)};  // a surrogate
    }
    return {1, static_cast<char16_t>(kByteBase + static_cast<unsigned char>(name[0]))};
}

bool AppendKeptUnit(std::string& name, char16_t unit, NameRule rule) {
    if (rule == NameRule::Bytes) {
        if (unit < kByteBase + 0x80 || unit > kByteBase + 0xFF) {
            return false;
        }
        name += static_cast<char>(unit - kByteBase);
        return true;
    }
    if (!IsSurrogate(unit)) {
        return false;
    }
    AppendUtf8(name, unit);
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
