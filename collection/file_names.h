// File names as the system stores them, kept as bytes inside: UTF-8, but not
// always valid. On Linux a name is any bytes (old archives extract
// Windows-1252 names); on Windows it is UTF-16, made UTF-8 here, where an
// unpaired surrogate is kept in the generalized form (three bytes, 0xED ...).
// Each piece of a name that is not UTF-8 stands for one UTF-16 unit that
// UTF-8 has no character for: a byte is U+DC80..U+DCFF (the convention
// Python's os.fsdecode uses), an unpaired surrogate is itself. JSON writes that
// unit as its \u escape, from which a script gets the name back; text shows it
// as U+FFFD.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace marrowick {

// How a system's names read when they are not UTF-8.
enum class NameRule {
    Bytes,  // any byte that is not part of valid UTF-8 is kept on its own
    Utf16,  // an unpaired surrogate (ED A0..BF 80..BF) is kept whole; other bytes as above
};

// The rule of the system this program runs on.
NameRule SystemNameRule();

struct NamePiece {
    std::size_t size = 0;  // bytes; at least 1 for a name not at its end
    char16_t kept = 0;     // 0 for valid UTF-8, else the unit the bytes stand for
};

// The piece of `name` that starts its bytes: a run of valid UTF-8 (strict: no
// overlong forms, no encoded surrogates, nothing past U+10FFFF), or the bytes
// of one kept unit.
NamePiece NextNamePiece(std::string_view name, NameRule rule);

// The bytes a kept unit stands for, appended to `name`; false, with nothing
// appended, for a unit the rule never keeps.
bool AppendKeptUnit(std::string& name, char16_t unit, NameRule rule);

// A name, or a message that may hold one, as UTF-8 for people: each kept unit
// becomes U+FFFD. Text that is UTF-8 already comes back as it was.
std::string ShownText(std::string_view text);

// The same, safe to show on a terminal: control characters, which names and
// labels may hold, also become blanks.
std::string PrintableText(std::string_view text);

}  // namespace marrowick
