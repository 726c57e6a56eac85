// marrowick-inspect listing files: the JSON shape, errors among good files, and
// the exit statuses.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include "inspect_fixtures.h"
#include "messages.h"
#include "run.h"

namespace marrowick::inspect::test {
namespace {

using marrowick::test::CatalogTexts;
using marrowick::test::IffBuilder;
using marrowick::test::ObjectDefinition;

QJsonObject ParseLine(const std::string& line) {
    return QJsonDocument::fromJson(QByteArray::fromStdString(line)).object();
}

TEST(Listing, JsonOfAnObjectHasTheDocumentedShape) {
    Folder folder;
    IffBuilder file;
    ObjectDefinition chair;
    chair.guid = 0xCDAB1234;  // bytes 34 12 AB CD
    chair.price = 150;
    chair.room_flags = 8;
    chair.type_flags = 1;
    chair.catalog_id = 2000;
    chair.skill_flag = 65;
    file.Object(128, "Chair", chair);
    file.Chunk("CTSS", 2000, "", CatalogTexts("Chair", "A comfy chair"));
    const std::string path = folder.Write("chair.iff", file.Build());

    const RunResult run = Inspect({QStringLiteral("--json"), QString::fromStdString(path)});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(
        run.out,
        "{\"file\": \"" + path +
            "\", \"error\": null, \"objects\": [{"
            "\"index\": 0, \"label\": \"Chair\", \"chunk_id\": 128, \"list_text\": \"Chair  128\", "
            "\"catalog_id\": 2000, \"ctss_entry\": 0, \"thumb_index\": -1, "
            "\"guid\": [\"3412\", \"ABCD\"], \"original_guid\": [\"0000\", \"0000\"], "
            "\"clone_guid\": [\"0000\", \"0000\"], "
            "\"price\": 150, \"sale_price\": 0, \"initial_depreciation\": 0, "
            "\"daily_depreciation\": 0, \"self_depreciating\": 0, \"depreciation_limit\": 0, "
            "\"room_flags\": 8, \"type_flags\": 1, \"room_name\": \"Living Room\", "
            "\"type_name\": \"Seating\", \"room_index\": 4, \"type_index\": 1, "
            "\"scores\": {\"hunger\": 0, \"comfort\": 0, \"hygiene\": 0, \"bladder\": 0, "
            "\"energy\": 0, \"fun\": 0, \"room\": 0}, "
            "\"skill_flag\": 65, \"skill_boxes\": [1, 64], "
            "\"catalog_name\": \"Chair\", \"catalog_description\": \"A comfy chair\"}]}\n");
}

TEST(Listing, ABadFileAmongGoodOnesIsReportedAndTheOthersStillPrinted) {
    Folder folder;
    const std::string first = folder.Write("a.iff", ObjectsWithGuids("First", {1, 2}));
    const std::string notIff = folder.Write("b.iff", marrowick::test::ToBytes("IFF_FILE and more"));
    IffBuilder noMap;
    noMap.Object(128, "Lost", ObjectDefinition{});
    Bytes noMapBytes = noMap.Build();
    noMapBytes[63] ^= 0x01;  // the map offset now points one byte off "rsmp"
    const std::string withoutMap = folder.Write("c.iff", noMapBytes);
    const std::string missing = folder.Path("gone.iff");
    const std::string last = folder.Write("d.iff", ObjectsWithGuids("Last", {3}));

    const RunResult run =
        Inspect({QStringLiteral("--json"), QString::fromStdString(first),
                 QString::fromStdString(notIff), QString::fromStdString(withoutMap),
                 QString::fromStdString(missing), QString::fromStdString(last)});
    EXPECT_EQ(run.status, kFileError);
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 5u);

    EXPECT_EQ(ParseLine(lines[0]).value("objects").toArray().size(), 2);
    EXPECT_EQ(ParseLine(lines[4]).value("objects").toArray().size(), 1);
    EXPECT_TRUE(ParseLine(lines[0]).value("error").isNull());

