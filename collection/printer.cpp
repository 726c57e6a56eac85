#include "printer.h"

#include <QJsonArray>

#include "cp1252.h"

namespace marrowick {

void Printer::Number(std::string_view key, std::int64_t value, std::string_view heading) {
    Value(key, QJsonValue(static_cast<qint64>(value)), heading);
}

void Printer::FileText(std::string_view key, std::string_view bytes, std::string_view heading) {
    Value(key, QString::fromStdString(Cp1252ToUtf8(bytes)), heading);
}

void Printer::Texts(std::string_view key, std::initializer_list<std::string_view> texts,
                    std::string_view heading) {
    QJsonArray list;
    for (const std::string_view text : texts) {
        list.append(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    }
    Value(key, list, heading);
}

void Printer::Numbers(std::string_view key, std::span<const int> numbers,
                      std::string_view heading) {
    QJsonArray list;
    for (const int number : numbers) {
        list.append(number);
    }
    Value(key, list, heading);
}

}  // namespace marrowick
