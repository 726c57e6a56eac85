// The JSON back end. It writes as it goes, so that keys come out in the order
// the report names them (QJsonDocument would sort them), with a blank after
// each comma and colon. RapidJSON does the escaping and the numbers into a
// buffer that is written out whenever it has grown, and when each top-level
// record ends, with a flush.
#include <QJsonArray>
#include <QJsonObject>

#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include <sstream>
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
    void Value(std::string_view key, const QJsonValue& value, std::string_view) override {
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

    // A file name may hold bytes that are not UTF-8, kept as lone surrogates:
    // each is written as its \u escape, from which a script gets the byte back.
    void WriteText(const QString& text) {
        qsizetype lone = 0;
        while (lone < text.size() && !(text[lone].isSurrogate() && IsLoneSurrogate(text, lone))) {
            ++lone;
        }
        if (lone == text.size()) {
            scalars_.Text(text.toStdString());
            return;
        }
        // Each run between lone surrogates is escaped on its own, without its quotes.
        buffer_.Put('"');
        qsizetype written = 0;
        for (qsizetype i = lone; i <= text.size(); ++i) {
            if (i < text.size() && !(text[i].isSurrogate() && IsLoneSurrogate(text, i))) {
                continue;
            }
            rapidjson::StringBuffer run;
            rapidjson::Writer<rapidjson::StringBuffer> escaper(run);
            const std::string utf8 = text.mid(written, i - written).toStdString();
            escaper.String(utf8.data(), static_cast<rapidjson::SizeType>(utf8.size()));
            Put(std::string_view(run.GetString() + 1, run.GetSize() - 2));
            if (i < text.size()) {
                static constexpr char kHex[] = "0123456789abcdef";
                const char16_t unit = text[i].unicode();
                Put("\\u");
                for (const int shift : {12, 8, 4, 0}) {
                    buffer_.Put(kHex[(unit >> shift) & 15]);
                }
            }
            written = i + 1;
        }
        buffer_.Put('"');
    }

    void Write(const QJsonValue& value) {
        switch (value.type()) {
            case QJsonValue::Bool:
                Put(value.toBool() ? "true" : "false");
                break;
            case QJsonValue::Double:
                if (value.toDouble() == static_cast<double>(value.toInteger())) {
                    scalars_.Integer(value.toInteger());
                } else {
                    std::ostringstream number;  // not written by any report yet
                    number << value.toDouble();
                    Put(number.str());
                }
                break;
            case QJsonValue::String:
                WriteText(value.toString());
                break;
            case QJsonValue::Array: {
                Put("[");
                const char* separator = "";
                for (const QJsonValue& item : value.toArray()) {
                    Put(separator);
                    Write(item);
                    separator = ", ";
                }
                Put("]");
                break;
            }
            case QJsonValue::Object: {
                Put("{");
                const char* separator = "";
                const QJsonObject object = value.toObject();
                for (auto it = object.begin(); it != object.end(); ++it) {
                    Put(separator);
                    scalars_.Text(it.key().toStdString());
                    Put(": ");
                    Write(it.value());
                    separator = ", ";
                }
                Put("}");
                break;
            }
            case QJsonValue::Null:
            case QJsonValue::Undefined:
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