    const auto errorOf = [&](std::size_t line) {
        const QJsonObject record = ParseLine(lines[line]);
        EXPECT_TRUE(record.value("objects").toArray().isEmpty());
        return record.value("error").toString().toStdString();
    };
    EXPECT_EQ(errorOf(1), kNotValidIff);
    EXPECT_EQ(errorOf(2), kNoResourceMap);  // the three lines joined by CR LF
    EXPECT_EQ(errorOf(3), CannotOpenMessage(missing, "No such file or directory"));

    // On stderr each failure is one line that names its file.
    const std::vector<std::string> errors = Lines(run.err);
    ASSERT_EQ(errors.size(), 3u);
    EXPECT_EQ(errors[0], notIff + ": Not a Valid IFF");
    EXPECT_EQ(errors[1].rfind(withoutMap + ": Future versions will support objects without", 0),
              0u);
}

TEST(Listing, EveryObjectIsDecodedAfresh) {
    // A first file whose only object has every field set, then a file whose
    // object has none: nothing of the first may show in the second.
    Folder folder;
    IffBuilder full;
    ObjectDefinition rich;
    rich.guid = 0x11111111;
    rich.price = 999;
    rich.room_flags = 16;
    rich.skill_flag = 3;
    rich.catalog_id = 7;
    full.Object(128, "Rich", rich);
    full.Chunk("CTSS", 7, "", CatalogTexts("Rich", "Costly"));
    IffBuilder empty;
    empty.Object(128, "Bare", ObjectDefinition{});
    const RunResult run = Inspect({QStringLiteral("--json"),
                                   QString::fromStdString(folder.Write("1.iff", full.Build())),
                                   QString::fromStdString(folder.Write("2.iff", empty.Build()))});
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 2u);
    const QJsonObject bare = ParseLine(lines[1]).value("objects").toArray().at(0).toObject();
    EXPECT_EQ(bare.value("guid").toArray().at(0).toString(), "0000");
    EXPECT_EQ(bare.value("price").toInt(), 0);
    EXPECT_EQ(bare.value("room_name").toString(), "Not Listed");
    EXPECT_TRUE(bare.value("skill_boxes").toArray().isEmpty());
    EXPECT_EQ(bare.value("catalog_name").toString(), "No Description");
}

TEST(Listing, WalkChunksReadsMapLessFilesAndSaysHowEachWasRead) {
    Folder folder;
    IffBuilder noMap;
    noMap.OmitMap();
    ObjectDefinition chair;
    chair.catalog_id = 5;
    noMap.Object(128, "Chair", chair);
    noMap.Chunk("CTSS", 5, "",
                marrowick::test::PackedCatalogTexts({{1, "Club", ""}, {1, "Deep", ""}}));
    Bytes cutBytes = noMap.Build();
    cutBytes.resize(cutBytes.size() - 10);
    const QString mapped =
        QString::fromStdString(folder.Write("a.iff", ObjectsWithGuids("A", {1})));
    const QString walked = QString::fromStdString(folder.Write("b.iff", noMap.Build()));
    const QString cut = QString::fromStdString(folder.Write("c.iff", cutBytes));
    const QString notIff = QString::fromStdString(folder.Write("d.iff", Bytes(9, 'x')));

    // Without the flag nothing changes: the map-less file is an error.
    const RunResult plain = Inspect({QStringLiteral("--json"), mapped, walked});
    EXPECT_EQ(plain.status, kFileError);
    EXPECT_EQ(plain.out.find("read_by"), std::string::npos);
    EXPECT_EQ(ParseLine(Lines(plain.out)[1]).value("error").toString().toStdString(),
              kNoResourceMap);

    const QString flag = QStringLiteral("--walk-chunks");
    EXPECT_EQ(Inspect({flag, mapped, walked}).status, kAllRead);
    const RunResult run = Inspect({flag, QStringLiteral("--json"), mapped, walked, cut, notIff});
    EXPECT_EQ(run.status, kFileError);
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 4u);
    const struct {
        QJsonValue readBy;
        int warnings;
        int objects;
    } expected[] = {{QStringLiteral("resource map"), 0, 1},
                    {QStringLiteral("chunks"), 0, 1},
                    {QStringLiteral("chunks"), 1, 1},
                    {QJsonValue::Null, 0, 0}};
    for (std::size_t i = 0; i < lines.size(); ++i) {
        SCOPED_TRACE(lines[i]);
        const QJsonObject record = ParseLine(lines[i]);
        EXPECT_EQ(record.keys().size(), 5);
        EXPECT_EQ(record.value("read_by"), expected[i].readBy);
        EXPECT_EQ(record.value("warnings").toArray().size(), expected[i].warnings);
        EXPECT_EQ(record.value("objects").toArray().size(), expected[i].objects);
    }
    const QJsonObject club = ParseLine(lines[1]).value("objects").toArray().at(0).toObject();
    EXPECT_EQ(club.value("catalog_name").toString(), "Club");
    EXPECT_EQ(club.value("catalog_description").toString(), "Deep");

    // The table says how each file was read; each warning is a line on stderr.
    const RunResult table = Inspect({flag, mapped, cut});
    EXPECT_NE(table.out.find("File: " + mapped.toStdString() + "  Read by: resource map\n"),
              std::string::npos);
    EXPECT_NE(table.out.find("File: " + cut.toStdString() + "  Read by: chunks\n"),
              std::string::npos);
    EXPECT_EQ(table.err, cut.toStdString() + ": Reading stopped at byte 356: the chunk there is " +
                             std::to_string(cutBytes.size() - 346) +
                             " bytes long and runs past the end of the file at byte " +
                             std::to_string(cutBytes.size()) +
                             ". Nothing from there on is read.\n");
    EXPECT_EQ(table.status, kFileError);
}

