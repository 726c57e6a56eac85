// The one way the tool writes a report: report code names each value once, and
// a back end lays it out, as text for people or as JSON for scripts.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <ostream>
#include <span>
#include <string_view>

#include "print_value.h"

namespace marrowick {

class Printer {
  public:
    virtual ~Printer() = default;

    // Prints the report `print` makes, which may be called more than once and
    // must make the same report each time. The text back end calls it once to
    // measure the report's tables and again to write them, so that a report of
    // a whole collection is never kept; other back ends call it once.
    virtual void PrintReport(const std::function<void()>& print) { print(); }

    // Whether the report is laid out for people (the text back end) rather
    // than for scripts. A report prints what only people read, such as advice
    // and lines that sum up a list, only then; scripts get the values they
    // sum up.
    virtual bool ForPeople() const { return false; }

    // A record: a JSON object. In text, a line of its headed values followed by
    // its lists, or a row when it is an item of a table. `key` names it inside
    // the enclosing record and is empty for an item of a list or a report.
    // Keys here and below are the report's own names: ASCII with nothing JSON
    // escapes, written as they are.
    virtual void BeginRecord(std::string_view key = {}) = 0;
    virtual void EndRecord() = 0;

    // A list of records. In text, a table whose columns are the items' headed
    // values, titled by `heading`; a list of records that hold lists of their own
    // is shown as one section per item instead. A column is as wide as its
    // widest cell, but no cell widens it past 255 characters.
    virtual void BeginList(std::string_view key, std::string_view heading = {}) = 0;
    virtual void EndList() = 0;

    // One value. `heading` names it in text; a value without a heading appears
    // in JSON only. A true boolean shows as its heading alone, false not at all.
    virtual void Value(std::string_view key, const PrintValue& value,
                       std::string_view heading = {}) = 0;

    // The same for the values a listing writes most, without building a
    // PrintValue where the back end has no need of one.
    virtual void Number(std::string_view key, std::int64_t value, std::string_view heading = {});
    // Text as a file holds it: Windows-1252 bytes.
    virtual void FileText(std::string_view key, std::string_view bytes,
                          std::string_view heading = {});
    // A list of UTF-8 texts, or of numbers.
    virtual void Texts(std::string_view key, std::initializer_list<std::string_view> texts,
                       std::string_view heading = {});
    virtual void Numbers(std::string_view key, std::span<const int> numbers,
                         std::string_view heading = {});
};

// Each top-level record is written as it goes, and `out` flushed when it ends.
std::unique_ptr<Printer> MakeTextPrinter(std::ostream& out);
// One JSON document per top-level record, one per line.
std::unique_ptr<Printer> MakeJsonPrinter(std::ostream& out);

}  // namespace marrowick
