// The JSON back end. It writes as it goes, so that keys come out in the order
// the report names them, with a blank after each comma and colon, into a
// buffer that is written out whenever it has grown, and when each top-level
// record ends, with a flush. RapidJSON escapes the texts that need it; the
// brackets, keys, numbers and texts with nothing to escape (most of them) are
// copied in whole.
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include <array>
#include <cassert>
#include <charconv>
#include <cstdint>
#include <cstring>

#include "cp1252.h"
#include "file_names.h"
#include "printer.h"

namespace marrowick {
namespace {

// RapidJSON's escaping of a text, for texts that hold something to escape;
// the brackets, separators, keys and plain texts are the printer's.
class Escaper : public rapidjson::Writer<rapidjson::StringBuffer> {
  public:
    using Writer::Writer;
    void Text(std::string_view utf8) {
        WriteString(utf8.data(), static_cast<rapidjson::SizeType>(utf8.size()));
    }
};

// Whether a word of eight bytes holds one below 0x20, a quote or a backslash,
// and with `ascii`, one above 0x7F: one RapidJSON would escape, or one that
// Windows-1252 and UTF-8 write differently. (Each test is exact for the word as
// a whole, which is all that is asked.)
constexpr std::uint64_t kOnes = 0x0101010101010101u;
constexpr std::uint64_t kHighBits = 0x8080808080808080u;
constexpr bool Special(std::uint64_t word, bool ascii) {
    const auto below = [word](std::uint64_t n) { return (word - n * kOnes) & ~word & kHighBits; };
    const auto has = [word](std::uint64_t byte) {
        const std::uint64_t x = word ^ (byte * kOnes);
        return (x - kOnes) & ~x & kHighBits;
    };
    return (below(0x20) | has('"') | has('\\') | (ascii ? word & kHighBits : 0)) != 0;
}

// Per byte: whether RapidJSON writes it as it is, and whether it is ASCII too.
constexpr std::uint8_t kAsIs = 1, kAscii = 2;
constexpr std::array<std::uint8_t, 256> kPlainBytes = [] {
    std::array<std::uint8_t, 256> table{};
    for (std::size_t byte = 0x20; byte < table.size(); ++byte) {
        if (byte != '"' && byte != '\\') {
            table[byte] = byte < 0x80 ? kAsIs | kAscii : kAsIs;
        }
    }
    return table;
}();

// How many bytes at the start of `text` are written as they are between its
// quotes; with `ascii`, only as long as they are ASCII too.
std::size_t PlainLength(std::string_view text, bool ascii) {
    std::size_t at = 0;
    for (std::uint64_t word = 0; text.size() - at >= sizeof word; at += sizeof word) {
        std::memcpy(&word, text.data() + at, sizeof word);
        if (Special(word, ascii)) {
            break;
        }
    }
    const std::uint8_t wanted = ascii ? kAscii : kAsIs;
    while (at < text.size() && (kPlainBytes[static_cast<unsigned char>(text[at])] & wanted) != 0) {
        ++at;
    }
    return at;
}

// Copies `text` to `to`; keys and most texts of a listing are short enough to
// copy in two overlapping moves, without a call.
void Copy(char* to, std::string_view text) {
    const char* from = text.data();
    const std::size_t n = text.size();
    if (n > 16) {
        std::memcpy(to, from, n);
    } else if (n >= 8) {
        std::memcpy(to, from, 8);
        std::memcpy(to + n - 8, from + n - 8, 8);
    } else if (n >= 4) {
        std::memcpy(to, from, 4);
        std::memcpy(to + n - 4, from + n - 4, 4);
    } else {
        for (std::size_t i = 0; i < n; ++i) {
            to[i] = from[i];
        }
    }
}

class JsonPrinter : public Printer {
  public:
    explicit JsonPrinter(std::ostream& out) : out_(out), escaper_(buffer_) {}