TEST(Listing, TextModeSaysWhenAFileHasNoObjects) {
    Folder folder;
    const std::string path = folder.Write("empty.iff", IffBuilder{}.Build());
    const RunResult run = Inspect({QString::fromStdString(path)});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "File: " + path + "\n  Objects: none\n");
}

TEST(CommandLine, UsageErrorsExitWithTwoAndPrintNothingOnStdout) {
    for (const QStringList& arguments :
         {QStringList{}, QStringList{QStringLiteral("--frobnicate"), QStringLiteral("a.iff")},
          QStringList{QStringLiteral("--json")}}) {
        const RunResult run = Inspect(arguments);
        EXPECT_EQ(run.status, kUsageError) << arguments.join(' ').toStdString();
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find("--help"), std::string::npos);
    }
}

TEST(CommandLine, HelpDocumentsTheExitStatuses) {
    const RunResult run = Inspect({QStringLiteral("--help")});
    EXPECT_EQ(run.status, 0);
    for (const char* status : {"\n  0  ", "\n  1  ", "\n  2  ", "\n  3  with --conflicts"}) {
        EXPECT_NE(run.out.find(status), std::string::npos) << status;
    }
    EXPECT_EQ(Inspect({QStringLiteral("-h")}).out, run.out);
}

// The real program: its exit status and streams, as a shell sees them.
TEST(CommandLine, ProgramExitStatuses) {
    Folder folder;
    const QString good = folder.QPath("good.iff");
    folder.Write("good.iff", ObjectsWithGuids("Good", {5}));
    const QString bad = QString::fromStdString(folder.Write("bad.iff", Bytes(3, 0)));

    EXPECT_EQ(InspectProcess({good}, folder.QPath()).status, 0);
    const RunResult withBad = InspectProcess({good, bad}, folder.QPath());
    EXPECT_EQ(withBad.status, 1);
    EXPECT_NE(withBad.out.find("Good 0  128"), std::string::npos);
    EXPECT_EQ(InspectProcess({QStringLiteral("--nope")}, folder.QPath()).status, 2);

    const RunResult version = InspectProcess({QStringLiteral("--version")}, folder.QPath());
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out.rfind("marrowick-inspect ", 0), 0u);
}

}  // namespace
}  // namespace marrowick::inspect::test
