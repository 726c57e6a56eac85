// The text back end. It keeps each top-level record as a small tree until the
// record ends, because a table's column widths depend on all its rows.
#include <QJsonArray>
#include <QStringList>

#include <algorithm>
#include <vector>

#include "file_names.h"
#include "printer.h"

namespace marrowick {
namespace {

struct Node {
    enum class Kind { Record, List, Value } kind;
    std::string heading;
    QJsonValue value;
    std::vector<std::unique_ptr<Node>> children;

    bool HasList() const {
        return std::any_of(children.begin(), children.end(),
                           [](const auto& child) { return child->kind == Kind::List; });
    }
};

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

class TextPrinter : public Printer {
  public:
    explicit TextPrinter(std::ostream& out) : out_(out) {}

    void BeginRecord(const std::string&) override { Open(Node::Kind::Record, {}); }
    void EndRecord() override { Close(); }
    void BeginList(const std::string&, const std::string& heading) override {
        Open(Node::Kind::List, heading);
    }
    void EndList() override { Close(); }
    void Value(const std::string&, const QJsonValue& value, const std::string& heading) override {
        if (!open_.empty()) {
            open_.back()->children.push_back(
                std::make_unique<Node>(Node{Node::Kind::Value, heading, value, {}}));
        }
    }

  private:
    void Open(Node::Kind kind, const std::string& heading) {
        auto node = std::make_unique<Node>(Node{kind, heading, {}, {}});
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
            out_.flush();
            root_.reset();
        }
    }

    void Line(int indent, const QString& text) {
        out_ << std::string(static_cast<std::size_t>(indent), ' ') << text.toStdString() << '\n';
    }

    void WriteRecord(const Node& record, int indent) {
        QStringList parts;
        for (const auto& child : record.children) {
            if (child->kind != Node::Kind::Value || child->heading.empty()) {
                continue;
            }
            const QString heading = QString::fromStdString(child->heading);
            if (child->value.isBool()) {
                if (child->value.toBool()) {
                    parts << heading;
                }
            } else if (!child->value.isNull()) {
                parts << heading + QStringLiteral(": ") + Cell(child->value);
            }
        }
        if (!parts.isEmpty()) {
            Line(indent, parts.join(QStringLiteral("  ")));
        }
        const int inner = parts.isEmpty() ? indent : indent + 2;
        for (const auto& child : record.children) {
            if (child->kind == Node::Kind::List) {
                WriteList(*child, inner);
            } else if (child->kind == Node::Kind::Record) {
                WriteRecord(*child, inner);
            }
        }
    }

    void WriteList(const Node& list, int indent) {
        const QString heading = QString::fromStdString(list.heading);
        if (!heading.isEmpty()) {
            Line(indent, list.children.empty() ? heading + QStringLiteral(": none")
                                               : heading + QLatin1Char(':'));
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

    void WriteTable(const Node& list, int indent) {
        std::vector<QStringList> rows(1);  // the first row holds the headings
        for (const auto& item : list.children) {
            QStringList row;
            for (const auto& cell : item->children) {
                if (cell->kind != Node::Kind::Value || cell->heading.empty()) {
                    continue;
                }
                if (&item == &list.children.front()) {
                    rows.front() << QString::fromStdString(cell->heading);
                }
                row << Cell(cell->value);
            }
            rows.push_back(row);
        }
        if (rows.front().isEmpty()) {
            return;
        }
        std::vector<qsizetype> widths(static_cast<std::size_t>(rows.front().size()), 0);
        for (const QStringList& row : rows) {
            for (qsizetype c = 0; c < row.size() && c < static_cast<qsizetype>(widths.size());
                 ++c) {
                auto& width = widths[static_cast<std::size_t>(c)];
                width = std::max(width, row[c].size());
            }
        }
        for (const QStringList& row : rows) {
            QString text;
            for (qsizetype c = 0; c < row.size(); ++c) {
                const bool last = c + 1 == row.size();
                text += last ? row[c]
                             : row[c].leftJustified(widths[static_cast<std::size_t>(c)]) +
                                   QStringLiteral("  ");
            }
            Line(indent, text);
        }
    }

    std::ostream& out_;
    std::unique_ptr<Node> root_;
    std::vector<Node*> open_;
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
