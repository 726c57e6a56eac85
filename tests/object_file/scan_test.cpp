// The container check and the resource-map scan, on files made by the builder.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "file_bytes.h"
#include "reader_harness.h"

namespace marrowick::test {
namespace {

std::size_t TypeIndex(ChunkType type) {
    return static_cast<std::size_t>(type);
}

class ScanTest : public ::testing::Test {
  protected:
    ScratchFolder dir;
    Reader reader;
    ParseIFF& parse = *reader.parse;

    void Scan(const Bytes& bytes) { reader.Open(dir.Write("object.iff", bytes)); }
};

TEST_F(ScanTest, TypicalFileFillsTheIndex) {
    IffBuilder file;
    ObjectDefinition master;
    master.catalog_id = 2000;
    const std::uint32_t masterAt = file.Object(16384, "Armchair - Blue", master);
    const std::uint32_t tileAt = file.Object(16385, "Armchair - tile", ObjectDefinition{});
    const std::uint32_t ctssAt = file.Chunk("CTSS", 2000, "", CatalogTexts("Chair", "Soft"));
    file.Chunk("BMP_", 2000, "thumbnail", CatalogThumbnail(0x112233, 0x445566));
    file.Chunk("STR#", 2000, "strings", {1, 2, 3});
    Scan(file.Build());

    EXPECT_TRUE(reader.messages.shown.empty());
    ASSERT_EQ(parse.ObjdCount, 2);
    EXPECT_EQ(parse.ObjdChunkPos[0], masterAt);
    EXPECT_EQ(parse.ObjdChunkPos[1], tileAt);
    EXPECT_EQ(parse.ObjdChunkId[0], 16384);
    EXPECT_EQ(parse.ObjdChunkId[1], 16385);
    EXPECT_EQ(parse.ObjdLabel[0], "Armchair - Blue");
    EXPECT_EQ(parse.CatalogId[0], 2000);
    EXPECT_EQ(parse.CatalogId[1], 0);
    ASSERT_EQ(parse.CtssCount, 1);
    EXPECT_EQ(parse.CtssChunkPos[0], ctssAt);
    EXPECT_EQ(parse.CtssChunkId[0], 2000);
    ASSERT_EQ(parse.BmpCount, 1);
    EXPECT_EQ(parse.BmpChunkId[0], 2000);
    EXPECT_GT(parse.TypeListPos[TypeIndex(ChunkType::STRs)], 0);
    EXPECT_EQ(parse.TypeListPos[TypeIndex(ChunkType::BHAV)], 0);
    EXPECT_EQ(parse.FileNum, -1);
}

TEST_F(ScanTest, BadSignaturesGetTheFirstMessage) {
    const Bytes good = TypicalObjectFile("Lamp", 128, 300, 1, 0);
    Bytes lower = good;
    std::copy_n("iff file", 8, lower.begin());
    Bytes underscore = good;
    underscore[3] = '_';
    const Bytes shortFile = ToBytes("IFF FIL");

    for (const Bytes& bad : {lower, underscore, shortFile, Bytes{}}) {
        reader.messages.shown.clear();
        Scan(good);
        ASSERT_EQ(parse.ObjdCount, 1);
        Scan(bad);
        ASSERT_EQ(reader.messages.shown.size(), 1u);
        EXPECT_EQ(reader.messages.shown[0].first, "Not a Valid IFF");
        EXPECT_EQ(reader.messages.shown[0].second, "Marrowick");
        EXPECT_EQ(parse.ObjdCount, 0);
        EXPECT_EQ(parse.CtssCount, 0);
        EXPECT_EQ(parse.BmpCount, 0);
    }
}

TEST_F(ScanTest, MapOffsetNotAtAMapGetsTheSecondMessage) {
    Bytes bytes = TypicalObjectFile("Lamp", 128, 300, 1, 0);
    // Point the map offset at the first chunk (an OBJD) instead.
    bytes[60] = 0;
    bytes[61] = 0;
    bytes[62] = 0;
    bytes[63] = 64;
    Scan(TypicalObjectFile("Lamp", 128, 300, 1, 0));
    Scan(bytes);
    ASSERT_EQ(reader.messages.shown.size(), 1u);
    EXPECT_EQ(reader.messages.shown[0].first,
              "Future versions will support objects\r\nwithout a Resource Map, however\r\n"
              "this version requires one.");
    EXPECT_EQ(reader.messages.shown[0].second, "No Resource Map!");
    EXPECT_EQ(parse.ObjdCount, 0);
    for (std::int64_t pos : parse.TypeListPos) {
        EXPECT_EQ(pos, 0);
    }
}

TEST_F(ScanTest, UnopenablePathsAreReportedByName) {
    Scan(TypicalObjectFile("Lamp", 128, 300, 1, 0));
    const std::string missing = dir.Path("gone away.iff");
    reader.Open(missing);
    std::filesystem::create_directory(dir.Path("folder.iff"));
    reader.Open(dir.Path("folder.iff"));
    ASSERT_EQ(reader.messages.shown.size(), 2u);
    EXPECT_EQ(reader.messages.shown[0].first,
              "Could not open \"" + missing + "\": No such file or directory.");
    EXPECT_NE(reader.messages.shown[1].first.find("folder.iff"), std::string::npos);
    EXPECT_EQ(reader.messages.shown[1].second, "Marrowick");
    EXPECT_EQ(parse.ObjdCount, 0);
}

TEST_F(ScanTest, LaterMatchOfATypeCodeWinsEvenPastTheMap) {
    IffBuilder file;
    ObjectDefinition first;
    first.catalog_id = 1;
    file.Object(128, "Listed", first);
    const std::uint32_t hidden = file.Object(129, "Hidden", ObjectDefinition{});
    // The scan region runs 96 bytes past the map's end: an OBJD list there wins.
    Bytes trailer = ToBytes("DJBO");
    AppendLe32(trailer, 1);
    AppendLe32(trailer, hidden);
    AppendLe16(trailer, 129);
    AppendLe16(trailer, 0);
    trailer.push_back(0);
    file.SetTrailer(trailer);
    Scan(file.Build());
    ASSERT_EQ(parse.ObjdCount, 1);
    EXPECT_EQ(parse.ObjdLabel[0], "Hidden");
    EXPECT_EQ(parse.ObjdChunkId[0], 129);
}

TEST_F(ScanTest, ZeroScanLengthExaminesOneWindow) {
    IffBuilder file;
    file.Object(128, "Chair", ObjectDefinition{});
    file.Chunk("CTSS", 0, "", CatalogTexts("Chair", "A chair"));
    file.SetMapSize(0x00010000);  // low 16 bits zero: L = 0
    Scan(file.Build());
    EXPECT_EQ(parse.ObjdCount, 1);
    EXPECT_EQ(parse.CtssCount, 0);
    EXPECT_EQ(parse.TypeListPos[TypeIndex(ChunkType::CTSS)], 0);
}

TEST_F(ScanTest, PadByteRule) {
    IffBuilder file;
    const std::uint32_t a = file.Object(128, "Even", ObjectDefinition{});
    // Labels of both parities with their usual pad are stepped over correctly.
    TypeList objects{"OBJD", 3, {}};
    objects.entries.push_back({a, 1, 0, ToBytes("ab"), 0, true});
    objects.entries.push_back({a, 2, 0, ToBytes("abc"), 0, true});
    objects.entries.push_back({a, 3, 0, {}, 0, true});
    file.SetTypeLists({objects});
    Scan(file.Build());
    ASSERT_EQ(parse.ObjdCount, 3);
    EXPECT_EQ(parse.ObjdChunkId[1], 2);
    EXPECT_EQ(parse.ObjdChunkId[2], 3);

    // Without its pad, a label followed by an offset whose first byte is 0xA3
    // makes the next entry read one byte late: kept, as real tools read it.
    objects.entries = {{a, 1, 0, ToBytes("ab"), 0, false}, {0x000201A3u, 7, 0, {}, 0, true}};
    objects.count = 2;
    file.SetTypeLists({objects});
    Scan(file.Build());
    ASSERT_EQ(parse.ObjdCount, 2);
    EXPECT_EQ(parse.ObjdChunkPos[1], 0x07000201);  // 01 02 00, then the id's low byte
    EXPECT_EQ(parse.ObjdChunkId[1], 0);            // the flags
}

TEST_F(ScanTest, BitmapLabelsEndAtAByteSixteen) {
    IffBuilder file;
    file.Object(128, "Chair", ObjectDefinition{});
    Bytes label = {'a', 16};
    // What follows the 16 is read as the next entry: offset 0x40, id 77.
    for (int b : {0x40, 0, 0, 0, 77, 0, 0, 0, int{'z'}}) {
        label.push_back(static_cast<std::uint8_t>(b));
    }
    TypeList bitmaps{"BMP_", 2, {{0x40, 5, 0, label, 0, true}, {0x40, 6, 0, {}, 0, true}}};
    TypeList sixteen{"BMP_", 1, {{0x40, 9, 0, ToBytes("x"), 16, true}}};
    file.SetTypeLists({bitmaps});
    Scan(file.Build());
    ASSERT_EQ(parse.BmpCount, 2);
    EXPECT_EQ(parse.BmpChunkId[0], 5);
    EXPECT_EQ(parse.BmpChunkId[1], 77);

    file.SetTypeLists({sixteen});
    Scan(file.Build());
    ASSERT_EQ(parse.BmpCount, 1);
    EXPECT_EQ(parse.BmpChunkId[0], 9);
}

TEST_F(ScanTest, CatalogEntriesAreSteppedTenBytes) {
    IffBuilder file;
    file.Chunk("CTSS", 100, "", CatalogTexts("A", "a"));
    const std::uint32_t second = file.Chunk("CTSS", -2, "", CatalogTexts("B", "b"));
    file.SetMapLabels(false);
    Scan(file.Build());
    ASSERT_EQ(parse.CtssCount, 2);
    EXPECT_EQ(parse.CtssChunkPos[1], second);
    EXPECT_EQ(parse.CtssChunkId[1], -2);  // signed

    // A labelled entry (as real files have) displaces the next one: "name", zero
    // and pad take 6 bytes where the step allows 2.
    IffBuilder labelled;
    labelled.Chunk("CTSS", 100, "name", CatalogTexts("A", "a"));
    labelled.Chunk("CTSS", 101, "", CatalogTexts("B", "b"));
    Scan(labelled.Build());
    ASSERT_EQ(parse.CtssCount, 2);
    EXPECT_EQ(parse.CtssChunkPos[1], std::int64_t{'m' | 'e' << 8} | std::int64_t{0xA3} << 24);
}

TEST_F(ScanTest, ChunkLabelsRunOnToTheFirstZeroByte) {
    IffBuilder file;
    const std::string full(64, 'L');
    ObjectDefinition def;
    file.Object(128, full, def);  // no zero byte in the label field
    file.Object(129, "", def);
    file.Object(130, "Caf\xE9 <b>", def);
    Scan(file.Build());
    ASSERT_EQ(parse.ObjdCount, 3);
    // The definition starts with its version, 138 (0x8A 0x00).
    EXPECT_EQ(parse.ObjdLabel[0], full + "\x8A");
    EXPECT_EQ(parse.ObjdLabel[1], "");
    EXPECT_EQ(parse.ObjdLabel[2], "Caf\xE9 <b>");
}

TEST_F(ScanTest, WideIdsAndAbsentTypes) {
    IffBuilder file;
    file.Object(static_cast<std::int16_t>(40000), "Wide", ObjectDefinition{});
    Scan(file.Build());
    ASSERT_EQ(parse.ObjdCount, 1);
    EXPECT_EQ(parse.ObjdChunkId[0], 40000);
    EXPECT_EQ(parse.CtssCount, 0);
    EXPECT_EQ(parse.BmpCount, 0);

    IffBuilder noObjects;
    noObjects.Chunk("STR#", 1, "", {0});
    Scan(noObjects.Build());
    EXPECT_EQ(parse.ObjdCount, 0);
    EXPECT_TRUE(reader.messages.shown.empty());
}

TEST_F(ScanTest, TruncationAtAnyPointNeverFailsHard) {
    const Bytes whole = TypicalObjectFile(
        "Sofa \x93"
        "Deluxe\x94",
        16384, 4000, 7, 3);
    for (std::size_t length = 0; length <= whole.size(); length += 13) {
        reader.messages.shown.clear();
        Scan(Bytes(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length)));
        EXPECT_LE(reader.messages.shown.size(), 1u);
        EXPECT_LE(parse.ObjdCount, 4);
        for (int i = 0; i < parse.ObjdCount; ++i) {
            EXPECT_LE(parse.ObjdLabel[static_cast<std::size_t>(i)].size(), whole.size());
        }
    }
    Scan(whole);
    EXPECT_EQ(parse.ObjdCount, 4);
}

TEST(FileBytesTest, ReadsInBlocksAndStopsAtTheEnd) {
    ScratchFolder dir;
    Bytes bytes(20000);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<std::uint8_t>(i * 7);
    }
    FileBytes file(dir.Write("data", bytes));
    ASSERT_TRUE(file.ok());
    for (std::uint64_t at = 0; at < bytes.size(); ++at) {
        ASSERT_EQ(file.At(at), bytes[at]);
    }
    EXPECT_LE(file.read_calls(), bytes.size() / FileBytes::kBlockSize + 1);
    EXPECT_EQ(file.At(bytes.size()), -1);
    EXPECT_EQ(file.At(UINT64_MAX), -1);
    std::uint8_t tail[8];
    EXPECT_EQ(file.ReadInto(bytes.size() - 3, tail), 3u);
    EXPECT_EQ(tail[3], 0);
    EXPECT_TRUE(file.ReadUpTo(UINT64_MAX - 2, 10).empty());
}

