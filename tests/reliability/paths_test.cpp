// Paths that are not plain readable files, and files that change between the
// scan and a later decode: each is named in a message, nothing blocks, and no
// value survives from before the change.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <future>
#include <optional>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "object_list.h"
#include "scratch.h"

namespace marrowick::reliability {
namespace {

using ::testing::HasSubstr;

Bytes Chair(std::int16_t price = 350) {
    test::IffBuilder file;
    test::ObjectDefinition def;
    def.guid = 0x12345678;
    def.price = price;
    def.scores[0] = 4;
    def.room_flags = 8;
    def.catalog_id = 100;
    file.Object(128, "Chair", def);
    file.Chunk("CTSS", 100, "", test::CatalogTexts("Chair", "A fine chair."));
    file.Chunk("BMP_", 100, "", test::CatalogThumbnail(0x3060C0, 0x60A0F0));
    return file.Build();
}

// Scans `path` after a good file, so that a refusal has something to clear.
void ExpectRefused(const ScratchFolder& folder, const std::string& path) {
    Reader reader;
    reader.Open(folder.Write("good.iff", Chair()));
    ASSERT_EQ(reader.parse->ObjdCount, 1);
    reader.Open(path);
    ASSERT_EQ(reader.messages.shown.size(), 1u);
    EXPECT_THAT(reader.messages.shown[0].first, HasSubstr(path));
    EXPECT_EQ(reader.parse->ObjdCount, 0);
    EXPECT_EQ(reader.parse->CtssCount, 0);
    EXPECT_EQ(reader.parse->BmpCount, 0);
}

TEST(Paths, SpacesAndNonAsciiCharactersAreReadAsIs) {
    ScratchFolder folder;
    const std::string path = folder.Write(
        "M\xC3\xB6"
        "bel & St\xC3\xBChle/Sofa \xE2\x80\x93 neu (1).iff",
        Chair());
    Reader reader;
    reader.Open(path);
    EXPECT_TRUE(reader.messages.shown.empty());
    ASSERT_EQ(reader.parse->ObjdCount, 1);
    reader.DecodeAll(0);
    EXPECT_EQ(reader.Row(0).Price, 350);

    const std::string missing = folder.Path(
        "M\xC3\xB6"
        "bel & St\xC3\xBChle/gone \xC3\xA9.iff");
    ExpectRefused(folder, missing);
}

TEST(Paths, FolderIsRefusedByName) {
    ScratchFolder folder;
    std::filesystem::create_directory(folder.Path("objects.iff"));
    ExpectRefused(folder, folder.Path("objects.iff"));
}

TEST(Paths, NamedPipeIsRefusedWithoutWaitingForAWriter) {
    ScratchFolder folder;
    const std::string pipe = folder.Path("pipe.iff");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    auto refused = std::async(std::launch::async, [&] { ExpectRefused(folder, pipe); });
    if (refused.wait_for(std::chrono::seconds(60)) != std::future_status::ready) {
        // Let the blocked reader go so that the test ends, then fail.
        ::close(::open(pipe.c_str(), O_WRONLY | O_NONBLOCK));
        refused.wait();
        FAIL() << "opening a named pipe waited for a writer";
    }
}

TEST(Paths, UnreadableFileIsRefusedByName) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "root reads any file; run as another user to check this";
    }
    ScratchFolder folder;
    const std::string path = folder.Write("locked.iff", Chair());
    ::chmod(path.c_str(), 0);
    ExpectRefused(folder, path);
}

// A scanned file with every group of its object decoded once, in one open as
// the windows do.
struct Decoded {
    ScratchFolder folder;
    std::string path = folder.Write("chair.iff", Chair());
    Reader reader;
    int catalogRow = -1;
    int thumbRow = -1;

    Decoded() {
        reader.Open(path);
        catalogRow = FillObjectList(*reader.parse)[0].ItemData;
        thumbRow = reader.parse->ThumbIndex[0];
        ParseIFF::FileScope open(*reader.parse);
        reader.DecodeAll(0);
        reader.parse->ReadCatalogText(catalogRow);
    }
    void Replace(const Bytes& bytes) {
        const std::string next = folder.Write("next.iff", bytes);
        std::filesystem::rename(next, path);
    }
    // Decodes everything again, inside one scope or with each call reopening
    // the file; values that cannot be read must come out as zeros.
    void ExpectZeroes(bool scoped) {
        std::optional<ParseIFF::FileScope> open;
        if (scoped) {
            open.emplace(*reader.parse);
        }
        reader.DecodeAll(0);
        const ObjectAttributeRow& row = reader.Row(0);
        EXPECT_EQ(row.Price, 0);
        EXPECT_EQ(row.HungerScore, 0);
        EXPECT_EQ(row.GuidHex1, "0000");
        EXPECT_EQ(row.RoomFlags, 0);
        EXPECT_EQ(reader.parse->RoomName, "Not Listed");
        reader.parse->ReadCatalogText(catalogRow);
        EXPECT_EQ(reader.parse->CatalogName, "");
        EXPECT_EQ(reader.parse->CatalogDescription, "");
        EXPECT_TRUE(reader.parse->ReadThumbnailBytes(thumbRow).empty());
    }
};

TEST(ChangedAfterScan, CutShortFileReadsZeroesNotOldValues) {
    for (bool scoped : {true, false}) {
        SCOPED_TRACE(scoped);
        Decoded chair;
        ASSERT_EQ(chair.reader.Row(0).Price, 350);
        ASSERT_EQ(chair.reader.parse->CatalogName, "Chair");
        ASSERT_EQ(::truncate(chair.path.c_str(), 64 + 100), 0);  // before every decoded field
        chair.ExpectZeroes(scoped);
        EXPECT_TRUE(chair.reader.messages.shown.empty());
    }
}

TEST(ChangedAfterScan, ReplacedFileIsReadAsItIsNow) {
    for (bool scoped : {true, false}) {
        SCOPED_TRACE(scoped);
        Decoded chair;
        chair.Replace(Chair(999));
        {
            ParseIFF::FileScope open(*chair.reader.parse);
            chair.reader.DecodeAll(0);
        }
        EXPECT_EQ(chair.reader.Row(0).Price, 999);

        chair.Replace(test::ToBytes("not an object file"));
        chair.ExpectZeroes(scoped);
        EXPECT_TRUE(chair.reader.messages.shown.empty());
    }
}

TEST(ChangedAfterScan, GoneFileIsNamedAndReadsZeroes) {
    // One message per scope, or per call (five groups, the catalog texts and the
    // thumbnail) when each call opens the file itself.
    for (auto [scoped, messages] : {std::pair{true, 1u}, std::pair{false, 7u}}) {
        SCOPED_TRACE(scoped);
        Decoded chair;
        std::filesystem::remove(chair.path);
        chair.ExpectZeroes(scoped);
        ASSERT_EQ(chair.reader.messages.shown.size(), messages);
        for (const auto& [text, caption] : chair.reader.messages.shown) {
            EXPECT_THAT(text, HasSubstr(chair.path));
            EXPECT_EQ(caption, kAppTitle);
        }
    }
}

}  // namespace
}  // namespace marrowick::reliability
