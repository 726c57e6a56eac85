#include "printer.h"

#include <string>
#include <utility>
#include <vector>

#include "cp1252.h"

namespace marrowick {

void Printer::Number(std::string_view key, std::int64_t value, std::string_view heading) {
    Value(key, value, heading);
}

void Printer::FileText(std::string_view key, std::string_view bytes, std::string_view heading) {
    Value(key, Cp1252ToUtf8(bytes), heading);
}

void Printer::Texts(std::string_view key, std::initializer_list<std::string_view> texts,
                    std::string_view heading) {
    std::vector<PrintValue> list;
    for (const std::string_view text : texts) {
        list.emplace_back(std::string(text));
    }
    Value(key, std::move(list), heading);
}

void Printer::Numbers(std::string_view key, std::span<const int> numbers,
                      std::string_view heading) {
    std::vector<PrintValue> list;
    for (const int number : numbers) {
        list.emplace_back(number);
    }
    Value(key, std::move(list), heading);
}

}  // namespace marrowick
