// Fields that point outside the file, counts that run past its end, and texts
// that never end: the reader stays inside the file, stops, and keeps no value
// of another object.
#include <gtest/gtest.h>

#include "object_list.h"
#include "scratch.h"

namespace marrowick::reliability {
namespace {

using test::AppendBe32;
using test::CatalogTexts;
using test::IffBuilder;
using test::MapEntry;
using test::ObjectDefinition;
using test::ToBytes;
using test::TypeList;

Bytes Typical() {
    return test::TypicalObjectFile("Chair", 128, 100, 0x12345678, 2);
}

// The 12 bytes that open a chunk: type, big-endian size, id and flags.
Bytes ChunkHead(const std::string& type, std::uint32_t size) {
    Bytes head = ToBytes(type);
    AppendBe32(head, size);
    head.insert(head.end(), {0, 1, 0, 0});
    return head;
}

// A file whose one `type` chunk lies after the map, so that `chunk` ends the file.
Bytes ChunkAtEnd(const std::string& type, const Bytes& chunk) {
    IffBuilder file;
    file.SetTypeLists({{type, 1, {MapEntry{}}}});
    const auto end = static_cast<std::uint32_t>(file.Build().size());
    file.SetTypeLists({{type, 1, {MapEntry{end, 1, 0, {}, 0, true}}}});
    file.SetTrailer(chunk);
    return file.Build();
}

Bytes Repeated(char c, std::size_t n) {
    return Bytes(n, static_cast<std::uint8_t>(c));
}

TEST(FarOffsets, MapOffsetPastTheFileIsAFileWithoutMap) {
    ScratchFolder folder;
    const std::string good = folder.Write("good.iff", Typical());
    for (std::uint32_t map : {0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFFu}) {
        SCOPED_TRACE(map);
        Bytes bytes = Typical();
        SetMapOffset(bytes, map);
        Reader reader;
        reader.Open(good);
        ASSERT_EQ(reader.parse->ObjdCount, 3);
        reader.Open(folder.Write("far.iff", bytes));
        ASSERT_EQ(reader.messages.shown.size(), 1u);
        EXPECT_EQ(reader.messages.shown[0].first, kNoResourceMap);
        EXPECT_EQ(reader.messages.shown[0].second, kNoResourceMapCaption);
        EXPECT_EQ(reader.parse->ObjdCount, 0);
        EXPECT_EQ(reader.parse->CtssCount, 0);
        EXPECT_EQ(reader.parse->BmpCount, 0);
    }
}

TEST(FarOffsets, ChunksPastTheFileDecodeAsZeroes) {
    IffBuilder file;
    file.SetTypeLists({
        {"OBJD", 2, {{0x7FFFFFFF, 10, 0, ToBytes("a"), 0, true}, {0xFFFFFFFF, 11, 0, {}, 0, true}}},
        {"CTSS", 1, {{0x7FFFFFFF, 5, 0, {}, 0, true}}},
        {"BMP_", 1, {{0xFFFFFFFF, 5, 0, {}, 0, true}}},
    });
    ScratchFolder folder;
    Reader reader;
    reader.Open(folder.Write("far.iff", file.Build()));
    EXPECT_TRUE(reader.messages.shown.empty());
    ASSERT_EQ(reader.parse->ObjdCount, 2);
    // Offsets are unsigned file positions, never negative ones.
    EXPECT_EQ(reader.parse->ObjdChunkPos[0], 0x7FFFFFFF);
    EXPECT_EQ(reader.parse->ObjdChunkPos[1], 0xFFFFFFFF);
    EXPECT_EQ(reader.parse->ObjdLabel[1], "");
    EXPECT_EQ(reader.parse->CatalogId[1], 0);

    for (int object : {0, 1}) {
        SCOPED_TRACE(object);
        ObjectAttributeRow& row = reader.parse->ObjectAttributes[static_cast<std::size_t>(object)];
        row.Price = 99;  // as left by an earlier file
        row.HungerScore = 7;
        row.GuidHex1 = "ABCD";
        reader.DecodeAll(object);
        EXPECT_EQ(row.Price, 0);
        EXPECT_EQ(row.HungerScore, 0);
        EXPECT_EQ(row.GuidHex1, "0000");
        EXPECT_EQ(reader.parse->RoomName, "Not Listed");
    }
    reader.parse->ReadCatalogText(0);
    EXPECT_EQ(reader.parse->CatalogName, "");
    EXPECT_EQ(reader.parse->CatalogDescription, "");
    EXPECT_TRUE(reader.parse->ReadThumbnailBytes(0).empty());
    EXPECT_TRUE(reader.messages.shown.empty());
}

TEST(FarOffsets, ChunkCutByTheFilesEndKeepsItsReadableFields) {
    // The chunk ends 10 bytes into its data: the price at data offset 36 and
    // everything after it are missing and read as zero.
    ObjectDefinition def;
    def.guid = 0x44332211;
    def.price = 500;
    Bytes chunk = ChunkHead("OBJD", 76 + 216);
    Bytes label = ToBytes("Cut short");
    label.resize(64, 0);
    chunk.insert(chunk.end(), label.begin(), label.end());
    const Bytes data = def.Encode();
    chunk.insert(chunk.end(), data.begin(), data.begin() + 30);  // GUID's first half only

    ScratchFolder folder;
    Reader reader;
    reader.Open(folder.Write("cut.iff", ChunkAtEnd("OBJD", chunk)));
    ASSERT_EQ(reader.parse->ObjdCount, 1);
    EXPECT_EQ(reader.parse->ObjdLabel[0], "Cut short");
    reader.DecodeAll(0);
    EXPECT_EQ(reader.Row(0).GuidHex1, "1122");
    EXPECT_EQ(reader.Row(0).GuidHex2, "0000");
    EXPECT_EQ(reader.Row(0).Price, 0);
}

TEST(CountsPastTheEnd, ListsStopWhereTheFileEnds) {
    // The map ends the file; each list claims 200 entries but holds a few, and a
    // stub of an entry (5 of its 8 fixed bytes) follows the last whole one.
    struct Case {
        std::string type;
        int entries;
        int ParseIFF::*count;
    };
    for (const Case& c :
         {Case{"OBJD", 3, &ParseIFF::ObjdCount}, Case{"CTSS", 2, &ParseIFF::CtssCount},
          Case{"BMP_", 1, &ParseIFF::BmpCount}}) {
        SCOPED_TRACE(c.type);
        IffBuilder file;
        const std::uint32_t chunk = file.Object(128, "Table", ObjectDefinition{});
        TypeList list{c.type, 200, {}};
        for (int i = 0; i < c.entries; ++i) {
            list.entries.push_back({chunk, static_cast<std::int16_t>(128 + i), 0, {}, 0, true});
        }
        file.SetTypeLists({list});
        file.SetTrailer({1, 2, 3, 4, 5});
        ScratchFolder folder;
        Reader reader;
        reader.Open(folder.Write("counts.iff", file.Build()));
        EXPECT_TRUE(reader.messages.shown.empty());
        EXPECT_EQ((*reader.parse).*c.count, c.entries);
    }
}

TEST(CountsPastTheEnd, CountFieldPastTheEndCountsNothing) {
    // The OBJD code is the file's last four bytes, so its count field is missing.
    IffBuilder file;
    file.Chunk("STR#", 1, "", Bytes(8, 0));
    file.SetTrailer(ToBytes("DJBO"));
    ScratchFolder folder;
    Reader reader;
    reader.Open(folder.Write("count.iff", file.Build()));
    EXPECT_GT(reader.parse->TypeListPos[static_cast<std::size_t>(ChunkType::OBJD)], 0);
    EXPECT_EQ(reader.parse->ObjdCount, 0);
}

TEST(EndlessTexts, MapLabelsRunToTheFilesEndAndStop) {
    for (const std::string type : {"OBJD", "BMP_"}) {
        SCOPED_TRACE(type);
        IffBuilder file;
        const std::uint32_t chunk = file.Object(128, "Lamp", ObjectDefinition{});
        file.SetTypeLists({{type, 5, {{chunk, 128, 0, ToBytes("Lamp"), 0, true}}}});
        // The second entry's label has neither a zero byte nor (for BMP_) a 16.
        Bytes tail = {0x40, 0, 0, 0, 129, 0, 0, 0};
        const Bytes endless = Repeated('z', 5000);
        tail.insert(tail.end(), endless.begin(), endless.end());
        file.SetTrailer(tail);
        ScratchFolder folder;
        Reader reader;
        reader.Open(folder.Write("label.iff", file.Build()));
        EXPECT_EQ(type == "OBJD" ? reader.parse->ObjdCount : reader.parse->BmpCount, 2);
    }
}

TEST(EndlessTexts, ChunkLabelRunsToTheFilesEndWithinTheTextBound) {
    for (std::size_t length : {std::size_t{10}, std::size_t{40000}}) {
        SCOPED_TRACE(length);
        Bytes chunk = ChunkHead("OBJD", 0x7FFFFFFF);
        const Bytes endless = Repeated('L', length);
        chunk.insert(chunk.end(), endless.begin(), endless.end());
        ScratchFolder folder;
        Reader reader;
        reader.Open(folder.Write("label.iff", ChunkAtEnd("OBJD", chunk)));
        ASSERT_EQ(reader.parse->ObjdCount, 1);
        EXPECT_EQ(reader.parse->ObjdLabel[0].size(), std::min(length, ParseIFF::kMaxTextBytes));
        EXPECT_EQ(reader.parse->ObjdLabel[0].find_first_not_of('L'), std::string::npos);
    }
}

// A CTSS chunk at the end of the file: the five bytes before the first text,
// then `texts`. The size field claims `size`.
std::string CatalogNameOf(const Bytes& texts, std::uint32_t size, std::string* description) {
    Bytes chunk = ChunkHead("CTSS", size);
    chunk.resize(76, 0);
    chunk.insert(chunk.end(), {0xFD, 0xFF, 2, 0, 1});
    chunk.insert(chunk.end(), texts.begin(), texts.end());
    ScratchFolder folder;
    Reader reader;
    reader.Open(folder.Write("texts.iff", ChunkAtEnd("CTSS", chunk)));
    EXPECT_EQ(reader.parse->CtssCount, 1);
    reader.parse->CatalogName = "stale";
    reader.parse->CatalogDescription = "stale";
    reader.parse->ReadCatalogText(0);
    EXPECT_TRUE(reader.messages.shown.empty());
    *description = reader.parse->CatalogDescription;
    return reader.parse->CatalogName;
}

TEST(EndlessTexts, CatalogTextsWithoutTerminators) {
    std::string description;
    // No zero byte before the end of the file, though the size claims more.
    EXPECT_EQ(CatalogNameOf(ToBytes("Chair and more"), 0x7FFFFFFF, &description), "Chair and more");
    EXPECT_EQ(description, "");

    // A name, but no byte 1 before the description.
    Bytes noSeparator = ToBytes("Chair");
    noSeparator.push_back(0);
    const Bytes comment = ToBytes("comment without end");
    noSeparator.insert(noSeparator.end(), comment.begin(), comment.end());
    EXPECT_EQ(CatalogNameOf(noSeparator, 0x7FFFFFFF, &description), "Chair");
    EXPECT_EQ(description, "");

    // A description without its zero byte runs to the file's end.
    Bytes noEnd = ToBytes("Chair");
    noEnd.insert(noEnd.end(), {0, 0, 1});
    const Bytes text = ToBytes("Comfy");
    noEnd.insert(noEnd.end(), text.begin(), text.end());
    EXPECT_EQ(CatalogNameOf(noEnd, 0x7FFFFFFF, &description), "Chair");
    EXPECT_EQ(description, "Comfy");

    // The chunk's size ends the name even though the file goes on.
    EXPECT_EQ(CatalogNameOf(ToBytes("Chair and more"), 76 + 5 + 5, &description), "Chair");

    // Each step takes at most 32767 bytes, so the texts stay bounded however
    // long the run without terminators.
    const std::string name = CatalogNameOf(Repeated('n', 200000), 0x7FFFFFFF, &description);
    EXPECT_EQ(name.size(), ParseIFF::kMaxTextBytes);
    EXPECT_LE(description.size(), ParseIFF::kMaxTextBytes);
}

// `entries` objects listed under a count field of `countField`.
Bytes ManyObjects(int entries, std::uint32_t countField) {
    IffBuilder file;
    TypeList list{"OBJD", countField, {}};
    for (int i = 0; i < entries; ++i) {
        ObjectDefinition def;
        def.price = static_cast<std::int16_t>(i);
        const auto id = static_cast<std::int16_t>(1000 + i);
        const std::string label = "Object " + std::to_string(i);
        list.entries.push_back({file.Object(id, label, def), id, 0, ToBytes(label), 0, true});
    }
    file.SetTypeLists({list});
    return file.Build();
}

TEST(ObjectCounts, TheLargestCountFillsRowsUpTo254) {
    ScratchFolder folder;
    Reader reader;
    reader.Open(folder.Write("255.iff", ManyObjects(255, 255)));
    ASSERT_EQ(reader.parse->ObjdCount, 255);
    EXPECT_EQ(FillObjectList(*reader.parse).size(), 255u);
    EXPECT_EQ(reader.parse->ObjdLabel[254], "Object 254");
    EXPECT_EQ(reader.parse->ObjdChunkId[254], 1254);
    reader.parse->ReadObjectAttributes(254, ValueGroup);
    EXPECT_EQ(reader.Row(254).Price, 254);
}

TEST(ObjectCounts, OnlyTheCountFieldsLowByteCounts) {
    ScratchFolder folder;
    Reader reader;
    reader.Open(folder.Write("300.iff", ManyObjects(300, 300)));
    ASSERT_EQ(reader.parse->ObjdCount, 44);
    EXPECT_EQ(reader.parse->ObjdLabel[43], "Object 43");
    reader.parse->ReadObjectAttributes(43, ValueGroup);
    EXPECT_EQ(reader.Row(43).Price, 43);

    reader.Open(folder.Write("256.iff", ManyObjects(256, 256)));
    EXPECT_EQ(reader.parse->ObjdCount, 0);
    EXPECT_TRUE(reader.messages.shown.empty());
}

}  // namespace
}  // namespace marrowick::reliability
