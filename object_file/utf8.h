// UTF-8 as names and texts are converted here: each code point in its shortest
// form, nothing past U+10FFFF. A surrogate (U+D800..U+DFFF), which UTF-8 has no
// character for, is read and written in the same three-byte form: the
// generalized form that keeps a Windows name's unpaired surrogate exactly.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace marrowick {

struct Utf8Char {
    char32_t code = 0;
    std::size_t size = 0;  // 0: the bytes start no such sequence
};

// The code point the bytes start with.
Utf8Char ReadUtf8(std::string_view bytes);

void AppendUtf8(std::string& out, char32_t code);

constexpr bool IsSurrogate(char32_t code) {
    return code >= 0xD800 && code <= 0xDFFF;
}

}  // namespace marrowick
