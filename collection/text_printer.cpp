// The text back end. It keeps each top-level record as a small tree until the
// record ends, because a table's column widths depend on all its rows. Values
// are kept as the UTF-8 text of their cell, rendered once, and each record's
// lines are written out in one piece.
#include <QJsonArray>
#include <QStringList>

#include <algorithm>
#include <array>
#include <charconv>
#include <vector>

#include "cp1252.h"
#include "file_names.h"
#include "printer.h"

namespace marrowick {
namespace {

QString Cell(const QJsonValue& value) {
    switch (value.type()) {
        case QJsonValue::Bool:
            return value.toBool() ? QStringLiteral("yes") : QString();
        case QJsonValue::Double:
            return QString::number(value.toInteger());
        case QJsonValue::String:
            return PrintableText(value.toString());
        case QJsonValue::Array: {
            QStringList parts;
            for (const QJsonValue& item : value.toArray()) {
                parts << Cell(item);
            }
            return parts.join(QLatin1Char(' '));
        }
        default:
            return {};
    }
}

// How wide UTF-8 text shows in a column: one per UTF-16 unit, as the table
// has always counted.
std::size_t Width(std::string_view utf8) {
    std::size_t width = 0;
    for (const char c : utf8) {
        const auto byte = static_cast<std::uint8_t>(c);
        width += (byte & 0xC0) != 0x80 ? 1 : 0;
        width += byte >= 0xF0 ? 1 : 0;  // a surrogate pair
    }
    return width;
}

// Windows-1252 bytes that are control characters (C0, DEL and the C1 codes
// the five undefined bytes stand for) show as blanks.
constexpr std::array<bool, 256> kControl = [] {
    std::array<bool, 256> control{};
    for (int byte = 0; byte < 0x20; ++byte) {
        control[static_cast<std::size_t>(byte)] = true;
    }
    for (const int byte : {0x7F, 0x81, 0x8D, 0x8F, 0x90, 0x9D}) {
        control[static_cast<std::size_t>(byte)] = true;
    }
    return control;
}();

struct Node {
    enum class Kind { Record, List, Value };
    Node(Kind k, std::string_view h) : kind(k), heading(h) {}

    Kind kind;
    std::string heading;
    std::vector<std::unique_ptr<Node>> children;
    // For a value: its cell, and whether it is shown at all in a record's line
    // (false and null are not; true shows as its heading alone).
    std::string cell;
    std::size_t width = 0;
    bool shown = true;
    bool headingAlone = false;

    bool HasList() const {
        return std::any_of(children.begin(), children.end(),
                           [](const auto& child) { return child->kind == Kind::List; });
    }
};

class TextPrinter : public Printer {
  public:
    explicit TextPrinter(std::ostream& out) : out_(out) {}

    void BeginRecord(std::string_view) override { Open(Node::Kind::Record, {}); }
    void EndRecord() override { Close(); }
    void BeginList(std::string_view, std::string_view heading) override {
        Open(Node::Kind::List, heading);
    }
    void EndList() override { Close(); }

    // Values without a heading are for JSON only: they are not kept.
    void Value(std::string_view, const QJsonValue& value, std::string_view heading) override {
        if (Node* node = AddValue(heading)) {
            node->cell = Cell(value).toStdString();
            node->width = Width(node->cell);
            node->shown = !value.isNull() && !(value.isBool() && !value.toBool());
            node->headingAlone = value.isBool();
        }
    }
    void Number(std::string_view, std::int64_t value, std::string_view heading) override {
        if (Node* node = AddValue(heading)) {
            std::array<char, 24> digits{};
            const auto end = std::to_chars(digits.begin(), digits.end(), value).ptr;
            node->cell.assign(digits.data(), end);
            node->width = node->cell.size();
        }
    }
    void FileText(std::string_view, std::string_view bytes, std::string_view heading) override {
        if (Node* node = AddValue(heading)) {
            std::string shown(bytes);
            for (char& c : shown) {
                c = kControl[static_cast<std::uint8_t>(c)] ? ' ' : c;
            }
            AppendCp1252AsUtf8(node->cell, shown);
            node->width = bytes.size();
        }
    }
    void Texts(std::string_view, std::initializer_list<std::string_view> texts,
               std::string_view heading) override {
        if (Node* node = AddValue(heading)) {
            const char* separator = "";
            for (const std::string_view text : texts) {
                node->cell += separator;
                node->cell += text;
                separator = " ";
            }
            for (char& c : node->cell) {
                c = static_cast<std::uint8_t>(c) < 0x20 || c == 0x7F ? ' ' : c;
            }
            node->width = Width(node->cell);
        }
    }

    void Numbers(std::string_view key, std::span<const int> numbers,
                 std::string_view heading) override {
        if (!heading.empty()) {
            Printer::Numbers(key, numbers, heading);
        }
    }

