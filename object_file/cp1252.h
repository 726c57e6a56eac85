// Windows-1252 text, as object files hold it, to UTF-8 for display and JSON.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace marrowick {

// One character per byte. The five bytes Windows-1252 leaves undefined map to
// the C1 control characters of the same value, as Windows itself does.
std::string Cp1252ToUtf8(std::string_view bytes);
// The same, appended to `out`, which a caller may reuse from text to text.
void AppendCp1252AsUtf8(std::string& out, std::string_view bytes);
// The character a byte stands for.
char32_t Cp1252CodePoint(unsigned char byte);
// How many bytes at the start of `bytes` are ASCII, which Windows-1252 and
// UTF-8 write alike: all of them for most texts.
std::size_t AsciiLength(std::string_view bytes);

}  // namespace marrowick