    void BeginRecord(std::string_view key) override { Open(key, '{'); }
    void EndRecord() override { Close('}'); }
    void BeginList(std::string_view key, std::string_view) override { Open(key, '['); }
    void EndList() override { Close(']'); }
    void Value(std::string_view key, const PrintValue& value, std::string_view) override {
        Separate(key);
        Write(value);
    }
    void Number(std::string_view key, std::int64_t value, std::string_view) override {
        char* const start = Room(kSeparatorRoom + key.size() + kDigitsRoom);
        Commit(start, Digits(SeparateAt(start, key), value));
    }
    void FileText(std::string_view key, std::string_view bytes, std::string_view) override {
        Separate(key);
        const std::size_t plain = PlainLength(bytes, true);
        if (plain == bytes.size()) {
            Quoted(bytes);
        } else if (plain + AsciiLength(bytes.substr(plain)) == bytes.size()) {
            Escaped(bytes, plain);  // the same bytes in Windows-1252 and UTF-8
        } else {
            text_.clear();
            AppendCp1252AsUtf8(text_, bytes);
            Text(text_);
        }
    }
    void Texts(std::string_view key, std::initializer_list<std::string_view> texts,
               std::string_view) override {
        Separate(key);
        Put("[");
        const char* separator = "";
        for (const std::string_view text : texts) {
            Put(separator);
            Text(text);
            separator = ", ";
        }
        Put("]");
    }
    void Numbers(std::string_view key, std::span<const int> numbers, std::string_view) override {
        Separate(key);
        Put("[");
        const char* separator = "";
        for (const int number : numbers) {
            Put(separator);
            Integer(number);
            separator = ", ";
        }
        Put("]");
    }

  private:
    void Put(std::string_view text) {
        std::memcpy(buffer_.Push(text.size()), text.data(), text.size());
    }
    void Quoted(std::string_view text) {
        char* at = buffer_.Push(text.size() + 2);
        at[0] = '"';
        Copy(at + 1, text);
        at[text.size() + 1] = '"';
    }
    // UTF-8 text.
    void Text(std::string_view text) {
        const std::size_t plain = PlainLength(text, false);
        if (plain == text.size()) {
            Quoted(text);
        } else {
            Escaped(text, plain);
        }
    }
    // UTF-8 text whose first `plain` bytes need no escaping. The runs that
    // need none are copied; RapidJSON escapes each byte between them, within
    // quotes of its own that are taken out again.
    void Escaped(std::string_view text, std::size_t plain) {
        buffer_.Put('"');
        while (true) {
            char* at = buffer_.Push(plain);
            Copy(at, text.substr(0, plain));
            text.remove_prefix(plain);
            if (text.empty()) {
                break;
            }
            const std::size_t quote = buffer_.GetSize();
            escaper_.Text(text.substr(0, 1));
            const std::size_t escape = buffer_.GetSize() - quote - 2;
            char* written = buffer_.Push(0) - escape - 2;
            std::memmove(written, written + 1, escape);
            buffer_.Pop(2);
            text.remove_prefix(1);
            plain = PlainLength(text, false);
        }
        buffer_.Put('"');
    }
    // Where the next `length` bytes go, once there is room for them; Commit
    // keeps those written up to `end`.
    char* Room(std::size_t length) {
        buffer_.Reserve(length);
        return buffer_.PushUnsafe(0);
    }
    void Commit(const char* start, const char* end) {
        buffer_.PushUnsafe(static_cast<std::size_t>(end - start));
    }

    // The digits RapidJSON would write too, at `at`; returns their end.
    static constexpr std::size_t kDigitsRoom = 20;  // "-9223372036854775808"
    static char* Digits(char* at, std::int64_t value) {
        if (value >= 0 && value < 10) {
            *at = static_cast<char>('0' + value);  // most numbers of a listing
            return at + 1;
        }
        return std::to_chars(at, at + kDigitsRoom, value).ptr;
    }
    void Integer(std::int64_t value) {
        char* const start = Room(kDigitsRoom);
        Commit(start, Digits(start, value));
    }

