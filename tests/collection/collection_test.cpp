// The JSON back end against RapidJSON's own writer, and the grouping of GUIDs,
// on values made here rather than read from files.
#include <gtest/gtest.h>
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include <climits>
#include <functional>
#include <sstream>

#include "conflicts.h"
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

TEST(JsonPrinter, NumbersAndSeparators) {
    const std::int64_t numbers[] = {INT64_MIN, -10, -1, 0, 9, 10, 99, 12345, INT64_MAX};
    for (const std::int64_t number : numbers) {
        rapidjson::GenericStringBuffer<rapidjson::UTF8<>, rapidjson::CrtAllocator> buffer;
        rapidjson::Writer<decltype(buffer)> writer(buffer);
        writer.Int64(number);
        const std::string digits = buffer.GetString();
        EXPECT_EQ(JsonLine([&](Printer& p) { p.Number("n", number); }),
                  "{\"n\": " + digits + "}\n");
        EXPECT_EQ(JsonLine([&](Printer& p) { p.Value("n", number); }), "{\"n\": " + digits + "}\n");
    }
    EXPECT_EQ(JsonLine([](Printer& p) {
                  p.Number("a", 1);
                  p.BeginList("b");
                  p.BeginRecord();
                  p.Number("c", 2);
                  p.EndRecord();
                  p.BeginRecord();
                  p.EndRecord();
                  p.EndList();
                  const int boxes[] = {3, 4};
                  p.Numbers("d", boxes);
                  p.Numbers("e", {});
                  p.Value("f", {});
                  p.Value("g", true);
              }),
              "{\"a\": 1, \"b\": [{\"c\": 2}, {}], \"d\": [3, 4], \"e\": [], \"f\": null, "
              "\"g\": true}\n");
}

// Files, each with the GUIDs of its objects (0 for none).
ReadFiles Collection(const std::vector<std::vector<std::uint32_t>>& files) {
    ReadFiles read;
    for (const std::vector<std::uint32_t>& guids : files) {
        read.paths.push_back(std::to_string(read.paths.size()) + ".iff");
        GuidListing& listing = read.listings.emplace_back();
        for (const std::uint32_t guid : guids) {
            ObjectGuid& object = listing.objects.emplace_back();
            object.index = static_cast<int>(listing.objects.size() - 1);
            object.chunkId = 128 + object.index;
            for (std::size_t b = 0; b < object.guid.size(); ++b) {
                object.guid[b] = static_cast<std::uint8_t>(guid >> (8 * b));
            }
        }
        const auto f = static_cast<std::uint32_t>(read.files.size());
        read.files.push_back({ObjectFileItem::Kind::File, f, f, {}, {}});
    }
    return read;
}

// The shared GUIDs as "guid:file.index file.index ...", in the report's order.
std::vector<std::string> Groups(const ConflictReport& report) {
    std::vector<std::string> groups;
    for (const SharedGuid& group : report.shared) {
        std::string line = GuidValue(group.guid) + ":";
        for (const GuidUser& user : group.users) {
            line += " " + std::to_string(user.file) + "." + std::to_string(user.index);
        }
        groups.push_back(line);
    }
    return groups;
}

// Groups come in the order their first users do, whatever the GUIDs' values;
// users in collection order; a GUID used once makes no group; all-zero GUIDs
// are listed apart.
TEST(FindConflicts, GroupsInCollectionOrder) {
    struct Case {
        std::vector<std::vector<std::uint32_t>> files;
        std::vector<std::string> groups;
        std::size_t noGuid;
    };
    const Case cases[] = {
        {{{5, 3}, {3, 5}}, {"0x00000005: 0.0 1.1", "0x00000003: 0.1 1.0"}, 0},
        {{{9, 0, 1}, {2, 1, 9}, {1, 7}}, {"0x00000009: 0.0 1.2", "0x00000001: 0.2 1.1 2.0"}, 1},
        {{{0xFFFFFFFF}, {1}, {0xFFFFFFFF, 0}}, {"0xFFFFFFFF: 0.0 2.0"}, 1},
        {{{4, 4, 4}}, {"0x00000004: 0.0 0.1 0.2"}, 0},
        {{{1, 2}, {3}, {0, 0}}, {}, 2},
    };
    for (const Case& c : cases) {
        const ReadFiles read = Collection(c.files);
        const ConflictReport report =
            FindConflicts(read, [](const ListedFile&, const ListedFile&) { return false; });
        EXPECT_EQ(Groups(report), c.groups);
        EXPECT_EQ(report.noGuid.size(), c.noGuid);
        EXPECT_EQ(report.trueConflicts, static_cast<int>(c.groups.size()));
    }
}

}  // namespace
}  // namespace marrowick
