// The JSON back end against RapidJSON's own writer, on values made here rather
// than read from files. (The grouping of GUIDs is tested through the program.)
#include <gtest/gtest.h>
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include <climits>
#include <functional>
#include <sstream>

#include "cp1252.h"
#include "printer.h"

namespace marrowick {
namespace {

// One record holding what `print` writes, as the JSON back end writes it.
std::string JsonLine(const std::function<void(Printer&)>& print) {
    std::ostringstream out;
    const std::unique_ptr<Printer> printer = MakeJsonPrinter(out);
    printer->BeginRecord();
    print(*printer);
    printer->EndRecord();
    return out.str();
}

// A JSON string as RapidJSON writes it. (A buffer type of its own, so that this
// writer shares no code with the printer's.)
std::string RapidJsonString(std::string_view utf8) {
    rapidjson::GenericStringBuffer<rapidjson::UTF8<>, rapidjson::CrtAllocator> buffer;
    rapidjson::Writer<decltype(buffer)> writer(buffer);
    writer.String(utf8.data(), static_cast<rapidjson::SizeType>(utf8.size()));
    return buffer.GetString();
}

// Texts are copied whole while they hold nothing to escape, eight bytes at a
// time: each byte that must be escaped or converted, at every place around
// those eight-byte steps, in texts long and short, comes out as RapidJSON
// writes the text.
TEST(JsonPrinter, TextsAsRapidJsonWritesThem) {
    const std::string specials = std::string("\0\x01\x08\x09\x0A\x0C\x0D\x1B\x1F\"\\\x7F", 12) +
                                 "\x80\x81\x9D\xA0\xC3\xE9\xFF";
    std::vector<std::string> texts = {""};
    const std::size_t lengths[] = {1, 3, 7, 8, 9, 15, 16, 17, 40};
    for (const std::size_t length : lengths) {
        texts.push_back(std::string(length, 'a'));
        for (std::size_t at = 0; at < length; ++at) {
            for (const char special : specials) {
                std::string text(length, 'a');
                text[at] = special;
                texts.push_back(text);
            }
        }
    }
    texts.push_back("a\r\nb \"c\" \\d\te\x92" + std::string(30, 'z') + "\r\n");

    for (const std::string& bytes : texts) {
        SCOPED_TRACE(testing::PrintToString(bytes));
        // Windows-1252 from a file, and UTF-8 (the same bytes where they are).
        const std::string utf8 = Cp1252ToUtf8(bytes);
        EXPECT_EQ(JsonLine([&](Printer& p) { p.FileText("t", bytes); }),
                  "{\"t\": " + RapidJsonString(utf8) + "}\n");
        EXPECT_EQ(JsonLine([&](Printer& p) { p.Value("t", utf8); }),
                  "{\"t\": " + RapidJsonString(utf8) + "}\n");
        EXPECT_EQ(JsonLine([&](Printer& p) {
                      p.Texts("t", {utf8, "x"});
                  }),
                  "{\"t\": [" + RapidJsonString(utf8) + ", \"x\"]}\n");
    }
}

// Numbers as RapidJSON writes them; one digit is written directly.
TEST(JsonPrinter, Numbers) {
    for (const std::int64_t number : {INT64_MIN, std::int64_t{-1}, std::int64_t{0}, std::int64_t{9},
                                      std::int64_t{10}, std::int64_t{99}, INT64_MAX}) {
        EXPECT_EQ(JsonLine([&](Printer& p) { p.Number("n", number); }),
                  "{\"n\": " + std::to_string(number) + "}\n");
    }
}

}  // namespace
}  // namespace marrowick
