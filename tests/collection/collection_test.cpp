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
    struct Object {  // files of one size hold the same bytes here
        std::uint32_t file;
        bool member;
        std::uint64_t size;
        std::uint8_t guid;
        std::string label, catalog = "Sofa";
    };
    const Object objects[] = {
        {0, false, 1, 1, "Chair"},  {1, true, 1, 1, "Chair"},          // copies, loose and member
        {2, false, 2, 2, "Chair"},  {3, true, 3, 2, "Chair"},          // a loose file takes it
        {4, false, 4, 3, "Sofa"},   {5, false, 5, 3, "Sofa"},          // versions
        {6, false, 6, 4, "Sofa"},   {7, false, 7, 4, "Sofa", "sofa"},  // another catalog name
        {8, false, 8, 5, "Sofa"},   {9, false, 9, 5, "Sofa 2"},        // another label
        {10, false, 10, 6, "Lamp"}, {10, false, 10, 6, "Lamp"},        // two objects of one file
        {11, false, 11, 7, "Bed"},  {12, false, 11, 7, "Bed"},         // two copies and a version
        {13, false, 12, 7, "Bed"}};
    ReadFiles read;
    for (const Object& o : objects) {
        if (o.file == read.files.size()) {
            read.paths.emplace_back("f");
            read.files.push_back(
                {o.member ? ObjectFileItem::Kind::Member : ObjectFileItem::Kind::File,
                 o.file,
                 o.file,
                 {o.file, 1},
                 {}});
            read.listings.emplace_back().size = o.size;
        }
        std::vector<ObjectGuid>& listed = read.listings.back().objects;
        listed.push_back(
            {static_cast<int>(listed.size()), o.label + "  1", 1, {o.guid}, {}, o.catalog});
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

// The messages that the program's reports do not show (see inspect_test.cpp)
// have their reasons too. Files group by reason in the order of their first
// files, a file with two notes of one reason counts once, an unknown message
// groups by its text.
TEST(FileNotes, EachMessageHasItsReason) {
    const marrowick::test::TempFolder folder;
    marrowick::test::IffBuilder many;
    for (std::int16_t id = 0; id < 300; ++id) {
        many.Object(id, "Sofa", {});
    }
    many.OmitMap();
    marrowick::test::Bytes header = marrowick::test::IffBuilder().Build();
    header.resize(40);
    marrowick::test::ArchiveBuilder version, cut;
    version.SetVersion(3);
    cut.SetCount(9);
    folder.Write("a.iff", header);
    folder.Write("b.iff", many.Build());
    folder.Write("c.far", version.Build());
    folder.Write("d.far", cut.Build());
    GuidCheckObserver quiet;
    GuidCheck check = CheckGuids({folder.root}, false, quiet);
    check.errors.insert(check.errors.end(),
                        {{0, "Something new."}, {1, "Something new."}, {1, "Something else"}});
    std::string groups;
    for (const auto& notes :
         {check.errors, CheckGuids({folder.root}, true, quiet).readWarnings.warnings}) {
        for (const NoteGroup& group : GroupByReason(notes)) {
            groups += std::string(group.reason.id) + " " + GroupLine(group, "R") + "\n";
        }
    }
    EXPECT_EQ(groups,
              "cut_short Cut short: 1 file. R reads it by its chunks.\n"
              "no_resource_map No resource map: 1 file. R reads it by its chunks.\n"
              "archive_version Archive of another version: 1 file.\n"
              "damaged_archive Damaged archive: 1 file.\n"
              "other Something new: 2 files.\n"
              "other Something else: 1 file.\n"
              "cut_short Cut short: 1 file. R reads it by its chunks.\n"
              "chunks_left_out Chunks left out: 1 file.\n");
}

// A GUID in any form people type it, blanks around it and letter case aside:
// the bytes each reading gives, in file order.
TEST(GuidQuery, WrittenForms) {
    std::istringstream cases(  // each text, a tab, and the bytes of what it means
        "2843 EAB9\t2843EAB9 \n"
        " 2843 eab9 \t2843EAB9 \n"
        "0xB9EA4328\t2843EAB9 \n"
        "2843EAB9\t2843EAB9 B9EA4328 \n"
        "b9ea4328\tB9EA4328 2843EAB9 \n"
        "00000000\t00000000 \n"
        "2843  EAB9\t\n"
        "2843EAB\t\n"
        "0x2843 EAB9\t\n"
        "2843EAG9\t\n"
        "\t\n");
    for (std::string text, bytes; std::getline(cases, text, '\t') && std::getline(cases, bytes);) {
        std::string read;
        for (const std::array<std::uint8_t, 4>& guid : GuidsWritten(text)) {
            read += GuidBoxes(guid).erase(4, 1) + " ";
        }
        EXPECT_EQ(read, bytes) << text;
    }
}

}  // namespace
}  // namespace marrowick
