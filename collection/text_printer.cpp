// The text back end. A table's columns are as wide as their widest cells (up
// to a cap), so no row can be written before every row is known. A report
// printed through PrintReport is therefore made twice, once to measure its
// tables and once to write them, and nothing of its rows is kept; any other
// record is kept as a compact log of its values until it ends, then laid out
// the same two ways. Output is written out as it grows, and flushed when each
// top-level record ends.
#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "cp1252.h"
#include "file_names.h"
#include "printer.h"

namespace marrowick {
namespace {

// The most a cell widens its column: wide enough for any file name and most
// paths, so that real tables line up as ever, while one long member name or
// label cannot pad every other row to its length. A longer cell is written
// whole and overflows its column.
constexpr std::size_t kWidestColumn = 255;
// Large enough to cost few writes, small enough that a long report is not kept.
constexpr std::size_t kWrittenAtOnce = 64 * 1024;

std::string CellText(const PrintValue& value) {
    switch (value.kind()) {
        case PrintValue::Kind::Bool:
            return value.AsBool() ? "yes" : "";
        case PrintValue::Kind::Integer:
            return std::to_string(value.AsInteger());
        case PrintValue::Kind::Text:
        case PrintValue::Kind::Name:
            return PrintableText(value.AsText());
        case PrintValue::Kind::List: {
            std::string parts;
            const char* separator = "";
            for (const PrintValue& item : value.Items()) {
                parts += separator;
                parts += CellText(item);
                separator = " ";
            }
            return parts;
        }
        case PrintValue::Kind::Null:
            break;
    }
    return {};
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

// A value as a record's line or a table shows it.
struct Cell {
    std::string_view heading;
    std::string_view text;  // UTF-8
    std::size_t width = 0;
    // False and null are not shown on a record's line; true shows as its
    // heading alone. In a table every value is a cell.
    bool shown = true;
    bool headingAlone = false;
};

// What a table, or a list of sections, needs known before its first line.
struct ListFacts {
    bool empty = true;
    bool sections = false;              // an item holds a list: a section per item
    std::vector<std::string> headings;  // the first item's values name the columns
    std::vector<std::size_t> widths;
};

// The events of a report, in order. Both passes number its lists and records
// the same way, which is how the second finds what the first measured.
class Layout {
  public:
    virtual ~Layout() = default;
    virtual void Open(bool list, std::string_view heading) = 0;
    virtual void Close() = 0;
    virtual void Add(const Cell& cell) = 0;
};

// The first pass: each list's facts, and the line of any record that gives a
// shown value after a list or record of its own has begun (no report does),
// since its line comes before them.
class Measure final : public Layout {
  public:
    std::vector<ListFacts> lists;
    std::map<std::size_t, std::string> lateLines;  // by the record's number

    void Reset() {
        lists.clear();
        lateLines.clear();
        records_ = 0;
    }
    void Open(bool list, std::string_view) override {
        Frame* parent = open_.empty() ? nullptr : &open_.back();
        Frame frame;
        frame.list = list;
        if (parent != nullptr) {
            parent->inner = true;
            if (list && parent->item) {
                lists[parent->of].sections = true;
            }
        }
        if (list) {
            frame.of = lists.size();
            lists.emplace_back();
        } else {
            frame.number = records_++;
            if (parent != nullptr && parent->list) {
                frame.item = true;
                frame.of = parent->of;
                frame.first = lists[frame.of].empty;
                lists[frame.of].empty = false;
            }
        }
        open_.push_back(std::move(frame));
    }
    void Close() override {
        if (open_.back().late) {
            lateLines.emplace(open_.back().number, std::move(open_.back().line));
        }
        open_.pop_back();
    }
    void Add(const Cell& cell) override {
        if (open_.empty() || open_.back().list) {
            return;
        }
        Frame& record = open_.back();
        if (cell.shown) {
            record.late = record.late || record.inner;
            record.line += record.line.empty() ? "" : "  ";
            record.line += cell.heading;
            if (!cell.headingAlone) {
                record.line += ": ";
                record.line += cell.text;
            }
        }
        if (record.item) {
            ListFacts& facts = lists[record.of];
            if (record.first) {
                facts.headings.emplace_back(cell.heading);
                facts.widths.push_back(Width(cell.heading));
            }
            if (record.cells < facts.widths.size()) {
                std::size_t& width = facts.widths[record.cells];
                width = std::max(width, std::min(cell.width, kWidestColumn));
            }
            ++record.cells;
        }
    }

  private:
    struct Frame {
        bool list = false;
        bool item = false;   // a record that is an item of a list
        bool first = false;  // ... its first
        bool inner = false;  // a list or record has begun inside it
        bool late = false;   // a shown value came after that
        std::size_t of = 0;  // the list's number: its own, or an item's list's
        std::size_t number = 0;
        std::size_t cells = 0;
        std::string line;
    };
    std::vector<Frame> open_;
    std::size_t records_ = 0;
};

// The second pass: the lines, written out as they grow.
class Write final : public Layout {
  public:
    Write(std::ostream& out, const Measure& measured) : out_(out), measured_(measured) {}

    void Reset() { lists_ = records_ = 0; }
    void Open(bool list, std::string_view heading) override {
        Frame* parent = open_.empty() ? nullptr : &open_.back();
        Frame frame;
        if (parent != nullptr && (parent->kind == Kind::Row || parent->kind == Kind::Silent)) {
            frame.kind = Kind::Silent;  // a row shows its own values only
        } else if (parent != nullptr && parent->kind == Kind::Record) {
            EndLine(*parent);
            frame.indent = parent->any ? parent->indent + 2 : parent->indent;
        } else if (parent != nullptr) {
            frame.indent = parent->indent;
        }
        if (list) {
            frame.facts = &measured_.lists[lists_++];
            if (frame.kind != Kind::Silent) {
                OpenList(frame, heading);
            }
            open_.push_back(frame);
            return;
        }
        const std::size_t number = records_++;
        if (frame.kind != Kind::Silent && parent != nullptr && parent->kind == Kind::List) {
            frame.facts = parent->facts;
            frame.kind = frame.facts->sections           ? Kind::Record
                         : frame.facts->headings.empty() ? Kind::Silent
                                                         : Kind::Row;
        }
        const auto late = measured_.lateLines.find(number);
        if (frame.kind == Kind::Record && late != measured_.lateLines.end()) {
            Indent(frame.indent);
            text_ += late->second;
            frame.any = true;
            EndLine(frame);
        }
        open_.push_back(frame);
    }
    void Close() override {
        Frame& frame = open_.back();
        if (frame.kind == Kind::Record) {
            EndLine(frame);
        } else if (frame.kind == Kind::Row) {
            if (frame.cells == 0) {
                Indent(frame.indent);
            }
            text_ += '\n';
        }
        open_.pop_back();
        if (open_.empty()) {
            Drain();
            out_.flush();
        } else if (text_.size() >= kWrittenAtOnce) {
            Drain();
        }
    }
    void Add(const Cell& cell) override {
        if (open_.empty()) {
            return;
        }
        Frame& frame = open_.back();
        if (frame.kind == Kind::Row) {
            Next(frame, cell.text, cell.width);
        } else if (frame.kind == Kind::Record && cell.shown && !frame.ended) {
            if (frame.any) {
                text_ += "  ";
            } else {
                Indent(frame.indent);
                frame.any = true;
            }
            text_ += cell.heading;
            if (!cell.headingAlone) {
                text_ += ": ";
                text_ += cell.text;
            }
        }
    }

  private:
    enum class Kind { Record, List, Row, Silent };
    struct Frame {
        Kind kind = Kind::Record;
        std::size_t indent = 0;
        const ListFacts* facts = nullptr;  // a list's, or a row's list's
        bool any = false;                  // a record: its line has begun
        bool ended = false;                // ... and ended
        std::size_t cells = 0;             // a row's cells so far
        std::size_t lastWidth = 0;         // ... and the width of the last
    };

    void Indent(std::size_t indent) { text_.append(indent, ' '); }
    void EndLine(Frame& record) {
        if (record.any && !record.ended) {
            text_ += '\n';
        }
        record.ended = true;
    }
    void OpenList(Frame& list, std::string_view heading) {
        list.kind = Kind::List;
        if (!heading.empty()) {
            Indent(list.indent);
            text_ += heading;
            text_ += list.facts->empty ? ": none\n" : ":\n";
            list.indent += 2;
        }
        if (list.facts->sections || list.facts->headings.empty()) {
            return;
        }
        Frame header = list;
        for (const std::string& column : list.facts->headings) {
            Next(header, column, Width(column));
        }
        text_ += '\n';
    }
    // A cell of a row: the padding of the one before, then its text. The last
    // cell is not padded; one wider than its column overflows it.
    void Next(Frame& row, std::string_view text, std::size_t width) {
        if (row.cells == 0) {
            Indent(row.indent);
        } else {
            const std::vector<std::size_t>& widths = row.facts->widths;
            const std::size_t c = row.cells - 1;
            const std::size_t column = c < widths.size() ? widths[c] : row.lastWidth;
            text_.append(std::max(column, row.lastWidth) - row.lastWidth + 2, ' ');
        }
        text_ += text;
        row.lastWidth = width;
        ++row.cells;
    }
    void Drain() {
        out_.write(text_.data(), static_cast<std::streamsize>(text_.size()));
        text_.clear();
    }

    std::ostream& out_;
    const Measure& measured_;
    std::vector<Frame> open_;
    std::size_t lists_ = 0;
    std::size_t records_ = 0;
    std::string text_;
};

// A record printed outside PrintReport, kept until it ends: its events one
// after another in one buffer, each a tag and its fields.
class Log final : public Layout {
  public:
    void Clear() { bytes_.clear(); }
    void Open(bool list, std::string_view heading) override {
        bytes_ += list ? 'L' : 'R';
        Put(heading);
    }
    void Close() override { bytes_ += ')'; }
    void Add(const Cell& cell) override {
        bytes_ += static_cast<char>('0' + (cell.shown ? 1 : 0) + (cell.headingAlone ? 2 : 0));
        Put(cell.heading);
        Put(cell.text);
        Put(cell.width);
    }
    void Replay(Layout& to) const {
        for (std::size_t at = 0; at < bytes_.size();) {
            const char tag = bytes_[at++];
            if (tag == ')') {
                to.Close();
            } else if (tag == 'L' || tag == 'R') {
                to.Open(tag == 'L', Text(at));
            } else {
                Cell cell;
                cell.shown = ((tag - '0') & 1) != 0;
                cell.headingAlone = ((tag - '0') & 2) != 0;
                cell.heading = Text(at);
                cell.text = Text(at);
                cell.width = Size(at);
                to.Add(cell);
            }
        }
    }

  private:
    void Put(std::size_t size) {
        char field[sizeof size];
        std::memcpy(field, &size, sizeof size);
        bytes_.append(field, sizeof size);
    }
    void Put(std::string_view text) {
        Put(text.size());
        bytes_ += text;
    }
    std::size_t Size(std::size_t& at) const {
        std::size_t size = 0;
        std::memcpy(&size, bytes_.data() + at, sizeof size);
        at += sizeof size;
        return size;
    }
    std::string_view Text(std::size_t& at) const {
        const std::size_t size = Size(at);
        at += size;
        return {bytes_.data() + at - size, size};
    }

    std::string bytes_;
};

class TextPrinter : public Printer {
  public:
    explicit TextPrinter(std::ostream& out) : write_(out, measure_) {}

    void PrintReport(const std::function<void()>& print) override {
        if (depth_ > 0) {
            print();  // inside a record already: it is kept with it
            return;
        }
        measure_.Reset();
        layout_ = &measure_;
        print();
        write_.Reset();
        layout_ = &write_;
        print();
        layout_ = &log_;
    }

    bool ForPeople() const override { return true; }

    void BeginRecord(std::string_view) override { Open(false, {}); }
    void EndRecord() override { Close(); }
    void BeginList(std::string_view, std::string_view heading) override { Open(true, heading); }
    void EndList() override { Close(); }

    // Values without a heading are for JSON only: they are not kept.
    void Value(std::string_view, const PrintValue& value, std::string_view heading) override {
        if (!heading.empty()) {
            const bool isBool = value.kind() == PrintValue::Kind::Bool;
            cell_ = CellText(value);
            Add(heading, Width(cell_), !value.IsNull() && !(isBool && !value.AsBool()), isBool);
        }
    }
    void Number(std::string_view, std::int64_t value, std::string_view heading) override {
        if (!heading.empty()) {
            std::array<char, 24> digits{};
            const auto end = std::to_chars(digits.begin(), digits.end(), value).ptr;
            cell_.assign(digits.data(), end);
            Add(heading, cell_.size());
        }
    }
    void FileText(std::string_view, std::string_view bytes, std::string_view heading) override {
        if (!heading.empty()) {
            shown_.assign(bytes);
            for (char& c : shown_) {
                c = kControl[static_cast<std::uint8_t>(c)] ? ' ' : c;
            }
            cell_.clear();
            AppendCp1252AsUtf8(cell_, shown_);
            Add(heading, bytes.size());
        }
    }
    void Texts(std::string_view, std::initializer_list<std::string_view> texts,
               std::string_view heading) override {
        if (!heading.empty()) {
            cell_.clear();
            const char* separator = "";
            for (const std::string_view text : texts) {
                cell_ += separator;
                cell_ += text;
                separator = " ";
            }
            for (char& c : cell_) {
                c = static_cast<std::uint8_t>(c) < 0x20 || c == 0x7F ? ' ' : c;
            }
            Add(heading, Width(cell_));
        }
    }
    void Numbers(std::string_view key, std::span<const int> numbers,
                 std::string_view heading) override {
        if (!heading.empty()) {
            Printer::Numbers(key, numbers, heading);
        }
    }

  private:
    void Open(bool list, std::string_view heading) {
        ++depth_;
        layout_->Open(list, heading);
    }
    void Close() {
        layout_->Close();
        if (--depth_ == 0 && layout_ == &log_) {
            measure_.Reset();
            log_.Replay(measure_);
            write_.Reset();
            log_.Replay(write_);
            log_.Clear();
        }
    }
    // A value outside any record is for nobody.
    void Add(std::string_view heading, std::size_t width, bool shown = true,
             bool headingAlone = false) {
        if (depth_ > 0) {
            layout_->Add({heading, cell_, width, shown, headingAlone});
        }
    }

    Measure measure_;
    Write write_;
    Log log_;
    Layout* layout_ = &log_;
    std::size_t depth_ = 0;  // records and lists open
    std::string cell_;       // the value being added, as shown
    std::string shown_;
};

}  // namespace

std::unique_ptr<Printer> MakeTextPrinter(std::ostream& out) {
    return std::make_unique<TextPrinter>(out);
}

}  // namespace marrowick
