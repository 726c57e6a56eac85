// The JSON back end. It writes as it goes, so that keys come out in the order
// the report names them, with a blank after each comma and colon. RapidJSON
// does the escaping and the numbers into a buffer that is written out whenever
// it has grown, and when each top-level record ends, with a flush.
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include <vector>

#include "cp1252.h"
#include "file_names.h"
#include "printer.h"

namespace marrowick {
namespace {

// RapidJSON's writer for single strings and numbers; the brackets and the
// separators between them are the printer's.
class Scalars : public rapidjson::Writer<rapidjson::StringBuffer> {
  public:
    using Writer::Writer;
    void Text(std::string_view utf8) {
        WriteString(utf8.data(), static_cast<rapidjson::SizeType>(utf8.size()));
    }
    void Integer(std::int64_t value) { WriteInt64(value); }
};

class JsonPrinter : public Printer {
  public:
    explicit JsonPrinter(std::ostream& out) : out_(out), scalars_(buffer_) {}

    void BeginRecord(std::string_view key) override { Open(key, '{'); }
    void EndRecord() override { Close('}'); }
    void BeginList(std::string_view key, std::string_view) override { Open(key, '['); }
    void EndList() override { Close(']'); }
    void Value(std::string_view key, const PrintValue& value, std::string_view) override {
        Separate(key);
        Write(value);
    }
    void Number(std::string_view key, std::int64_t value, std::string_view) override {
        Separate(key);
        scalars_.Integer(value);
    }
    void FileText(std::string_view key, std::string_view bytes, std::string_view) override {
        Separate(key);
        text_.clear();
        AppendCp1252AsUtf8(text_, bytes);
        scalars_.Text(text_);
    }
    void Texts(std::string_view key, std::initializer_list<std::string_view> texts,
               std::string_view) override {
        Separate(key);
        Put("[");
        const char* separator = "";
        for (const std::string_view text : texts) {
            Put(separator);
            scalars_.Text(text);
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
            scalars_.Integer(number);
            separator = ", ";
        }
        Put("]");
    }

  private:
    void Put(std::string_view text) {
        for (const char c : text) {
            buffer_.Put(c);
        }
    }

    void Separate(std::string_view key) {
        if (!first_.empty()) {
            if (!first_.back()) {
                Put(", ");
            }
            first_.back() = false;
        }
        if (!key.empty()) {
            scalars_.Text(key);
            Put(": ");
        }
    }
    void Open(std::string_view key, char bracket) {
        Separate(key);
        buffer_.Put(bracket);
        first_.push_back(true);
    }
    void Close(char bracket) {
        buffer_.Put(bracket);
        first_.pop_back();
        if (first_.empty()) {
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
            scalars_.Text(name);
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
                scalars_.Integer(value.AsInteger());
                break;
            case PrintValue::Kind::Text:
                if (const std::string& text = value.AsText();
                    NextNamePiece(text, SystemNameRule()).size == text.size()) {
                    scalars_.Text(text);
                } else {
                    scalars_.Text(ShownText(text));  // a message naming a file that is not UTF-8
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
    Scalars scalars_;
    std::string text_;         // reused for each text converted from a file
    std::vector<bool> first_;  // per open bracket: nothing written inside it yet
};

}  // namespace

std::unique_ptr<Printer> MakeJsonPrinter(std::ostream& out) {
    return std::make_unique<JsonPrinter>(out);
}

}  // namespace marrowick
