#include "guid_query.h"

#include <optional>
#include <string>

namespace marrowick {
namespace {

using Guid = std::array<std::uint8_t, 4>;

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
}

// Eight hex digits as four bytes, first digits first.
std::optional<Guid> Boxes(std::string_view digits) {
    if (digits.size() != 8) {
        return std::nullopt;
    }
    Guid bytes{};
    for (std::size_t b = 0; b < bytes.size(); ++b) {
        const int high = HexDigit(digits[2 * b]), low = HexDigit(digits[2 * b + 1]);
        if (high < 0 || low < 0) {
            return std::nullopt;
        }
        bytes[b] = static_cast<std::uint8_t>(high << 4 | low);
    }
    return bytes;
}

// Eight hex digits as a 32-bit value, stored low byte first.
std::optional<Guid> Value(std::string_view digits) {
    std::optional<Guid> bytes = Boxes(digits);
    if (bytes) {
        *bytes = {(*bytes)[3], (*bytes)[2], (*bytes)[1], (*bytes)[0]};
    }
    return bytes;
}

bool Blank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

}  // namespace

std::vector<Guid> GuidsWritten(std::string_view text) {
    while (!text.empty() && Blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && Blank(text.back())) {
        text.remove_suffix(1);
    }
    std::vector<Guid> guids;
    if (text.size() == 9 && text[4] == ' ') {
        const std::string digits = std::string(text.substr(0, 4)) + std::string(text.substr(5));
        if (const std::optional<Guid> boxes = Boxes(digits)) {
            guids.push_back(*boxes);
        }
    } else if (text.size() == 10 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        if (const std::optional<Guid> value = Value(text.substr(2))) {
            guids.push_back(*value);
        }
    } else if (const std::optional<Guid> boxes = Boxes(text)) {
        guids.push_back(*boxes);
        if (const Guid value = *Value(text); value != *boxes) {
            guids.push_back(value);
        }
    }
    return guids;
}

}  // namespace marrowick