TEST(FileBytesTest, ViewsReadFurtherAheadWhileAWalkGoesOn) {
    ScratchFolder dir;
    Bytes bytes(3 << 20);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<std::uint8_t>(i * 31 + (i >> 12));
    }
    const std::string path = dir.Write("data", bytes);
    const auto matches = [&bytes](std::span<const std::uint8_t> view, std::uint64_t at) {
        return std::equal(view.begin(), view.end(),
                          bytes.begin() + static_cast<std::ptrdiff_t>(at));
    };

    // Small steps front to back: a few large reads, not one per block.
    FileBytes walk(path);
    for (std::uint64_t at = 0; at + 76 <= bytes.size(); at += 80) {
        const auto view = walk.View(at, 76);
        ASSERT_EQ(view.size(), 76u);
        ASSERT_TRUE(matches(view, at)) << at;
    }
    // A ramp of doubling reads, then reads of the largest size.
    EXPECT_LE(walk.read_calls(), bytes.size() / FileBytes::kMaxReadAhead + 8);
    const auto tail = walk.View(bytes.size() - 10, 76);
    EXPECT_EQ(tail.size(), 10u);
    EXPECT_TRUE(matches(tail, bytes.size() - 10));
    EXPECT_TRUE(walk.View(bytes.size(), 76).empty());

    // Far jumps read one block each, not megabytes.
    FileBytes jumps(path);
    for (std::uint64_t at = 0; at < bytes.size(); at += 256 * 1024) {
        ASSERT_TRUE(matches(jumps.View(at, 76), at)) << at;
    }
    EXPECT_EQ(jumps.read_calls(), 12u);
}

}  // namespace
}  // namespace marrowick::test
