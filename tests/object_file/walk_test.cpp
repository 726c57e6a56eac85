// Files without a resource map, read by walking their chunks: where the walk
// stops, what it keeps, and that it lists what a map would have listed.
#include <gtest/gtest.h>

#include "object_list.h"
#include "reader_harness.h"

namespace marrowick::test {
namespace {

// The index as one line per row, in the walk's order: OBJD rows with their id,
// label and catalog id, then the CTSS and BMP_ rows with their id.
std::vector<std::string> IndexRows(const ParseIFF& parse) {
    std::vector<std::string> rows;
    for (std::size_t i = 0; i < static_cast<std::size_t>(parse.ObjdCount); ++i) {
        rows.push_back("OBJD " + std::to_string(parse.ObjdChunkPos[i]) + " " +
                       std::to_string(parse.ObjdChunkId[i]) + " " + parse.ObjdLabel[i] + " " +
                       std::to_string(parse.CatalogId[i]));
    }
    for (std::size_t j = 0; j < static_cast<std::size_t>(parse.CtssCount); ++j) {
        rows.push_back("CTSS " + std::to_string(parse.CtssChunkPos[j]) + " " +
                       std::to_string(parse.CtssChunkId[j]));
    }
    for (std::size_t j = 0; j < static_cast<std::size_t>(parse.BmpCount); ++j) {
        rows.push_back("BMP_ " + std::to_string(parse.BmpChunkPos[j]) + " " +
                       std::to_string(parse.BmpChunkId[j]));
    }
    return rows;
}

ObjectDefinition InCatalog(std::int16_t catalogId) {
    ObjectDefinition def;
    def.catalog_id = catalogId;
    def.guid = 0x01020304u + static_cast<std::uint32_t>(catalogId);
    def.price = 250;
    return def;
}

Bytes ChunkHeaderOnly(const std::string& type, std::uint32_t size) {
    Bytes header = ToBytes(type);
    AppendBe32(header, size);
    header.resize(76, 0);
    return header;
}

class WalkTest : public ::testing::Test {
  protected:
    ScratchFolder dir;
    Reader reader;
    ParseIFF& parse = *reader.parse;

