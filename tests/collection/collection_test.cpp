// The JSON back end against RapidJSON's own writer, on values made here rather
// than read from files; the kinds of shared GUIDs, the reasons of the engine's
// messages and the forms of a typed GUID. (The report is tested through the
// program.)
#include <gtest/gtest.h>
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include <climits>
#include <functional>
#include <sstream>
#include <tuple>

#include "conflicts.h"
#include "cp1252.h"
#include "guid_check.h"
#include "guid_query.h"
#include "iff_builder.h"
#include "messages.h"
#include "printer.h"
#include "test_system.h"

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

// Each group takes the first kind that fits: copies over a loose file and a
// member, that over versions (same label and catalog name, byte for byte, in
// different files), anything else different objects. True clashes come first,
// then versions, then copies, each rank in the order of its first users.
TEST(SharedGuids, KindsInOrderOfPrecedenceAndRank) {
    struct Object {
        std::uint32_t guid;
        std::string label, catalog = "Sofa";
    };
    struct File {
        bool member;
        std::uint64_t size;  // files of one size hold the same bytes here
        std::vector<Object> objects;
    };
    const File files[] = {{false, 1, {{1, "Chair"}}},
                          {true, 1, {{1, "Chair"}}},  // copies, loose and member
                          {false, 2, {{2, "Chair"}}},
                          {true, 3, {{2, "Chair"}}},  // a loose file takes it
                          {false, 4, {{3, "Sofa"}}},
                          {false, 5, {{3, "Sofa"}}},  // versions
                          {false, 6, {{4, "Sofa"}}},
                          {false, 7, {{4, "Sofa", "sofa"}}},  // another catalog name
                          {false, 8, {{5, "Sofa"}}},
                          {false, 9, {{5, "Sofa 2"}}},              // another label
                          {false, 10, {{6, "Lamp"}, {6, "Lamp"}}},  // two objects of one file
                          {false, 11, {{7, "Bed"}}},
                          {false, 11, {{7, "Bed"}}},  // two copies and a version
                          {false, 12, {{7, "Bed"}}}};
    ReadFiles read;
    for (const File& file : files) {
        const auto n = static_cast<std::uint32_t>(read.files.size());
        read.paths.push_back("f" + std::to_string(n));
        read.files.push_back(
            {file.member ? ObjectFileItem::Kind::Member : ObjectFileItem::Kind::File,
             n,
             n,
             {n, 1},
             "m"});
        GuidListing& listing = read.listings.emplace_back();
        listing.size = file.size;
        for (const Object& object : file.objects) {
            ObjectGuid& o = listing.objects.emplace_back();
            o.index = static_cast<int>(listing.objects.size() - 1);
            o.listText = object.label + "  " + std::to_string(128 + o.index);
            o.guid = {static_cast<std::uint8_t>(object.guid), 0, 0, 0};
            o.catalogName = object.catalog;
        }
    }
    const ConflictReport report = FindConflicts(read, [](auto&, auto&) { return true; });
    std::string kinds;
    for (const SharedGuid& group : report.shared) {
        kinds += std::to_string(group.guid[0]) + " " + std::string(KindId(group.kind)) + "; ";
    }
    EXPECT_EQ(kinds,
              "2 loose_takes_archived_guid; 4 different_objects; 5 different_objects; 6 "
              "different_objects; 3 versions_of_one_object; 7 versions_of_one_object; 1 "
              "copies_of_one_file; ");
    EXPECT_EQ(std::tuple(report.trueConflicts, report.versions, report.Copies()),
              std::tuple(4, 2, 1));
}

