// The reader on files made by the builder: the container check, the map scan and
// the chunk walk, decoding, catalog texts and the list's texts, and its limits.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <numeric>
#include <ranges>
#include <sstream>

#include "archive.h"
#include "cp1252.h"
#include "file_bytes.h"
#include "iff_builder.h"
#include "object_list.h"
#include "test_system.h"

namespace marrowick::test {
namespace {

const std::string kCut = "The file is cut short: it ends at byte ";

Bytes Join(std::initializer_list<Bytes> parts) {
    const auto joined = parts | std::views::join;
    return Bytes(joined.begin(), joined.end());
}

long long BytesRead() {  // what read-like calls have returned so far (Linux), or 0
    std::string rchar;
    long long count = 0;
    std::ifstream("/proc/self/io") >> rchar >> count;
    return count;
}

// Files go to a scratch folder whose name holds blanks and non-ASCII letters and are
// scanned as the main window scans them; what the reader shows is recorded.
class Reader : public ::testing::Test, public MessageSink {
  protected:
    Reader() { parse.SetMessageSink(this); }
    void ShowMessage(const std::string& text, const std::string& caption) override {
        shown += "{" + text + "|" + caption + "}";
    }
    bool ShowNoResourceMap(const std::string& text, const std::string& caption) override {
        ShowMessage(text, caption);
        return true;  // answered with Read Chunks
    }
    std::string Write(const Bytes& bytes) {  // to a file of its own
        return folder.Write(std::to_string(++written) + ".iff", bytes);
    }
    void Scan(const std::string& path) {
        shown.clear();
        parse.CurrentFile = path;
        parse.ScanObjectFile(path);
    }
    // {message}..[OBJD id@at:label:catalog id]..[cCTSS id@at]..[bBMP_ id@at]..[! warning]..
    std::string Dump() const {
        std::ostringstream out(shown, std::ios::ate);
        for (std::size_t i = 0; i < static_cast<std::size_t>(parse.ObjdCount); ++i) {
            out << '[' << parse.ObjdChunkId[i] << '@' << parse.ObjdChunkPos[i] << ':'
                << parse.ObjdLabel[i] << ':' << parse.CatalogId[i] << ']';
        }
        for (std::size_t j = 0; j < static_cast<std::size_t>(parse.CtssCount); ++j) {
            out << "[c" << parse.CtssChunkId[j] << '@' << parse.CtssChunkPos[j] << ']';
        }
        for (std::size_t j = 0; j < static_cast<std::size_t>(parse.BmpCount); ++j) {
            out << "[b" << parse.BmpChunkId[j] << '@' << parse.BmpChunkPos[j] << ']';
        }
        for (const std::string& warning : parse.ScanWarnings) {  // cut short: told in full below
            out << "[! " << (warning.starts_with(kCut) ? "cut" : warning) << ']';
        }
        return out.str();
    }
    // Every group of `object` decoded, a catalog row's name, a thumbnail row and its size.
    std::string Decoded(int object, int catalogRow, int thumbnailRow) {
        for (AttributeGroup group : {ScoreGroup, ValueGroup, SkillGroup, BuyModeGroup, GuidGroup}) {
            parse.ReadObjectAttributes(object, group);
        }
        parse.ReadCatalogText(catalogRow);
        const ObjectAttributeRow& r = parse.ObjectAttributes[static_cast<std::size_t>(object)];
        std::ostringstream out;
        for (int value : {r.Price, r.SalePrice, r.InitialDepreciation, r.DailyDepreciation,
                          r.SelfDepreciating, r.DepreciationLimit, r.RoomFlags, r.TypeFlags,
                          r.HungerScore, r.ComfortScore, r.HygieneScore, r.BladderScore,
                          r.EnergyScore, r.FunScore, r.RoomScore, r.SkillFlag}) {
            out << value << ' ';
        }
        out << r.GuidHex1 << r.GuidHex2 << ' ' << r.OrigGuidHex1 << r.OrigGuidHex2 << ' '
            << r.CloneGuidHex1 << r.CloneGuidHex2 << "; " << parse.CatalogName << "; "
            << thumbnailRow << ':' << parse.ReadThumbnailBytes(thumbnailRow).size();
        return out.str();
    }
    const TempFolder folder{"marrowick test \xC3\xB6 & ("};
    const std::string& dir = folder.root;
    ParseIFF parse;
    std::string shown;  // {text|caption}..
    int written = 0;
};

// What a scan shows and indexes, a good file scanned before each. The map scan slides
// L + 1 four-byte windows from 96 bytes into the map (L: the low 16 bits of its size)
// past its end, not the file's; the last match wins. A walk keeps what it could read.
TEST_F(Reader, WhatAScanShowsAndIndexes) {
    IffBuilder file;
    ObjectDefinition def;
    def.catalog_id = -2;
    file.Object(16384, "Chair", def);
    file.Chunk("CTSS", -2, "", CatalogTexts("C", "c"));  // at 356
    file.Chunk("BMP_", -2, "", {0, 0});                  // at 444; the map, if any, at 522
    const auto map = [file](std::vector<TypeList> lists, Bytes tail = {},
                            std::uint32_t size = 0xFFFF) {
        IffBuilder mapped = file;
        mapped.SetTypeLists(std::move(lists));
        mapped.SetTrailer(std::move(tail));
        mapped.SetMapSize(size);
        return mapped.Build();
    };
    file.OmitMap();
    const Bytes chunks = file.Build();
    file.Chunk("XXXX", 0, "", {});  // a bare header, exactly the bytes left
    const auto cannot = [](const std::string& path, const std::string& why) {
        return std::pair{path, "{Could not open \"" + path + "\": " + why + ".|Marrowick}"};
    };
    const std::string noMap =
        "{Future versions will support objects\r\nwithout a Resource Map, however\r\nthis version "
        "requires one.|No Resource Map!}";
    const std::string walked = noMap + "[16384@64:Chair:-2][c-2@356][b-2@444]";
    const std::string stopped = walked + "[! Reading stopped at byte 522: ";
    const std::string rest = " Nothing from there on is read.]";
    const std::vector<TypeList> two{{"OBJD", 1, {{64, 128, 0, {}}}},
                                    {"CTSS", 1, {{356, -2, 0, {}}}}};
    // At window 500 a list of object 129, then an OBJD code that ends the file.
    const Bytes list129 = {1, 0, 0, 0, 64, 0, 0, 0, 129, 0, 0, 0, 0, 0xA3};
    const Bytes later = Join({Bytes(464, 0), ToBytes("DJBO"), list129, ToBytes("DJBO")});
    // OBJD and CTSS labels do not end at 16. A pad byte is skipped even where the
    // parity needs none, so the entry after "ab" is read a byte late. A BMP_ label
    // ends at 16 too.
    const MapEntry a16 = {64, 1, 0, {'a', 16}}, ab = {64, 2, 0, {'a', 'b'}, 0, false};
    const MapEntry name = {356, -2, 0, ToBytes("name")}, x16 = {444, 9, 0, {}, 16};
    const MapEntry fake = {444, -2, 0, {'a', 16, 64, 0, 0, 0, 77, 0, 0, 0, 'z'}};
    const MapEntry late = {0x201A3, 7, 0, {}}, five = {444, 5, 0, {}};
    // Offsets are unsigned; a list ends at its last entry wholly in the file.
    const MapEntry far = {0x7FFFFFFF, 10, 0, {}}, farther = {0xFFFFFFFF, 11, 0, {}};
    const Bytes entry = {64, 0, 0, 0, 3, 0, 0, 0};
    std::vector<std::pair<std::string, std::string>> cases = {
        {Write(ToBytes("IFF FIL")), "{Not a Valid IFF|Marrowick}"},
        {Write(ToBytes("iff FILE")), "{Not a Valid IFF|Marrowick}"},
        {Write(ToBytes("IFF FILE")),  // cut short in its header
         "{" + kCut +
             "8, inside its 64-byte header.|Marrowick}[! cut][! The file ends at byte 8, "
             "before its first chunk at byte 64.]"},
        cannot(dir, "it is a folder, not a file"),
        {Write(map(two, later, 0xFFFF0000)), "[128@64:Chair:-2][! cut]"},
        {Write(map(two, later, 0x000101F4)), "[129@64:Chair:-2][c-2@356][! cut]"},
        {Write(map(two, later, 0x0000FFFF)), "[c-2@356][! cut]"},
        {Write(map({{"OBJD", 3, {a16, ab, late}}})),
         "[1@64:Chair:-2][2@64:Chair:-2][0@117441025::0][! cut]"},
        {Write(map({{"CTSS", 2, {name, five}}, {"BMP_", 3, {x16, fake}}})),
         "[c-2@356][c5@444][b9@444][b-2@444][b77@64][! cut]"},
        {Write(map({{"CTSS", 1, {far}}, {"OBJD", 259, {far, farther}}}, entry)),
         "[10@2147483647::0][11@4294967295::0][3@64:Chair:-2][c10@2147483647][! cut]"},
        {Write(map({{"OBJD", 256, {a16}}, {"STR#", 1, {a16}}})), "[! cut]"},  // counts as 0
        {Write(file.Build()), walked},
        {Write(Join({chunks, Bytes(75, 0)})),
         stopped + "only 75 bytes are left there, too few for a 76-byte chunk header." + rest},
        {Write(Join({chunks, ToBytes("STR#"), {0, 0, 0, 75}, Bytes(68, 0)})),
         stopped + "the chunk there gives its size as 75 bytes, less than its own 76-byte header." +
             rest},
        {Write(Join({chunks, ToBytes("BMP_"), {1, 2, 3, 4}, Bytes(92, 0)})),
         stopped + "the chunk there is 16909060 bytes long and runs past the end of the file at " +
             "byte 622." + rest}};
    if constexpr (kPosix) {  // Windows' devices and pipes: reader_windows_test.cpp
        ASSERT_TRUE(MakeNamedPipe(dir + "pipe.iff"));  // never waits for a writer
        cases.push_back(cannot(dir + "pipe.iff", "it is a named pipe, not a file"));
        std::filesystem::create_symlink("/dev/null", dir + "tty.iff");
        cases.push_back(cannot(dir + "tty.iff", "it is a character device, not a file"));
        if (!RunningAsRoot()) {  // root reads every file; CTest also runs this as another user
            cases.push_back(cannot(Write({}), "Permission denied"));
            std::filesystem::permissions(cases.back().first, std::filesystem::perms::none);
        }
    }
    for (const auto& [path, index] : cases) {
        Scan(Write(chunks));  // an index to empty
        Scan(path);
        EXPECT_EQ(Dump(), index) << path;
    }
    IffBuilder many;  // a walk keeps 255 chunks of a type and says how many it left out
    many.OmitMap();
    for (int i = 0; i < 256; ++i) {
        many.Chunk("CTSS", 1, "", {});
    }
    Scan(Write(many.Build()));
    EXPECT_EQ(parse.ScanWarnings.back(), "Only 255 CTSS chunks can be kept: 1 more was left out.");
    // A type code is found wherever it falls among the windows the match groups.
    for (std::size_t length = 0; length < 8; ++length) {
        IffBuilder shifted;
        shifted.SetTypeLists(
            {{"OBJD", 1, {{64, 1, 0, Bytes(length, 'a'), 0, false}}}, {"OBJf", 1, {}}});
        Scan(Write(shifted.Build()));
        EXPECT_NE(parse.TypeListPos[static_cast<std::size_t>(ChunkType::OBJf)], 0) << length;
    }
}

// Through its map, walked, or with the map at 0xFFFF0000 of a sparse 6 GiB file, a file
// lists and decodes alike, reading little. A definition of bytes 64, 65 .. 23 tells fields apart.
TEST_F(Reader, AFileListsAndDecodesAlikeThroughItsMapWalkedOrFar) {
    Bytes definition(216);
    std::iota(definition.begin(), definition.end(), std::uint8_t{64});
    const auto id = static_cast<std::int16_t>(0x9392);  // its catalog id
    IffBuilder file;
    file.Chunk("OBJD", 16384, "Armchair", definition);
    file.Object(static_cast<std::int16_t>(40000), std::string(64, 'L'), {});  // runs on
    file.Chunk("CTSS", id, "", CatalogTexts("Armchair", "Deep."));
    file.Chunk("CTSS", id, "", CatalogTexts("Armchair", "The later row wins."));
    file.Chunk("BMP_", id, "thumbnail", {1, 1, 1});
    file.Chunk("BMP_", id, "odd", {2});
    file.Chunk("STR#", 1, "", {0});
    Bytes bytes = file.Build();
    file.OmitMap();
    const std::string paths[] = {Write(bytes), Write(file.Build()), Write({})};
    const auto map = static_cast<std::ptrdiff_t>(bytes[62] << 8 | bytes[63]);
    std::ranges::copy(Bytes{0xFF, 0xFF, 0, 0}, bytes.begin() + 60);  // the map at 0xFFFF0000
    std::filesystem::resize_file(FsPath(paths[2]), std::uintmax_t{6} << 30);
    std::fstream far(FsPath(paths[2]), std::ios::in | std::ios::out | std::ios::binary);
    far.write(reinterpret_cast<const char*>(bytes.data()), map).seekp(0xFFFF0000);
    far.write(reinterpret_cast<const char*>(bytes.data()) + map, std::ssize(bytes) - map);
    far.close();  // Windows removes no file that this stream holds open
    std::string seen[3];
    for (std::size_t variant = 0; variant < 3; ++variant) {
        const long long before = BytesRead();
        Scan(paths[variant]);
        shown.clear();  // the no-map message, when walked
        seen[variant] = Dump();
        const std::vector<ObjectListEntry> entries = FillObjectList(parse);
        for (std::size_t i = 0; i < entries.size(); ++i) {
            seen[variant] +=
                "\n" + entries[i].Text + ": " +
                Decoded(static_cast<int>(i), entries[i].ItemData, parse.ThumbIndex[i]) + " " +
                parse.CatalogDescription;
        }
        EXPECT_LT(BytesRead() - before, 1 << 20);
    }
    EXPECT_EQ(seen[1], seen[0]);
    EXPECT_EQ(seen[2], seen[0]);
    EXPECT_EQ(
        seen[0],
        "[16384@64:Armchair:-27758][40000@356:" + std::string(64, 'L') +
            "\x8A:0][c-27758@648][c-27758@747][b-27758@860][b-27758@939]\n"
            "Armchair  16384: 25956 -31356 -30842 -30328 -29814 -29300 142 144 -6684 -6170 "
            "-5656 -5142 -4628 -4114 -3600 -3086 5C5D5E5F CCCDCECF F8F9FAFB; Armchair; 1:1 "
            "The later row wins.\n" +
            std::string(64, 'L') +
            "\x8A  40000: 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 00000000 00000000 00000000; No "
            "Description; -1:0 There is no description for this object. The most likely "
            "cause of this message is that this object is not playable in the game. "
            "Additionally, some IFF files are not Objects. The Tavisk use IFF files to store "
            "all sorts of Data. While there is no description availible, this software may "
            "support viewing and editing of some parts of non-object files.\r\nTIP: Check "
            "for Thumbnails. There are sometimes hidden objects within non object IFF files.");
    parse.ObjdChunkPos[300] = 64;  // the last row; the rows past either end read nothing
    parse.CtssChunkPos[300] = parse.CtssChunkPos[1];
    for (const int row : {300, -2, -1, 301}) {
        parse.ReadObjectAttributes(row, BuyModeGroup);
        parse.ReadCatalogText(row);
        const std::size_t size = parse.ReadThumbnailBytes(row == 300 ? 0 : std::min(row, 2)).size();
        EXPECT_EQ(parse.RoomName + "/" + parse.CatalogName + "/" + std::to_string(size),
                  "Bedroom, Bathroom, Living Room, Study/" +
                      std::string(row == 300 ? "Armchair/3" : "No Description/0"));
    }

    // Removed after its scan, a file reads as zeros, reported once a scope or a call.
    std::filesystem::remove(FsPath(parse.CurrentFile));
    const std::string gone =
        "{Could not open \"" + parse.CurrentFile + "\": No such file or directory.|Marrowick}";
    for (const bool scoped : {true, false}) {
        shown.clear();
        const auto scope = scoped ? std::make_unique<ParseIFF::FileScope>(parse) : nullptr;
        EXPECT_EQ(
            Decoded(0, -1, 0),
            "0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 00000000 00000000 00000000; No Description; 0:0");
        EXPECT_EQ(shown, scoped ? gone : gone + gone + gone + gone + gone + gone);
    }
}

// Catalog texts in both layouts, ending at the chunk's end or their bound; category
// names; labels from list entries; skill boxes; Windows-1252 characters.
TEST_F(Reader, TheTextsShownForAnObject) {
    const Bytes nine = Join({{0xFC, 0xFF, 1, 2, 0, 1}, Bytes(9, 0x80)});  // nine length groups
    const Bytes cut = PackedCatalogTexts({{1, "Lamp", "c"}, {1, std::string(300, 'd'), ""}}, 1);
    const std::pair<Bytes, std::string> cases[] = {
        // Zero-ended, or counted (FC FF): the first two entries of the first set.
        {{0xFC, 0xFE, 1, 2, 0, 'N', 0, 0, 1, 'D', 0}, "N|D"},  // any code but FC FF
        {Join({{0xFD, 0xFF, 2, 0, 1}, Bytes(70000, 'n')}),
         std::string(32767, 'n') + "|" + std::string(70000 - 2 * 32767, 'n')},
        {PackedCatalogTexts({{1, "Sofa", ""}, {1, std::string(200, 's'), "more"}, {1, "3", ""}}),
         "Sofa|" + std::string(200, 's')},
        {{0xFC, 0xFF, 2, 1, 0, 1, 4, 'O', 'n', 'l', 'y', 0, 1, 3, 'T', 'w', 'o', 0}, "Only|"},
        {Bytes(cut.begin(), cut.end() - 5), "Lamp|" + std::string(296, 'd')},
        {Join({nine, {1, 2, 'a', 'b', 1, 3, 'T', 'w', 'o', 0}}), "|Two"},  // a tenth is dropped
        {Join({nine, {0x80, 'N', 'a', 'm', 'e', 0}}), "Name|"},  // no end: to the chunk's end
    };
    IffBuilder file;
    for (const auto& [data, texts] : cases) {
        file.Chunk("CTSS", 9, "", data);  // each ends where the next begins
    }
    Scan(Write(file.Build()));
    EXPECT_EQ(shown, "");  // read through its map
    for (std::size_t row = 0; row < std::size(cases); ++row) {
        parse.ReadCatalogText(static_cast<int>(row));
        EXPECT_EQ(parse.CatalogName + "|" + parse.CatalogDescription, cases[row].second);
    }

    for (int row = 0; row < 9; ++row) {  // a value of a row gets that row's list position
        EXPECT_EQ(NameCategory(kRoomCategories, row == 0 ? 0 : 1 << (row - 1)).index, row);
        EXPECT_EQ(NameCategory(kTypeCategories, row == 0 ? 0 : 1 << (row - 1)).index, row);
    }
    EXPECT_EQ(
        NameCategory(kRoomCategories, 255).name + "; " + NameCategory(kTypeCategories, 255).name,
        "Kitchen, Bedroom, Bathroom, Living Room, Outside, Dining Room, Misc, Study; "
        "Seating, Surfaces, Appliances, Electronics, Plumbing, Decorative, Misc, Lighting");
    std::string labels;
    for (const char* entry : {"Two  blanks  7", "Chair  1290", "a  b", "x  ", "  5", "ab"}) {
        labels += ObjectLabelFromEntry(entry) + "|";
    }
    EXPECT_EQ(labels, "Two  blanks|Chair|a  b|x  ||ab|");
    EXPECT_EQ(SkillBoxesToTick(194), (std::vector<int>{2, 64}));
    EXPECT_EQ(Cp1252ToUtf8(std::string_view("a\0\x80\x81\x9F\xA0\xE9\xFF", 8)),
              std::string("a\0\xE2\x82\xAC\xC2\x81\xC5\xB8\xC2\xA0\xC3\xA9\xC3\xBF", 15));
}

// An archive is listed only when its header and whole manifest lie inside it; a
// member whose bytes run past the end is refused on its own. Only .iff members
// count, in manifest order, repeats and overlaps included.
TEST_F(Reader, ArchiveManifests) {
    ArchiveBuilder archive;  // members are not read here: any bytes do
    archive.Member("objects/Chair.IFF", Bytes(100));
    archive.Member("ui\\picture.bmp", {1, 2, 3});
    archive.Member("Caf\xE9.iff", Bytes(100));
    archive.Member("nested.far", ToBytes("FAR!byAZ"));
    archive.Entry("objects/Chair.IFF", 20, 100);  // the same name, overlapping bytes
    archive.Entry("past.iff", 16, 0xFFFFFFF0);
    const auto built = [&archive](void (*change)(ArchiveBuilder&), std::size_t cut = 0) {
        ArchiveBuilder changed = archive;
        change(changed);
        Bytes bytes = changed.Build();
        bytes.resize(bytes.size() - cut);
        return bytes;
    };
    const auto as = [](ArchiveBuilder&) {};
    Bytes offsetPast = built(as);
    // 3 bytes before the end: too few for the count.
    std::ranges::copy(Bytes{398 & 0xFF, 398 >> 8}, offsetPast.begin() + 12);
    const std::string members =
        "[objects/Chair.IFF 16+100][Caf\xE9.iff 119+100][objects/Chair.IFF 20+100][past.iff "
        "16+4294967280: The member takes bytes 16 to 4294967296 of the archive, but the archive "
        "ends at byte ";
    const std::pair<Bytes, std::string> cases[] = {
        {built(as), members + "401.] skipped 2"},
        {built([](ArchiveBuilder& a) { a.SetTrailer(Bytes(40)); }), members + "441.] skipped 2"},
        {ArchiveBuilder().Build(), ""},
        {built([](ArchiveBuilder& a) { a.SetCount(7); }),
         "The archive's manifest lists 7 members, but the archive ends at byte 401, inside the "
         "entry of member 7 of 7."},
        {built(as, 1),
         "The name of member 6 of 6 in the archive's manifest is 8 bytes long and "
         "runs past the archive's end at byte 400."},
        {offsetPast,
         "The archive's manifest should start at byte 398, but the archive ends at "
         "byte 401."},
        {built([](ArchiveBuilder& a) { a.SetVersion(0); }),
         "The archive is of version 0; only archives of version 1 can be read."},
        {built(as, 389),
         "The archive is cut short: it is 12 bytes long, too short for its "
         "16-byte header."},
        {ToBytes("FAR!byAz" + std::string(20, '\0')), "not an archive"},
    };
    for (const auto& [bytes, expected] : cases) {
        FileBytes file(Write(bytes));
        const ArchiveContents contents = ReadArchive(file);
        std::string seen = IsArchive(file) ? contents.error : "not an archive";
        for (const ArchiveMember& m : contents.objectFiles) {
            seen += "[" + m.name + " " + std::to_string(m.range.offset) + "+" +
                    std::to_string(m.range.size) + (m.error.empty() ? "" : ": " + m.error) + "]";
        }
        EXPECT_EQ(seen + (contents.objectFiles.empty() ? "" : " skipped ") +
                      (contents.objectFiles.empty() ? "" : std::to_string(contents.skipped)),
                  expected);
    }
}

// A member's name may be 1,024 bytes long and no longer: a longer one refuses the
// archive at its entry without a byte of the name read, however long the file.
// A cancel, looked at every few thousand entries, ends a manifest unlisted.
TEST_F(Reader, ArchiveBounds) {
    const auto named = [](const std::string& name) {
        ArchiveBuilder archive;
        archive.Member("small.iff", Bytes(10));
        archive.Member(name, Bytes(10));  // its entry starts at byte 65
        return archive.Build();
    };
    Bytes sparse = named("x.iff");
    // The name's length: 256 MiB, the file made as long (holes).
    std::ranges::copy(Bytes{0, 0, 0, 0x10}, sparse.begin() + 77);
    const std::string refused =
        "The name of member 2 of 2 in the archive's manifest, whose entry "
        "starts at byte 65, is ";
    const std::tuple<Bytes, bool, std::string> cases[] = {
        {named(std::string(1020, 'n') + ".iff"), false, "small.iff 1024 "},
        {named(std::string(1021, 'n') + ".iff"), false,
         refused + "1025 bytes long; a member's name may be at most 1024 bytes long."},
        {sparse, false,
         refused + "268435456 bytes long; a member's name may be at most 1024 bytes long."},
        {named("x.iff"), true, "cancelled"},
    };
    for (const auto& [bytes, cancelled, expected] : cases) {
        const std::string path = Write(bytes);
        std::filesystem::resize_file(FsPath(path), 81 + (1 << 28));
        FileBytes file(path);
        const std::atomic<bool> cancel = cancelled;
        const long long before = BytesRead();
        const ArchiveContents contents = ReadArchive(file, &cancel);
        EXPECT_LT(BytesRead() - before, 1 << 20);
        std::string seen = contents.cancelled ? "cancelled" : contents.error;
        for (const ArchiveMember& m : contents.objectFiles) {
            seen += (m.name.size() < 20 ? m.name : std::to_string(m.name.size())) + " ";
        }
        EXPECT_EQ(seen, expected);
    }
}

// Reads go to the file a block at a time, never past its end, growing while a
// walk goes on; an EINTR left in errno by an earlier call does not stall them.
TEST_F(Reader, TheBlockReaderReadsInFewCalls) {
    Bytes bytes(3 << 20);
    std::iota(bytes.begin(), bytes.end(), std::uint8_t{0});
    FileBytes file(Write(bytes));
    errno = EINTR;
    EXPECT_EQ(file.At(5) + file.At(4095), 5 + 255);
    std::uint8_t out[4];
    EXPECT_EQ(file.At(bytes.size()) + file.At(UINT64_MAX), -2);
    EXPECT_EQ(file.ReadInto(bytes.size(), out) + file.ReadUpTo(bytes.size(), 9).size(), 0u);
    EXPECT_EQ(file.read_calls(), 1u);
    for (std::uint64_t at = 0; at + 76 <= bytes.size(); at += 80) {
        ASSERT_EQ(file.View(at, 76)[75], static_cast<std::uint8_t>(at + 75));
    }
    EXPECT_LE(file.read_calls(), 8 + bytes.size() / FileBytes::kMaxReadAhead);
    const std::size_t walked = file.read_calls();
    for (std::uint64_t at = 0; at < bytes.size(); at += 256 * 1024) {  // far jumps: a block each
        ASSERT_EQ(file.View(at, 76)[1], static_cast<std::uint8_t>(at + 1));
    }
    EXPECT_EQ(file.read_calls() - walked, 12u);

    // A map label without an end is searched in long reads, and to where the file
    // shrank to; the label of an object at 1 MiB stops at 32767 bytes.
    IffBuilder endless;
    endless.Object(1, "Chair", {});
    endless.SetTypeLists({{"OBJD", 2, {{64, 1, 0, {}}}}});
    endless.SetTrailer(Join({{0, 0, 16, 0, 2, 0, 0, 0}, Bytes(3 << 20, 'x')}));
    const std::string path = Write(endless.Build());
    FileBytes mapped(path);
    for (const std::uint64_t size : {mapped.size(), std::uint64_t{1} << 21}) {
        std::filesystem::resize_file(FsPath(path), size);
        parse.ScanObjectFile(mapped, path);
        EXPECT_EQ(Dump(), "[1@64:Chair:0][2@1048576:" + std::string(32767, 'x') + ":30840][! cut]");
    }
    EXPECT_LE(mapped.read_calls(), 40u);
}

}  // namespace
}  // namespace marrowick::test
