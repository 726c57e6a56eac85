// Decoding object definitions and catalog texts from files made by the builder.
#include <gtest/gtest.h>

#include <filesystem>

#include "reader_harness.h"

namespace marrowick::test {
namespace {

class DecodeTest : public ::testing::Test {
  protected:
    ScratchFolder dir;
    Reader reader;
    ParseIFF& parse = *reader.parse;
    std::string path;

    void Open(const Bytes& bytes) {
        path = dir.Write("object.iff", bytes);
        reader.Open(path);
    }
    // One object carrying `def`, plus any catalog chunk data given.
    void OpenObject(const ObjectDefinition& def, const Bytes& catalogTexts = {}) {
        IffBuilder file;
        file.Object(128, "Chair", def);
        if (!catalogTexts.empty()) {
            file.Chunk("CTSS", def.catalog_id, "", catalogTexts);
        }
        Open(file.Build());
    }
    const ObjectAttributeRow& Row(int i) const {
        return parse.ObjectAttributes[static_cast<std::size_t>(i)];
    }
};

TEST_F(DecodeTest, ValueFieldsAreSigned16Bit) {
    ObjectDefinition def;
    def.price = -1;
    def.sale_price = 10000;
    def.initial_depreciation = -32768;
    def.daily_depreciation = 32767;
    def.self_depreciating = 2;
    def.depreciation_limit = 150;
    OpenObject(def);
    parse.ReadObjectAttributes(0, ValueGroup);
    EXPECT_EQ(Row(0).Price, -1);
    EXPECT_EQ(Row(0).SalePrice, 10000);
    EXPECT_EQ(Row(0).InitialDepreciation, -32768);
    EXPECT_EQ(Row(0).DailyDepreciation, 32767);
    EXPECT_EQ(Row(0).SelfDepreciating, 2);
    EXPECT_EQ(Row(0).DepreciationLimit, 150);
}

TEST_F(DecodeTest, ScoresAndSkillFlag) {
    ObjectDefinition def;
    const std::int16_t scores[7] = {1, -2, 3, -4, 5, -6, 7};
    std::copy(std::begin(scores), std::end(scores), def.scores);
    def.skill_flag = 67;
    OpenObject(def);
    parse.ReadObjectAttributes(0, ScoreGroup);
    parse.ReadObjectAttributes(0, SkillGroup);
    const ObjectAttributeRow& row = Row(0);
    EXPECT_EQ(row.HungerScore, 1);
    EXPECT_EQ(row.ComfortScore, -2);
    EXPECT_EQ(row.HygieneScore, 3);
    EXPECT_EQ(row.BladderScore, -4);
    EXPECT_EQ(row.EnergyScore, 5);
    EXPECT_EQ(row.FunScore, -6);
    EXPECT_EQ(row.RoomScore, 7);
    EXPECT_EQ(row.SkillFlag, 67);
}

TEST_F(DecodeTest, GuidTextsSpellTheBytesInFileOrder) {
    ObjectDefinition def;
    def.guid = 0xE7EA4328;           // bytes 28 43 EA E7
    def.original_guid = 0x01AB0F00;  // bytes 00 0F AB 01
    def.clone_guid = 0x12345678;
    OpenObject(def);
    // The misc flags just before the clone GUID must not leak into it.
    Bytes bytes = ReadFile(path);
    bytes[static_cast<std::size_t>(parse.ObjdChunkPos[0]) + 258] = 0xEE;
    WriteFile(path, bytes);
    parse.ReadObjectAttributes(0, GuidGroup);
    EXPECT_EQ(Row(0).GuidHex1, "2843");
    EXPECT_EQ(Row(0).GuidHex2, "EAE7");
    EXPECT_EQ(Row(0).OrigGuidHex1, "000F");
    EXPECT_EQ(Row(0).OrigGuidHex2, "AB01");
    EXPECT_EQ(Row(0).CloneGuidHex1, "7856");
    EXPECT_EQ(Row(0).CloneGuidHex2, "3412");
}

TEST_F(DecodeTest, BuyModeUsesTheLowByteAndNamesCategories) {
    struct Case {
        std::uint16_t room, type;
        const char* roomName;
        int roomIndex;
        const char* typeName;
        int typeIndex;
    };
    const Case cases[] = {
        {8, 1, "Living Room", 4, "Seating", 1},
        {0, 0, "Not Listed", 0, "Not Listed", 0},
        {128, 64, "Study", 8, "Misc", 7},
        {0x0101, 0x0280, "Kitchen", 1, "Lighting", 8},
        {43, 170, "Kitchen, Bedroom, Living Room, Dining Room", -1,
         "Surfaces, Electronics, Decorative, Lighting", -1},
    };
    for (const Case& c : cases) {
        ObjectDefinition def;
        def.room_flags = c.room;
        def.type_flags = c.type;
        OpenObject(def);
        parse.ReadObjectAttributes(0, BuyModeGroup);
        EXPECT_EQ(Row(0).RoomFlags, c.room & 0xFF);
        EXPECT_EQ(Row(0).TypeFlags, c.type & 0xFF);
        EXPECT_EQ(parse.RoomName, c.roomName);
        EXPECT_EQ(parse.RoomIndex, c.roomIndex);
        EXPECT_EQ(parse.TypeName, c.typeName);
        EXPECT_EQ(parse.TypeIndex, c.typeIndex);
    }
}

TEST_F(DecodeTest, ADecodeReplacesOnlyItsOwnGroup) {
    IffBuilder file;
    ObjectDefinition kitchen;
    kitchen.room_flags = 1;
    kitchen.price = 99;
    kitchen.scores[0] = 5;
    ObjectDefinition study;
    study.room_flags = 128;
    file.Object(128, "A", kitchen);
    file.Object(129, "B", study);
    Open(file.Build());

    parse.ObjectAttributes[0].HungerScore = 1234;
    parse.ObjectAttributes[0].GuidHex1 = "left";
    parse.ObjectAttributes[0].RoomFlags = 77;
    parse.ReadObjectAttributes(0, ValueGroup);
    EXPECT_EQ(Row(0).Price, 99);
    EXPECT_EQ(Row(0).HungerScore, 1234);
    EXPECT_EQ(Row(0).GuidHex1, "left");
    EXPECT_EQ(Row(0).RoomFlags, 77);

    parse.ReadObjectAttributes(0, BuyModeGroup);
    parse.ReadObjectAttributes(1, BuyModeGroup);
    EXPECT_EQ(parse.RoomName, "Study");  // the last buy-mode decode, whichever object
    EXPECT_EQ(Row(0).RoomFlags, 1);

    // Unknown groups read nothing.
    parse.ReadObjectAttributes(0, static_cast<AttributeGroup>(3));
    EXPECT_EQ(Row(0).HungerScore, 1234);
}

TEST_F(DecodeTest, AFileScopeSharesOneOpenFileAndReportsOnce) {
    ObjectDefinition def;
    def.price = 42;
    OpenObject(def);
    {
        ParseIFF::FileScope open(parse);
        parse.ReadObjectAttributes(0, SkillGroup);
        const int descriptor = parse.FileNum;
        EXPECT_GE(descriptor, 0);
        // Later calls in the scope read through the descriptor already open.
        std::filesystem::remove(path);
        parse.ReadObjectAttributes(0, ValueGroup);
        EXPECT_EQ(Row(0).Price, 42);
        EXPECT_EQ(parse.FileNum, descriptor);
    }
    EXPECT_EQ(parse.FileNum, -1);
    EXPECT_TRUE(reader.messages.shown.empty());
    {
        ParseIFF::FileScope open(parse);
        parse.ReadObjectAttributes(0, ValueGroup);
        parse.ReadObjectAttributes(0, BuyModeGroup);
        parse.ReadCatalogText(0);
    }
    EXPECT_EQ(Row(0).Price, 0);
    EXPECT_EQ(reader.messages.shown.size(), 1u);
}

TEST_F(DecodeTest, CatalogTextsInTheUsualLayout) {
    ObjectDefinition def;
    def.catalog_id = 2000;
    OpenObject(def, CatalogTexts({{1, "Chair", ""},
                                  {1, "A comfy chair", "note"},
                                  {2, "Stuhl", ""},
                                  {2, "Ein Stuhl", ""}}));
    parse.ReadCatalogText(0);
    EXPECT_EQ(parse.CatalogName, "Chair");
    EXPECT_EQ(parse.CatalogDescription, "A comfy chair");

    OpenObject(def, CatalogTexts("", "Nameless"));
    parse.ReadCatalogText(0);
    EXPECT_EQ(parse.CatalogName, "");
    EXPECT_EQ(parse.CatalogDescription, "Nameless");

    // A byte 1 inside the first comment starts the description there.
    OpenObject(def, CatalogTexts({{1, "Lamp", "a\x01tricky"}, {1, "Bright", ""}}));
    parse.ReadCatalogText(0);
    EXPECT_EQ(parse.CatalogName, "Lamp");
    EXPECT_EQ(parse.CatalogDescription, "tricky");

    // A second language before the description is passed over with its texts.
    OpenObject(def, CatalogTexts({{1, "Sofa", ""}, {3, "Canape", ""}, {1, "Long", ""}}));
    parse.ReadCatalogText(0);
    EXPECT_EQ(parse.CatalogDescription, "Long");
}

TEST_F(DecodeTest, CatalogTextsStopAtTheChunksEnd) {
    IffBuilder file;
    ObjectDefinition def;
    def.catalog_id = 7;
    file.Object(128, "Chair", def);
    // The chunk ends in the middle of the name; the next chunk's bytes are not read.
    Bytes data = {0xFD, 0xFF, 2, 0, 1, 'H', 'a', 'l'};
    file.Chunk("CTSS", 7, "", data);
    file.Chunk("STR#", 7, "", ToBytes(std::string("f\0\x01stray\0", 9)));
    Open(file.Build());
    parse.ReadCatalogText(0);
    EXPECT_EQ(parse.CatalogName, "Hal");
    EXPECT_EQ(parse.CatalogDescription, "");
}

TEST_F(DecodeTest, CatalogTextsInThePackedLayout) {
    const std::string description(345, 'd');
    // The game's own example: 20 language sets, the first holding two entries
    // whose lengths take one and two 7-bit groups.
    Bytes example = {0xFC, 0xFF, 0x14, 0x02, 0x00, 0xFF, 0x10};
    for (char c : std::string("The Envy Creator")) {
        example.push_back(static_cast<std::uint8_t>(c));
    }
    example.insert(example.end(), {0x00, 0xFF, 0xD9, 0x02});
    example.insert(example.end(), description.begin(), description.end());
    example.push_back(0x00);
    example.insert(example.end(), 38, 0x00);

    // A description longer than what is left of the chunk; the next chunk's
    // bytes are not part of it.
    Bytes cut = PackedCatalogTexts({{1, "Lamp", "c"}, {1, "0123456789", ""}}, 1);
    cut.resize(cut.size() - 5);

    const struct {
        const char* what;
        Bytes data;
        std::string name, description;
    } cases[] = {
        {"example", example, "The Envy Creator", description},
        {"comments", PackedCatalogTexts({{1, "Sofa", "note"}, {1, "Soft", "more"}}), "Sofa",
         "Soft"},
        {"one entry", PackedCatalogTexts({{1, "Only", ""}}), "Only", ""},
        {"no sets", PackedCatalogTexts({{1, "Hidden", ""}, {1, "Gone", ""}}, 0), "", ""},
        {"past the chunk", cut, "Lamp", "012345"},
        {"zero in a text", PackedCatalogTexts({{1, std::string("Ab\0c", 4), ""}, {1, "D", ""}}),
         "Ab", "D"},
        // Any other format code is read by zero bytes from offset 81.
        {"other code", {0xFC, 0xFE, 1, 2, 0, 'N', 0, 0, 1, 'D', 0}, "N", "D"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        IffBuilder file;
        ObjectDefinition def;
        def.catalog_id = 9;
        file.Object(128, "Chair", def);
        file.Chunk("CTSS", 9, "", c.data);
        file.Chunk("STR#", 9, "", ToBytes("stray bytes"));
        Open(file.Build());
        parse.ReadCatalogText(0);
        EXPECT_EQ(parse.CatalogName, c.name);
        EXPECT_EQ(parse.CatalogDescription, c.description);
    }
}

TEST_F(DecodeTest, NoCatalogEntryGivesTheFixedTexts) {
    OpenObject(ObjectDefinition{});
    std::filesystem::remove(path);  // the file is not needed for them
    parse.ReadCatalogText(-1);
    EXPECT_EQ(parse.CatalogName, "No Description");
    EXPECT_EQ(parse.CatalogDescription.find("There is no description for this object. "), 0u);
    EXPECT_NE(parse.CatalogDescription.find("no description availible, this software may support "
                                            "viewing and editing of some parts of non-object "
                                            "files.\r\nTIP: Check for Thumbnails."),
              std::string::npos);
    const std::string tail = "hidden objects within non object IFF files.";
    const std::string& text = parse.CatalogDescription;
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
    EXPECT_TRUE(reader.messages.shown.empty());
}

TEST_F(DecodeTest, ThumbnailBytesAreTheChunkData) {
    IffBuilder file;
    const Bytes bitmap = CatalogThumbnail(0xFF0000, 0x00FF00);
    file.Chunk("BMP_", 5, "", bitmap);
    Open(file.Build());
    ASSERT_EQ(parse.BmpCount, 1);
    EXPECT_EQ(parse.ReadThumbnailBytes(0), bitmap);
    EXPECT_TRUE(parse.ReadThumbnailBytes(1).empty());
    EXPECT_TRUE(parse.ReadThumbnailBytes(-1).empty());
}

}  // namespace
}  // namespace marrowick::test
