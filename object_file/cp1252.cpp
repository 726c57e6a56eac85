#include "cp1252.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace marrowick {
namespace {

// Code points of the bytes 0x80 to 0x9F; the rest match Latin-1.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// Each byte's UTF-8 form: its length, then up to three bytes.
using Encoded = std::array<char, 4>;

constexpr Encoded Encode(char32_t c) {
    if (c < 0x80) {
        return {1, static_cast<char>(c), 0, 0};
    }
    if (c < 0x800) {
        return {2, static_cast<char>(0xC0 | (c >> 6)), static_cast<char>(0x80 | (c & 0x3F)), 0};
    }
    return {3, static_cast<char>(0xE0 | (c >> 12)), static_cast<char>(0x80 | ((c >> 6) & 0x3F)),
            static_cast<char>(0x80 | (c & 0x3F))};
}

constexpr std::array<Encoded, 256> kUtf8 = [] {
    std::array<Encoded, 256> table{};
    for (char32_t byte = 0; byte < 256; ++byte) {
        table[byte] = Encode(byte >= 0x80 && byte < 0xA0 ? kHighControls[byte - 0x80] : byte);
    }
    return table;
}();

}  // namespace

char32_t Cp1252CodePoint(unsigned char byte) {
    return byte >= 0x80 && byte < 0xA0 ? kHighControls[byte - 0x80] : byte;
}

std::size_t AsciiLength(std::string_view bytes) {
    std::size_t ascii = 0;
    // Eight bytes at a time, then byte by byte from the first word with a high bit.
    for (std::uint64_t word = 0; bytes.size() - ascii >= sizeof word; ascii += sizeof word) {
        std::memcpy(&word, bytes.data() + ascii, sizeof word);
        if ((word & 0x8080808080808080u) != 0) {
            break;
        }
    }
    while (ascii < bytes.size() && static_cast<std::uint8_t>(bytes[ascii]) < 0x80) {
        ++ascii;
    }
    return ascii;
}

void AppendCp1252AsUtf8(std::string& out, std::string_view bytes) {
    const std::size_t ascii = AsciiLength(bytes);  // most texts are plain ASCII: copied at once
    out.append(bytes.substr(0, ascii));
    for (const char ch : bytes.substr(ascii)) {
        const Encoded& encoded = kUtf8[static_cast<std::uint8_t>(ch)];
        out.append(encoded.data() + 1, static_cast<std::size_t>(encoded[0]));
    }
}

std::string Cp1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    AppendCp1252AsUtf8(out, bytes);
    return out;
}

}  // namespace marrowick
