// The JSON back end. It writes as it goes, so that keys come out in the order
// the report names them (QJsonDocument would sort them).
#include <QJsonArray>
#include <QJsonObject>

#include <vector>

#include "file_names.h"
#include "printer.h"

namespace marrowick {
namespace {

constexpr char kHex[] = "0123456789abcdef";

// UTF-8 text, escaped as JSON needs.
void WriteEscaped(std::ostream& out, const std::string& text) {
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
            case '"':
                out << "\\\"";
                break;
            case '\\':
                out << "\\\\";
                break;
            case '\n':
                out << "\\n";
                break;
            case '\r':
                out << "\\r";
                break;
            case '\t':
                out << "\\t";
                break;
            default:
                if (byte < 0x20) {
                    out << "\\u00" << kHex[byte >> 4] << kHex[byte & 15];
                } else {
                    out << c;
                }
        }
    }
}

// A lone surrogate, a byte of a file name that is not UTF-8, is written as its
// \u escape, from which a script gets the byte back.
void WriteString(std::ostream& out, const QString& text) {
    out << '"';
    qsizetype written = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isSurrogate() && IsLoneSurrogate(text, i)) {
            WriteEscaped(out, text.mid(written, i - written).toStdString());
            const char16_t unit = text[i].unicode();
            out << "\\u" << kHex[unit >> 12] << kHex[(unit >> 8) & 15] << kHex[(unit >> 4) & 15]
                << kHex[unit & 15];
            written = i + 1;
        }
    }
    WriteEscaped(out, text.mid(written).toStdString());
    out << '"';
}

void WriteValue(std::ostream& out, const QJsonValue& value) {
    switch (value.type()) {
        case QJsonValue::Bool:
            out << (value.toBool() ? "true" : "false");
            break;
        case QJsonValue::Double:
            if (value.isDouble() && value.toDouble() == static_cast<double>(value.toInteger())) {
                out << value.toInteger();
            } else {
                out << value.toDouble();
            }
            break;
        case QJsonValue::String:
            WriteString(out, value.toString());
            break;
        case QJsonValue::Array: {
            out << '[';
            const char* separator = "";
            for (const QJsonValue& item : value.toArray()) {
                out << separator;
                WriteValue(out, item);
                separator = ", ";
            }
            out << ']';
            break;
        }
        case QJsonValue::Object: {
            out << '{';
            const char* separator = "";
            const QJsonObject object = value.toObject();
            for (auto it = object.begin(); it != object.end(); ++it) {
                out << separator;
                WriteString(out, it.key());
                out << ": ";
                WriteValue(out, it.value());
                separator = ", ";
            }
            out << '}';
            break;
        }
        case QJsonValue::Null:
        case QJsonValue::Undefined:
            out << "null";
            break;
    }
}

class JsonPrinter : public Printer {
  public:
    explicit JsonPrinter(std::ostream& out) : out_(out) {}

    void BeginRecord(const std::string& key) override { Open(key, '{'); }
    void EndRecord() override { Close('}'); }
    void BeginList(const std::string& key, const std::string&) override { Open(key, '['); }
    void EndList() override { Close(']'); }
    void Value(const std::string& key, const QJsonValue& value, const std::string&) override {
        Separate(key);
        WriteValue(out_, value);
    }

  private:
    void Separate(const std::string& key) {
        if (!first_.empty()) {
            if (!first_.back()) {
                out_ << ", ";
            }
            first_.back() = false;
        }
        if (!key.empty()) {
            WriteString(out_, QString::fromStdString(key));
            out_ << ": ";
        }
    }
    void Open(const std::string& key, char bracket) {
        Separate(key);
        out_ << bracket;
        first_.push_back(true);
    }
    void Close(char bracket) {
        out_ << bracket;
        first_.pop_back();
        if (first_.empty()) {
            out_ << '\n';
            out_.flush();
        }
    }

    std::ostream& out_;
    std::vector<bool> first_;  // per open bracket: nothing written inside it yet
};

}  // namespace

std::unique_ptr<Printer> MakeJsonPrinter(std::ostream& out) {
    return std::make_unique<JsonPrinter>(out);
}

}  // namespace marrowick
