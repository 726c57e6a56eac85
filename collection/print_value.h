// A value of a report, as the printer's back ends take it: what JSON can hold
// of a report, plus file names, which are bytes and need escaping of their own.
#pragma once

#include <concepts>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace marrowick {

// A file name as the system stores it (see file_names.h).
struct FileName {
    std::string bytes;
};

class PrintValue {
  public:
    enum class Kind { Null, Bool, Integer, Text, Name, List };

    PrintValue() = default;  // null
    PrintValue(bool value) : kind_(Kind::Bool), integer_(value ? 1 : 0) {}
    template <std::integral Integer>
    requires(!std::same_as<Integer, bool>) PrintValue(Integer value)
        : kind_(Kind::Integer), integer_(static_cast<std::int64_t>(value)) {}
    // UTF-8 text; a byte that is not UTF-8 shows as U+FFFD.
    PrintValue(std::string text) : kind_(Kind::Text), text_(std::move(text)) {}
    PrintValue(const char* text) : PrintValue(std::string(text)) {}
    PrintValue(FileName name) : kind_(Kind::Name), text_(std::move(name.bytes)) {}
    PrintValue(std::vector<PrintValue> items) : kind_(Kind::List), items_(std::move(items)) {}

    Kind kind() const { return kind_; }
    bool IsNull() const { return kind_ == Kind::Null; }
    bool AsBool() const { return integer_ != 0; }
    std::int64_t AsInteger() const { return integer_; }
    // The text, or the name's bytes.
    const std::string& AsText() const { return text_; }
    const std::vector<PrintValue>& Items() const { return items_; }

  private:
    Kind kind_ = Kind::Null;
    std::int64_t integer_ = 0;
    std::string text_;
    std::vector<PrintValue> items_;
};

}  // namespace marrowick