    // The comma before a value that is not its container's first, and its key
    // (`, "key": `), at `at`; returns their end.
    static constexpr std::size_t kSeparatorRoom = 6;
    char* SeparateAt(char* at, std::string_view key) {
        const bool comma = depth_ > 0 && !first_;
        first_ = false;
        if (comma) {
            std::memcpy(at, ", ", 2);
            at += 2;
        }
        if (key.empty()) {
            return at;
        }
        assert(PlainLength(key, true) == key.size());
        *at++ = '"';
        Copy(at, key);
        std::memcpy(at + key.size(), "\": ", 3);
        return at + key.size() + 3;
    }
    void Separate(std::string_view key) {
        char* const start = Room(kSeparatorRoom + key.size());
        Commit(start, SeparateAt(start, key));
    }
    void Open(std::string_view key, char bracket) {
        Separate(key);
        buffer_.Put(bracket);
        ++depth_;
        first_ = true;
    }
    void Close(char bracket) {
        buffer_.Put(bracket);
        --depth_;
        first_ = false;
        if (depth_ == 0) {
            buffer_.Put('\n');
            Drain();
            out_.flush();
        } else if (buffer_.GetSize() >= kWrittenAtOnce) {
            Drain();  // a report of a whole collection is not kept
        }
    }
    void Drain() {
        out_.write(buffer_.GetString(), static_cast<std::streamsize>(buffer_.GetSize()));
        buffer_.Clear();
    }

    // A file name may hold pieces that are not UTF-8: each is written as the \u
    // escape of the unit it stands for, from which a script gets the name back.
    void WriteName(std::string_view name) {
        const NameRule rule = SystemNameRule();
        NamePiece piece = NextNamePiece(name, rule);
        if (piece.size == name.size() && piece.kept == 0) {
            Text(name);
            return;
        }
        // Each run of UTF-8 is escaped on its own, without its quotes.
        buffer_.Put('"');
        for (; !name.empty(); name.remove_prefix(piece.size), piece = NextNamePiece(name, rule)) {
            if (piece.kept == 0) {
                rapidjson::StringBuffer run;
                rapidjson::Writer<rapidjson::StringBuffer> escaper(run);
                escaper.String(name.data(), static_cast<rapidjson::SizeType>(piece.size));
                Put(std::string_view(run.GetString() + 1, run.GetSize() - 2));
                continue;
            }
            static constexpr char kHex[] = "0123456789abcdef";
            Put("\\u");
            for (const int shift : {12, 8, 4, 0}) {
                buffer_.Put(kHex[(piece.kept >> shift) & 15]);
            }
        }
        buffer_.Put('"');
    }

    void Write(const PrintValue& value) {
        switch (value.kind()) {
            case PrintValue::Kind::Bool:
                Put(value.AsBool() ? "true" : "false");
                break;
            case PrintValue::Kind::Integer:
                Integer(value.AsInteger());
                break;
            case PrintValue::Kind::Text:
                if (const std::string& text = value.AsText();
                    NextNamePiece(text, SystemNameRule()).size == text.size()) {
                    Text(text);
                } else {
                    Text(ShownText(text));  // a message naming a file that is not UTF-8
                }
                break;
            case PrintValue::Kind::Name:
                WriteName(value.AsText());
                break;
            case PrintValue::Kind::List: {
                Put("[");
                const char* separator = "";
                for (const PrintValue& item : value.Items()) {
                    Put(separator);
                    Write(item);
                    separator = ", ";
                }
                Put("]");
                break;
            }
            case PrintValue::Kind::Null:
                Put("null");
                break;
        }
    }

    static constexpr std::size_t kWrittenAtOnce = 64 * 1024;
    std::ostream& out_;
    rapidjson::StringBuffer buffer_;
    Escaper escaper_;
    std::string text_;    // reused for each text converted from a file
    int depth_ = 0;       // brackets open
    bool first_ = false;  // nothing written yet inside the innermost open bracket
};

}  // namespace

std::unique_ptr<Printer> MakeJsonPrinter(std::ostream& out) {
    return std::make_unique<JsonPrinter>(out);
}

}  // namespace marrowick