    WalkTest() { reader.messages.readChunks = true; }
    void Open(const Bytes& bytes) { reader.Open(dir.Write("no-map.iff", bytes)); }
};

TEST_F(WalkTest, StopsOnlyAtTheEndOrAtDamageKeepingWhatCameBefore) {
    struct Case {
        const char* what;
        Bytes bytes;
        std::vector<std::string> rows;
        std::string warning;  // a part of the one warning; empty for none
    };
    std::vector<Case> cases;
    {
        IffBuilder file;
        file.OmitMap();
        file.Object(128, "Chair", InCatalog(2000));
        file.Chunk("objd", 129, "lower case", InCatalog(1).Encode());  // codes compare exactly
        file.Chunk("STR#", 128, "strings", Bytes(10, 1));
        const auto ctss = file.Chunk("CTSS", 2000, "", CatalogTexts("Chair", "Soft"));
        const auto bmp = file.Chunk("BMP_", 2000, "", CatalogThumbnail(1, 2));
        cases.push_back({"clean end",
                         file.Build(),
                         {"OBJD 64 128 Chair 2000", "CTSS " + std::to_string(ctss) + " 2000",
                          "BMP_ " + std::to_string(bmp) + " 2000"},
                         ""});
    }
    {
        // A map left behind by an editor is just another chunk to the walk.
        IffBuilder stale;
        stale.Object(300, "Elsewhere", InCatalog(5));
        IffBuilder file;
        file.OmitMap();
        const Bytes staleBytes = stale.Build();
        file.Chunk("rsmp", 0, "", Bytes(staleBytes.begin() + 64, staleBytes.end()));
        const std::uint32_t at = file.Object(128, "Lamp", InCatalog(7));
        cases.push_back(
            {"rsmp on the way", file.Build(), {"OBJD " + std::to_string(at) + " 128 Lamp 7"}, ""});
    }
    {
        IffBuilder file;
        file.OmitMap();
        file.Object(128, "Chair", InCatalog(3));
        file.Raw(Bytes(40, 0));
        cases.push_back({"short tail",
                         file.Build(),
                         {"OBJD 64 128 Chair 3"},
                         "Reading stopped at byte 356: only 40 bytes are left there"});
    }
    {
        IffBuilder file;
        file.OmitMap();
        file.Object(128, "Chair", InCatalog(3));
        file.Raw(ChunkHeaderOnly("STR#", 12));
        file.Object(129, "After", InCatalog(4));
        cases.push_back({"size below its header",
                         file.Build(),
                         {"OBJD 64 128 Chair 3"},
                         "at byte 356: the chunk there gives its size as 12 bytes"});
    }
    {
        IffBuilder file;
        file.OmitMap();
        file.Object(128, "Chair", InCatalog(3));
        Bytes bitmap = ChunkHeaderOnly("BMP_", 5000);
        bitmap.resize(1000, 7);
        file.Raw(bitmap);
        cases.push_back({"cut short",
                         file.Build(),
                         {"OBJD 64 128 Chair 3"},
                         "at byte 356: the chunk there is 5000 bytes long and runs past the end "
                         "of the file at byte 1356."});
    }
    {
        IffBuilder file;
        file.OmitMap();
        file.Object(0x1234, "Wide", InCatalog(-2));
        file.Object(static_cast<std::int16_t>(0x8001), "High", InCatalog(1));
        const auto ctss = file.Chunk("CTSS", -2, "", CatalogTexts("W", "w"));
        const auto bmp = file.Chunk("BMP_", static_cast<std::int16_t>(0xFFFE), "", Bytes(4, 0));
        cases.push_back(
            {"id byte order and sign",
             file.Build(),
             {"OBJD 64 4660 Wide -2", "OBJD 356 32769 High 1",
              "CTSS " + std::to_string(ctss) + " -2", "BMP_ " + std::to_string(bmp) + " -2"},
             ""});
    }
    {
        // A full label field runs on into the data: the version word 138, 0.
        const std::string full(64, 'L');
        IffBuilder file;
        file.OmitMap();
        file.Object(128, full, InCatalog(0));
        cases.push_back(
            {"label without a zero", file.Build(), {"OBJD 64 128 " + full + "\x8A 0"}, ""});
    }
    cases.push_back(
        {"header only", ToBytes(std::string(64, ' ').replace(0, 8, "IFF FILE")), {}, ""});
    cases.push_back({"shorter than a header",
                     ToBytes("IFF FILE and 20 more"),
                     {},
                     "The file ends at byte 20, before its first chunk at byte 64."});

    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Open(c.bytes);
        EXPECT_EQ(parse.ReadBy, IndexSource::Chunks);
        EXPECT_EQ(IndexRows(parse), c.rows);
        if (c.warning.empty()) {
            EXPECT_TRUE(parse.ScanWarnings.empty()) << parse.ScanWarnings.front();
        } else {
            ASSERT_EQ(parse.ScanWarnings.size(), 1u);
            EXPECT_NE(parse.ScanWarnings[0].find(c.warning), std::string::npos)
                << parse.ScanWarnings[0];
        }
        EXPECT_EQ(parse.FileNum, -1);
    }
}

TEST_F(WalkTest, KeepsTheFirst255OfATypeAndSaysHowManyWereLeftOut) {
    IffBuilder file;
    file.OmitMap();
    for (int i = 0; i < 257; ++i) {
        file.Object(static_cast<std::int16_t>(1000 + i), "Tile " + std::to_string(i), {});
        file.Chunk("BMP_", static_cast<std::int16_t>(i), "", Bytes(2, 0));
    }
    file.Chunk("BMP_", 999, "", Bytes(2, 0));
    Open(file.Build());

    ASSERT_EQ(parse.ObjdCount, 255);
    EXPECT_EQ(parse.ObjdLabel[254], "Tile 254");
    EXPECT_EQ(parse.ObjdChunkId[254], 1254);
    ASSERT_EQ(parse.BmpCount, 255);
    EXPECT_EQ(parse.BmpChunkId[254], 254);
    EXPECT_EQ(parse.ScanWarnings, (std::vector<std::string>{
                                      "Only 255 OBJD chunks can be kept: 2 more were left out.",
                                      "Only 255 BMP_ chunks can be kept: 3 more were left out."}));
}

TEST_F(WalkTest, OnlyAFileThatGetsTheNoMapMessageIsWalked) {
    const Bytes withMap = TypicalObjectFile("Lamp", 128, 300, 7, 1);
    Bytes mapAtZero = withMap;
    Bytes mapAtAChunk = withMap;
    Bytes mapPastTheEnd = withMap;
    std::fill(mapAtZero.begin() + 60, mapAtZero.begin() + 64, 0);
    mapAtAChunk[62] = 0;
    mapAtAChunk[63] = 64;
    mapPastTheEnd[60] = 0x7F;
    Bytes notIff = withMap;
    notIff[0] = 'i';

    const struct {
        const char* what;
        const Bytes& bytes;
        IndexSource readBy;
        const char* message;  // the caption shown, or none
    } cases[] = {
        {"a map", withMap, IndexSource::ResourceMap, nullptr},
        {"map offset 0", mapAtZero, IndexSource::Chunks, "No Resource Map!"},
        {"offset at another chunk", mapAtAChunk, IndexSource::Chunks, "No Resource Map!"},
        {"offset past the end", mapPastTheEnd, IndexSource::Chunks, "No Resource Map!"},
        {"not an IFF", notIff, IndexSource::None, "Marrowick"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        reader.messages.shown.clear();
        Open(c.bytes);
        EXPECT_EQ(parse.ReadBy, c.readBy);
        ASSERT_EQ(reader.messages.shown.size(), c.message == nullptr ? 0u : 1u);
        if (c.message != nullptr) {
            EXPECT_EQ(reader.messages.shown[0].second, c.message);
        }
        // The walk of the mapped file's own chunks finds its map as a chunk and
        // every object the map lists.
        EXPECT_EQ(parse.ObjdCount, c.readBy == IndexSource::None ? 0 : 2);
    }

    // Answered with OK, the message leaves the index empty, as always.
    reader.messages.readChunks = false;
    Open(mapAtZero);
    EXPECT_EQ(parse.ReadBy, IndexSource::None);
    EXPECT_EQ(parse.ObjdCount, 0);
}

TEST_F(WalkTest, AFileWithoutAMapListsWhatTheSameFileWithAMapLists) {
    const auto build = [](bool withMap) {
        IffBuilder file;
        if (!withMap) {
            file.OmitMap();
        }
        file.Object(16384, "Armchair", InCatalog(2000));
        file.Object(16385, "Armchair - tile", InCatalog(0));
        file.Object(200, "Lamp", InCatalog(-5));
        file.Chunk("SPR2", 16384, "sprite", Bytes(3000, 0x5A));
        file.Chunk("CTSS", 2000, "", CatalogTexts("Armchair", "Deep and soft."));
        file.Chunk("CTSS", -5, "", PackedCatalogTexts({{1, "Lamp", ""}, {1, "Bright.", ""}}));
        file.Chunk("CTSS", 2000, "", CatalogTexts("Armchair", "The later row wins."));
        file.Chunk("BMP_", 2000, "", CatalogThumbnail(0x102030, 0x405060));
        file.Chunk("BMP_", -5, "", CatalogThumbnail(0x708090, 0xA0B0C0));
        return file.Build();
    };
    struct Listed {
        std::vector<std::string> entries;
        std::vector<std::string> details;
    };
    const auto list = [this](const Bytes& bytes) {
        Open(bytes);
        Listed listed;
        for (const ObjectListEntry& entry : FillObjectList(parse)) {
            const int i = static_cast<int>(listed.entries.size());
            reader.DecodeAll(i);
            parse.ReadCatalogText(entry.ItemData);
            const ObjectAttributeRow& row = reader.Row(i);
            const int thumb = parse.ThumbIndex[static_cast<std::size_t>(i)];
            listed.entries.push_back(entry.Text);
            listed.details.push_back(row.GuidHex1 + row.GuidHex2 + " " + std::to_string(row.Price) +
                                     " " + parse.CatalogName + "/" + parse.CatalogDescription +
                                     " thumb " + std::to_string(thumb) + " " +
                                     std::to_string(parse.ReadThumbnailBytes(thumb).size()));
        }
        return listed;
    };

    const Listed mapped = list(build(true));
    EXPECT_EQ(parse.ReadBy, IndexSource::ResourceMap);
    const Listed walked = list(build(false));
    EXPECT_EQ(parse.ReadBy, IndexSource::Chunks);
    EXPECT_EQ(walked.entries, mapped.entries);
    EXPECT_EQ(walked.details, mapped.details);
    ASSERT_EQ(walked.details.size(), 3u);
    const std::string thumbnail = std::to_string(CatalogThumbnail(0, 0).size());
    EXPECT_EQ(walked.details[0], "D40A0201 250 Armchair/The later row wins. thumb 0 " + thumbnail);
    EXPECT_EQ(walked.details[2], "FF020201 250 Lamp/Bright. thumb 1 " + thumbnail);
}

}  // namespace
}  // namespace marrowick::test