  private:
    Node* AddValue(std::string_view heading) {
        if (open_.empty() || heading.empty()) {
            return nullptr;
        }
        auto& children = open_.back()->children;
        children.push_back(std::make_unique<Node>(Node::Kind::Value, heading));
        return children.back().get();
    }

    void Open(Node::Kind kind, std::string_view heading) {
        auto node = std::make_unique<Node>(kind, heading);
        Node* raw = node.get();
        if (open_.empty()) {
            root_ = std::move(node);
        } else {
            open_.back()->children.push_back(std::move(node));
        }
        open_.push_back(raw);
    }
    void Close() {
        open_.pop_back();
        if (open_.empty() && root_) {
            if (root_->kind == Node::Kind::Record) {
                WriteRecord(*root_, 0);
            } else {
                WriteList(*root_, 0);
            }
            out_.write(text_.data(), static_cast<std::streamsize>(text_.size()));
            out_.flush();
            text_.clear();
            root_.reset();
        }
    }

    void Indent(int indent) { text_.append(static_cast<std::size_t>(indent), ' '); }

    void WriteRecord(const Node& record, int indent) {
        bool any = false;
        for (const auto& child : record.children) {
            if (child->kind != Node::Kind::Value || !child->shown) {
                continue;
            }
            if (any) {
                text_ += "  ";
            } else {
                Indent(indent);
                any = true;
            }
            text_ += child->heading;
            if (!child->headingAlone) {
                text_ += ": ";
                text_ += child->cell;
            }
        }
        if (any) {
            text_ += '\n';
        }
        const int inner = any ? indent + 2 : indent;
        for (const auto& child : record.children) {
            if (child->kind == Node::Kind::List) {
                WriteList(*child, inner);
            } else if (child->kind == Node::Kind::Record) {
                WriteRecord(*child, inner);
            }
        }
    }

    void WriteList(const Node& list, int indent) {
        if (!list.heading.empty()) {
            Indent(indent);
            text_ += list.heading;
            text_ += list.children.empty() ? ": none\n" : ":\n";
            indent += 2;
        }
        const bool sections = std::any_of(list.children.begin(), list.children.end(),
                                          [](const auto& item) { return item->HasList(); });
        if (sections) {
            for (const auto& item : list.children) {
                WriteRecord(*item, indent);
            }
        } else {
            WriteTable(list, indent);
        }
    }

    // The first item's values name the columns; each column is as wide as its
    // widest cell or heading, and the last is not padded.
    void WriteTable(const Node& list, int indent) {
        if (list.children.empty()) {
            return;
        }
        const auto cells = [](const Node& item) {
            std::vector<const Node*> values;
            for (const auto& child : item.children) {
                if (child->kind == Node::Kind::Value) {
                    values.push_back(child.get());
                }
            }
            return values;
        };
        const std::vector<const Node*> columns = cells(*list.children.front());
        if (columns.empty()) {
            return;
        }
        std::vector<std::size_t> widths;
        for (const Node* column : columns) {
            widths.push_back(Width(column->heading));
        }
        std::vector<std::vector<const Node*>> rows;
        for (const auto& item : list.children) {
            rows.push_back(cells(*item));
            for (std::size_t c = 0; c < rows.back().size() && c < widths.size(); ++c) {
                widths[c] = std::max(widths[c], rows.back()[c]->width);
            }
        }
        const auto writeRow = [&](std::size_t count, const auto& text, const auto& width) {
            Indent(indent);
            for (std::size_t c = 0; c < count; ++c) {
                text_ += text(c);
                if (c + 1 < count) {
                    const std::size_t shown = width(c);
                    const std::size_t column = c < widths.size() ? widths[c] : shown;
                    text_.append(std::max(column, shown) - shown + 2, ' ');
                }
            }
            text_ += '\n';
        };
        writeRow(
            columns.size(),
            [&](std::size_t c) -> const std::string& { return columns[c]->heading; },
            [&](std::size_t c) { return Width(columns[c]->heading); });
        for (const auto& row : rows) {
            writeRow(
                row.size(), [&](std::size_t c) -> const std::string& { return row[c]->cell; },
                [&](std::size_t c) { return row[c]->width; });
        }
    }

    std::ostream& out_;
    std::unique_ptr<Node> root_;
    std::vector<Node*> open_;
    std::string text_;  // the lines of the record being written
};

}  // namespace

QString PrintableText(const QString& text) {
    QString shown = text;
    for (qsizetype i = 0; i < shown.size(); ++i) {
        if (shown[i].category() == QChar::Other_Control) {
            shown[i] = QLatin1Char(' ');
        } else if (shown[i].isSurrogate() && IsLoneSurrogate(text, i)) {
            shown[i] = QChar::ReplacementCharacter;  // a byte of a name that is not UTF-8
        }
    }
    return shown;
}

std::unique_ptr<Printer> MakeTextPrinter(std::ostream& out) {
    return std::make_unique<TextPrinter>(out);
}

}  // namespace marrowick
