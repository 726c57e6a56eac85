// Finding shared GUIDs: the grouping rules, then the command on folders.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include "conflicts.h"
#include "inspect_fixtures.h"
#include "object_listing.h"
#include "run.h"

namespace marrowick::inspect::test {
namespace {

ListedFile Listed(const std::string& path, std::vector<std::uint32_t> guids,
                  std::uint64_t size = 1000) {
    ListedFile file{path, {}};
    file.listing.size = size;
    for (std::size_t i = 0; i < guids.size(); ++i) {
        ObjectGuid object;
        object.index = static_cast<int>(i);
        object.listText = path + " " + std::to_string(i);
        object.chunkId = static_cast<std::int32_t>(128 + i);
        for (std::size_t b = 0; b < 4; ++b) {
            object.guid[b] = static_cast<std::uint8_t>(guids[i] >> (8 * b));
        }
        file.listing.objects.push_back(object);
    }
    return file;
}

const SameBytesCheck kAllSame = [](const ListedFile&, const ListedFile&) { return true; };
const SameBytesCheck kAllDiffer = [](const ListedFile&, const ListedFile&) { return false; };

TEST(FindConflicts, GroupsUsersOfAGuidInCollectionOrder) {
    const ConflictReport report =
        FindConflicts({Listed("a", {7, 8}), Listed("b", {9}), Listed("c", {8, 7})}, kAllDiffer);
    ASSERT_EQ(report.shared.size(), 2u);
    EXPECT_EQ(report.shared[0].guid[0], 7);  // first used first
    ASSERT_EQ(report.shared[0].users.size(), 2u);
    EXPECT_EQ(report.shared[0].users[0].file, 0);
    EXPECT_EQ(report.shared[0].users[1].file, 2);
    EXPECT_EQ(report.shared[0].users[1].index, 1);
    EXPECT_EQ(report.trueConflicts, 2);
    EXPECT_EQ(report.objects, 5);
}

TEST(FindConflicts, CopiesOfOneFileAreMarkedOnlyWhenEveryFileHoldsTheSameBytes) {
    EXPECT_TRUE(
        FindConflicts({Listed("a", {7}), Listed("b", {7})}, kAllSame).shared[0].copiesOfOneFile);
    EXPECT_FALSE(
        FindConflicts({Listed("a", {7}), Listed("b", {7})}, kAllDiffer).shared[0].copiesOfOneFile);

    // Two objects of one file clash even when that file has an identical twin.
    const ConflictReport twice =
        FindConflicts({Listed("a", {7, 7}), Listed("b", {7, 7})}, kAllSame);
    EXPECT_FALSE(twice.shared[0].copiesOfOneFile);
    EXPECT_EQ(twice.trueConflicts, 1);

    // Sizes that differ settle it without reading the files.
    const SameBytesCheck mustNotRead = [](const ListedFile&, const ListedFile&) {
        ADD_FAILURE() << "compared files of different sizes";
        return true;
    };
    EXPECT_FALSE(FindConflicts({Listed("a", {7}), Listed("b", {7}, 999)}, mustNotRead)
                     .shared[0]
                     .copiesOfOneFile);

    // A third file that differs makes the group a conflict.
    const SameBytesCheck onlyAandB = [](const ListedFile& x, const ListedFile& y) {
        return x.path == "a" && y.path == "b";
    };
    const ConflictReport three =
        FindConflicts({Listed("a", {7}), Listed("b", {7}), Listed("c", {7})}, onlyAandB);
    EXPECT_FALSE(three.shared[0].copiesOfOneFile);
}

TEST(FindConflicts, ObjectsWithoutAGuidAreReportedApartNeverAsAConflict) {
    const ConflictReport report =
        FindConflicts({Listed("a", {0, 5}), Listed("b", {0, 0})}, kAllDiffer);
    EXPECT_TRUE(report.shared.empty());
    EXPECT_EQ(report.trueConflicts, 0);
    ASSERT_EQ(report.noGuid.size(), 3u);
    EXPECT_EQ(report.noGuid[2].file, 1);
    EXPECT_EQ(report.noGuid[2].index, 1);
}

TEST(FindConflicts, GuidIsShownAsTheEditorsBoxesAndAsALittleEndianValue) {
    EXPECT_EQ(GuidBoxes({0x28, 0x43, 0xEA, 0xE7}), "2843 EAE7");
    EXPECT_EQ(GuidValue({0x28, 0x43, 0xEA, 0xE7}), "0xE7EA4328");
    EXPECT_EQ(GuidValue({0x01, 0x00, 0x00, 0x00}), "0x00000001");
}

// The light listing and the editor's decode must agree on every GUID, also for
// a definition cut short by the end of the file.
TEST(GuidListing, AgreesWithTheEditorsGuidBoxes) {
    Folder folder;
    // The map's entry is moved so that the GUID's last two bytes lie past the end.
    marrowick::test::IffBuilder builder;
    builder.Object(128, "Cut", {});
    std::vector<marrowick::test::TypeList> lists = builder.GeneratedTypeLists();
    const std::size_t size = builder.Build().size();
    lists[0].entries[0].offset = static_cast<std::uint32_t>(size - 106);
    builder.SetTypeLists(lists);
    const Bytes cut = builder.Build();
    ASSERT_EQ(cut.size(), size);
    const std::string sample = std::string(MARROWICK_SOURCE_DIR) + "/samples/demo.iff";
    for (const std::string& path : {sample, folder.Write("cut.iff", cut)}) {
        ParseIFF listed;
        const GuidListing listing = ListObjectGuids(listed, path);
        const FileListing decoded = ListFile(*std::make_unique<ParseIFF>(), path);
        ASSERT_EQ(listing.error, decoded.error);
        ASSERT_EQ(listing.objects.size(), decoded.objects.size());
        for (std::size_t i = 0; i < decoded.objects.size(); ++i) {
            const ObjectAttributeRow& a = decoded.objects[i].attributes;
            EXPECT_EQ(GuidBoxes(listing.objects[i].guid), a.GuidHex1 + " " + a.GuidHex2);
            EXPECT_EQ(listing.objects[i].listText, decoded.objects[i].listText);
        }
    }
}

TEST(Conflicts, JsonDocumentHasTheDocumentedShape) {
    Folder folder;
    folder.Write("x.iff", ObjectsWithGuids("X", {0x01020304}));
    folder.Write("y.iff", ObjectsWithGuids("Y", {0x01020304, 0}));
    const std::string x = folder.Path("x.iff");
    const std::string y = folder.Path("y.iff");
    const RunResult run =
        Inspect({QStringLiteral("--conflicts"), QStringLiteral("--json"), folder.QPath()});
    EXPECT_EQ(run.status, kGuidConflict);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out,
              "{\"files\": 2, \"objects\": 3, \"conflicts\": 1, \"copies\": 0, \"errors\": 0, "
              "\"shared_guids\": [{\"guid\": [\"0403\", \"0201\"], \"value\": \"0x01020304\", "
              "\"copies_of_one_file\": false, \"objects\": ["
              "{\"file\": \"" +
                  x +
                  "\", \"index\": 0, \"list_text\": \"X 0  128\", \"chunk_id\": 128}, "
                  "{\"file\": \"" +
                  y +
                  "\", \"index\": 0, \"list_text\": \"Y 0  128\", \"chunk_id\": 128}]}], "
                  "\"no_guid\": [{\"file\": \"" +
                  y +
                  "\", \"index\": 1, \"list_text\": \"Y 1  129\", "
                  "\"chunk_id\": 129}], \"file_errors\": []}\n");
}

// A small collection with one case of each kind, spread over nested folders and
// extensions in several letter cases.
class Collection : public ::testing::Test {
  protected:
    void SetUp() override {
        const Bytes chair = ObjectsWithGuids("Chair", {0xE7EA4328, 0x11});
        folder.Write("one/chair.iff", chair);
        folder.Write("two/Chair copy.IFF", chair);
        folder.Write("two/lamp.iff", ObjectsWithGuids("Lamp", {0x22, 0x22}));
        folder.Write("three/deep/table.Iff", ObjectsWithGuids("Table", {0x33, 0}));
        folder.Write("sofa.iff", ObjectsWithGuids("Sofa", {0x33}));
        folder.Write("readme.txt", ObjectsWithGuids("Not read", {0x22}));
    }
    QJsonObject Json(const RunResult& run) {
        return QJsonDocument::fromJson(QByteArray::fromStdString(run.out)).object();
    }
    Folder folder;
};

TEST_F(Collection, ReportsConflictsWithinAndAcrossFilesAndMarksCopies) {
    const RunResult run =
        Inspect({QStringLiteral("--conflicts"), QStringLiteral("--json"), folder.QPath()});
    EXPECT_EQ(run.status, kGuidConflict);
    const QJsonObject report = Json(run);
    EXPECT_EQ(report.value("files").toInt(), 5);
    EXPECT_EQ(report.value("objects").toInt(), 9);
    EXPECT_EQ(report.value("conflicts").toInt(), 2);
    EXPECT_EQ(report.value("copies").toInt(), 2);

    // Groups come in the order of their first user; files in sorted path order.
    QStringList seen;
    for (const QJsonValue& value : report.value("shared_guids").toArray()) {
        const QJsonObject group = value.toObject();
        QStringList where;
        for (const QJsonValue& user : group.value("objects").toArray()) {
            where << user.toObject().value("file").toString().mid(folder.QPath().size() + 1);
        }
        seen << group.value("value").toString() +
                    (group.value("copies_of_one_file").toBool() ? " copies " : " ") +
                    where.join(',');
    }
    EXPECT_EQ(seen, (QStringList{"0xE7EA4328 copies one/chair.iff,two/Chair copy.IFF",
                                 "0x00000011 copies one/chair.iff,two/Chair copy.IFF",
                                 "0x00000033 sofa.iff,three/deep/table.Iff",
                                 "0x00000022 two/lamp.iff,two/lamp.iff"}));
    ASSERT_EQ(report.value("no_guid").toArray().size(), 1);
    EXPECT_EQ(report.value("no_guid").toArray().at(0).toObject().value("list_text").toString(),
              "Table 1  129");
}

TEST_F(Collection, OnlyCopiesOfOneFileAreNoConflict) {
    const RunResult run = Inspect(
        {QStringLiteral("--conflicts"), folder.QPath("one"), folder.QPath("two/Chair copy.IFF")});
    EXPECT_EQ(run.status, kAllRead);
    EXPECT_NE(run.out.find("GUID: 2843 EAE7  Value: 0xE7EA4328  copies of one file\n"),
              std::string::npos)
        << run.out;
}

TEST_F(Collection, NoSharedGuidExitsWithZero) {
    const RunResult run = Inspect({QStringLiteral("--conflicts"), folder.QPath("one")});
    EXPECT_EQ(run.status, kAllRead);
    EXPECT_NE(run.out.find("GUIDs used by more than one object: none"), std::string::npos);
}

TEST_F(Collection, ABrokenFileIsReportedAndTheRestStillSearched) {
    const std::string broken = folder.Write("two/broken.iff", Bytes{'I', 'F', 'F'});
    const RunResult run =
        Inspect({QStringLiteral("--conflicts"), QStringLiteral("--json"), folder.QPath()});
    EXPECT_EQ(run.status, kFileError);
    EXPECT_EQ(run.err, broken + ": Not a Valid IFF\n");
    const QJsonObject report = Json(run);
    EXPECT_EQ(report.value("shared_guids").toArray().size(), 4);
    const QJsonArray errors = report.value("file_errors").toArray();
    ASSERT_EQ(errors.size(), 1);
    EXPECT_EQ(errors.at(0).toObject().value("file").toString().toStdString(), broken);
    EXPECT_EQ(errors.at(0).toObject().value("error").toString(), "Not a Valid IFF");
}

TEST_F(Collection, AnUnreadableFileIsReportedAndSkipped) {
    if (RunningAsRoot()) {
        GTEST_SKIP() << "root can read any file";
    }
    const std::string locked = folder.Path("sofa.iff");
    ASSERT_EQ(::chmod(locked.c_str(), 0), 0);
    const RunResult run =
        Inspect({QStringLiteral("--conflicts"), QStringLiteral("--json"), folder.QPath()});
    EXPECT_EQ(run.status, kFileError);
    EXPECT_NE(run.err.find(locked), std::string::npos);
    EXPECT_NE(run.err.find("Permission denied"), std::string::npos);
    // Without the sofa, the table's GUID 0x33 is no longer shared.
    EXPECT_EQ(Json(run).value("shared_guids").toArray().size(), 3);
}

TEST(Conflicts, WalkChunksChecksMapLessFilesAndCountsThem) {
    Folder folder;
    const auto withoutMapOffset = [](Bytes bytes) {
        std::fill(bytes.begin() + 60, bytes.begin() + 64, 0);  // the map is then just a chunk
        return bytes;
    };
    Bytes cut = withoutMapOffset(ObjectsWithGuids("Cut", {0x55}));
    cut.resize(cut.size() - 10);
    folder.Write("game.iff", ObjectsWithGuids("Game", {0x44, 0x55}));
    folder.Write("downloads/b.iff", withoutMapOffset(ObjectsWithGuids("Download", {0x44})));
    const std::string cutPath = folder.Write("downloads/c.iff", cut);
    const QString conflicts = QStringLiteral("--conflicts");
    const QString json = QStringLiteral("--json");
    const QString flag = QStringLiteral("--walk-chunks");
    const auto report = [](const RunResult& run) {
        return QJsonDocument::fromJson(QByteArray::fromStdString(run.out)).object();
    };

    const RunResult plain = Inspect({conflicts, json, folder.QPath()});
    EXPECT_EQ(plain.status, kFileError);
    EXPECT_EQ(report(plain).value("shared_guids").toArray().size(), 0);
    EXPECT_EQ(report(plain).value("file_errors").toArray().size(), 2);
    EXPECT_FALSE(report(plain).contains("read_by_chunks"));

    const RunResult run = Inspect({conflicts, json, flag, folder.QPath()});
    EXPECT_EQ(run.status, kFileError);  // the warning wins over the conflicts
    const QJsonObject walked = report(run);
    EXPECT_EQ(walked.value("files").toInt(), 3);
    EXPECT_EQ(walked.value("read_by_chunks").toInt(), 2);
    EXPECT_EQ(walked.value("objects").toInt(), 4);
    EXPECT_EQ(walked.value("conflicts").toInt(), 2);
    EXPECT_EQ(walked.value("errors").toInt(), 0);
    EXPECT_EQ(walked.value("warnings").toInt(), 1);
    const QJsonArray warnings = walked.value("file_warnings").toArray();
    ASSERT_EQ(warnings.size(), 1);
    EXPECT_EQ(warnings.at(0).toObject().value("file").toString().toStdString(), cutPath);
    EXPECT_TRUE(warnings.at(0).toObject().value("warning").toString().startsWith(
        QStringLiteral("Reading stopped at byte ")));
    EXPECT_EQ(run.err.rfind(cutPath + ": Reading stopped at byte ", 0), 0u);

    const RunResult table =
        Inspect({conflicts, flag, folder.QPath("game.iff"), folder.QPath("downloads/b.iff")});
    EXPECT_EQ(table.status, kGuidConflict);
    EXPECT_EQ(Lines(table.out)[0].rfind("Files: 2  Read by chunks: 1  Objects: 3  Conflicts: 1", 0),
              0u);
}

TEST_F(Collection, ProgramExitStatusesForConflicts) {
    EXPECT_EQ(
        InspectProcess({QStringLiteral("--conflicts"), folder.QPath()}, folder.QPath()).status, 3);
    EXPECT_EQ(
        InspectProcess({QStringLiteral("--conflicts"), folder.QPath("one")}, folder.QPath()).status,
        0);
    // Not a terminal: no progress display, nothing on stderr.
    EXPECT_EQ(InspectProcess({QStringLiteral("--conflicts"), folder.QPath()}, folder.QPath()).err,
              "");
}

}  // namespace
}  // namespace marrowick::inspect::test
