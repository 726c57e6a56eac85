#include "utf8.h"

namespace marrowick {

Utf8Char ReadUtf8(std::string_view bytes) {
    const auto at = [bytes](std::size_t i) {
        return i < bytes.size() ? static_cast<unsigned char>(bytes[i]) : 0u;
    };
    if (bytes.empty()) {
        return {};
    }
    const unsigned lead = at(0);
    if (lead < 0x80) {
        return {lead, 1};
    }
    // The bytes that follow the lead byte, and the range the first of them must
    // lie in: the shortest form only, nothing past U+10FFFF.
    std::size_t more = 0;
    unsigned low = 0x80, high = 0xBF;
    char32_t code = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
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
        return {};
    }
    for (std::size_t k = 1; k <= more; ++k) {
        const unsigned next = at(k);
        if (next < (k == 1 ? low : 0x80) || next > (k == 1 ? high : 0xBF)) {
            return {};
        }
        code = code << 6 | (next & 0x3F);
    }
    return {code, 1 + more};
}

void AppendUtf8(std::string& out, char32_t code) {
    const auto byte = [](char32_t bits) { return static_cast<char>(bits); };
    if (code < 0x80) {
        out += byte(code);
    } else if (code < 0x800) {
        out += byte(0xC0 | code >> 6);
        out += byte(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
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

}  // namespace marrowick
