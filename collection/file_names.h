// File names as the system stores them: bytes, usually UTF-8 but not always (old
// archives extract Windows-1252 names). A name is decoded without loss: each
// byte that is not part of valid UTF-8 becomes a lone surrogate U+DC80..U+DCFF,
// the convention Python's os.fsdecode uses, and encodes back to that byte.
#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace marrowick {

QString DecodeFileName(std::string_view bytes);
std::string EncodeFileName(const QString& name);

// Whether the UTF-16 unit at `i` of `text` is a surrogate that is not half of a
// pair: in a decoded file name, a byte kept as it was.
bool IsLoneSurrogate(const QString& text, qsizetype i);

}  // namespace marrowick