// Every message the reader, the chunk walk and the archive reader give has its
// reason; files group by it in the order of their first files, an unknown
// message by its text.
TEST(FileNotes, EachMessageHasItsReason) {
    using marrowick::test::Bytes;
    const marrowick::test::TempFolder folder;
    const auto objects = [](int count, bool map) {
        marrowick::test::IffBuilder file;
        for (int i = 0; i < count; ++i) {
            file.Object(static_cast<std::int16_t>(128 + i), "Sofa", {.guid = 0x33});
        }
        if (!map) {
            file.OmitMap();
        }
        return file.Build();
    };
    Bytes cutInMap = objects(1, true), cutInChunk = objects(2, false), header = objects(0, false);
    cutInMap.resize(cutInMap.size() - 4);
    cutInChunk.resize(cutInChunk.size() - 4);
    header.resize(40);
    marrowick::test::ArchiveBuilder archive, version, cut;
    archive.Member("a.iff", objects(1, true));
    archive.Entry("past.iff", 16, 1 << 30);
    version.SetVersion(3);
    cut.SetCount(9);
    folder.Write("a.far", archive.Build());
    folder.Write("b.iff", marrowick::test::ToBytes("IFF"));
    folder.Write("c.iff", objects(1, false));
    folder.Write("d.iff", cutInMap);
    folder.Write("e.iff", header);
    folder.Write("f.iff", cutInChunk);
    folder.Write("g.iff", objects(300, false));
    folder.Write("h.far", version.Build());
    folder.Write("i.far", cut.Build());
    folder.Write("j.iff", objects(1, false));
    GuidCheckObserver quiet;
    const std::vector<std::string> paths = {folder.root, folder.root + "missing.iff"};
    GuidCheck check = CheckGuids(paths, false, quiet);
    check.errors.push_back({0, "Something new."});
    check.errors.push_back({1, "Something new."});
    check.errors.push_back({1, "Something else"});
    const GuidCheck walked = CheckGuids(paths, true, quiet);
    std::string groups;
    for (const auto& notes : {check.errors, walked.readWarnings.warnings}) {
        for (const NoteGroup& group : GroupByReason(notes)) {
            groups += std::string(group.reason.id) + " " + GroupLine(group, "Read.") + "\n";
        }
    }
    EXPECT_EQ(groups,
              "member_past_end Member past the archive's end: 1 file.\n"
              "not_an_object_file Not an object file: 1 file.\n"
              "no_resource_map No resource map: 4 files. Read.\n"
              "cut_short Cut short: 1 file. Read.\n"
              "archive_version Archive of another version: 1 file.\n"
              "damaged_archive Damaged archive: 1 file.\n"
              "cannot_open Could not be opened: 1 file.\n"
              "other Something new: 2 files.\n"
              "other Something else: 1 file.\n"
              "cut_short Cut short: 2 files. Read.\n"
              "walk_stopped Chunk walk stopped early: 1 file.\n"
              "chunks_left_out Chunks left out: 1 file.\n");
}

// A GUID in any form people type it, blanks around it and letter case aside.
TEST(GuidQuery, WrittenForms) {
    using Guid = std::array<std::uint8_t, 4>;
    const Guid boxes{0x28, 0x43, 0xEA, 0xB9}, value{0xB9, 0xEA, 0x43, 0x28};
    const std::pair<const char*, std::vector<Guid>> cases[] = {{"2843 EAB9", {boxes}},
                                                               {" 2843 eab9\t", {boxes}},
                                                               {"0xB9EA4328", {boxes}},
                                                               {"0Xb9ea4328", {boxes}},
                                                               {"2843EAB9", {boxes, value}},
                                                               {"b9ea4328", {value, boxes}},
                                                               {"00000000", {Guid{}}},
                                                               {"2843  EAB9", {}},
                                                               {"2843EAB", {}},
                                                               {"0x2843 EAB9", {}},
                                                               {"0x843EAB9", {}},
                                                               {"2843EAG9", {}},
                                                               {"", {}}};
    for (const auto& [text, guids] : cases) {
        EXPECT_EQ(GuidsWritten(text), guids) << text;
    }
}

}  // namespace
}  // namespace marrowick
