// The list entries with their catalog and thumbnail links, the editor's label
// and skill boxes, and the text conversion the windows use.
#include <gtest/gtest.h>

#include "cp1252.h"
#include "object_list.h"
#include "reader_harness.h"

namespace marrowick::test {
namespace {

TEST(ObjectListTest, EntriesAndTheirLinks) {
    ScratchFolder dir;
    Reader reader;
    IffBuilder file;
    ObjectDefinition chair;
    chair.catalog_id = 2000;
    ObjectDefinition tile;  // catalog id 0, as sub-tiles have
    ObjectDefinition negative;
    negative.catalog_id = -1;
    file.Object(128, "Chair", chair);
    file.Object(129, "Chair", tile);
    file.Object(16384, "Odd", negative);
    file.Chunk("CTSS", 2000, "", CatalogTexts("Chair", "first"));
    file.Chunk("BMP_", 2000, "", CatalogThumbnail(1, 2));
    file.Chunk("BMP_", -1, "", CatalogThumbnail(1, 2));
    file.Chunk("BMP_", 2000, "", CatalogThumbnail(3, 4));
    file.Chunk("STR#", 2000, "", {0});
    file.SetMapLabels(false);  // keep the CTSS rows aligned
    IffBuilder withSecondCatalog = file;
    withSecondCatalog.Chunk("CTSS", 2000, "", CatalogTexts("Chair", "second"));
    withSecondCatalog.Chunk("CTSS", -1, "", CatalogTexts("Odd", "negative"));
    reader.Open(dir.Write("chairs.iff", withSecondCatalog.Build()));

    const std::vector<ObjectListEntry> entries = FillObjectList(*reader.parse);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].Text, "Chair  128");
    EXPECT_EQ(entries[1].Text, "Chair  129");  // same label, told apart by id
    EXPECT_EQ(entries[2].Text, "Odd  16384");
    EXPECT_EQ(entries[0].ItemData, 1);  // the later of two matches
    EXPECT_EQ(entries[1].ItemData, -1);
    EXPECT_EQ(entries[2].ItemData, 2);  // ids compare as signed 16-bit values
    EXPECT_EQ(reader.parse->ThumbIndex[0], 2);
    EXPECT_EQ(reader.parse->ThumbIndex[1], -1);
    EXPECT_EQ(reader.parse->ThumbIndex[2], 1);
}

TEST(ObjectListTest, LabelFromEntryDropsTheBlanksAndId) {
    EXPECT_EQ(ObjectLabelFromEntry("Chair  128"), "Chair");
    EXPECT_EQ(ObjectLabelFromEntry("Chair  16384"), "Chair");
    EXPECT_EQ(ObjectLabelFromEntry("Two  blanks  7"), "Two  blanks");
    EXPECT_EQ(ObjectLabelFromEntry("  5"), "");
    EXPECT_EQ(ObjectLabelFromEntry("ab"), "ab");
}

TEST(ObjectListTest, SkillBoxesFollowTheSetBits) {
    using Boxes = std::vector<int>;
    EXPECT_EQ(SkillBoxesToTick(0), Boxes{});
    EXPECT_EQ(SkillBoxesToTick(8), Boxes{8});
    EXPECT_EQ(SkillBoxesToTick(65), (Boxes{1, 64}));
    EXPECT_EQ(SkillBoxesToTick(66), (Boxes{2, 64}));
    EXPECT_EQ(SkillBoxesToTick(67), (Boxes{1, 2, 64}));
    EXPECT_EQ(SkillBoxesToTick(3), (Boxes{1, 2}));
    EXPECT_EQ(SkillBoxesToTick(5), (Boxes{1, 4}));
    EXPECT_EQ(SkillBoxesToTick(128), Boxes{});
    EXPECT_EQ(SkillBoxesToTick(-1), (Boxes{1, 2, 4, 8, 16, 32, 64}));
}

TEST(Cp1252Test, OneCharacterPerByte) {
    EXPECT_EQ(Cp1252ToUtf8("Caf\xE9"), "Caf\xC3\xA9");
    EXPECT_EQ(Cp1252ToUtf8("\x93q\x94"), "\xE2\x80\x9Cq\xE2\x80\x9D");
    EXPECT_EQ(Cp1252ToUtf8("\x80\x81"), "\xE2\x82\xAC\xC2\x81");
    EXPECT_EQ(Cp1252ToUtf8(std::string_view("a\0b", 3)), std::string("a\0b", 3));
}

}  // namespace
}  // namespace marrowick::test
