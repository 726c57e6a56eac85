// The bundled sample: it matches its generator, shows what it is meant to show,
// and marrowick-inspect prints exactly the expected JSON for it.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include "demo_sample.h"
#include "inspect_fixtures.h"
#include "object_list.h"
#include "parse_iff.h"

namespace marrowick::inspect::test {
namespace {

const QString kSourceDir = QStringLiteral(MARROWICK_SOURCE_DIR);
const std::string kSample = std::string(MARROWICK_SOURCE_DIR) + "/samples/demo.iff";

std::uint32_t Le32(const std::vector<std::uint8_t>& b, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 4; i-- > 0;) {
        value = value << 8 | b[at + i];
    }
    return value;
}

TEST(Sample, CommittedFileIsWhatTheToolWrites) {
    EXPECT_EQ(marrowick::test::ReadFile(kSample), tools::DemoSample())
        << "regenerate with: make_sample samples/demo.iff";
}

TEST(Sample, JsonIsExactlyTheExpectedFile) {
    const RunResult run =
        InspectProcess({QStringLiteral("--json"), QStringLiteral("samples/demo.iff")}, kSourceDir);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    const Bytes expected = marrowick::test::ReadFile(std::string(MARROWICK_SOURCE_DIR) +
                                                     "/samples/demo.expected.json");
    EXPECT_EQ(run.out, std::string(expected.begin(), expected.end()));
}

// Guards the sample's purpose, so that a regenerated sample and expected file
// cannot quietly lose a case.
TEST(Sample, CoversTheCasesItIsFor) {
    const RunResult run = Inspect({QStringLiteral("--json"), QString::fromStdString(kSample)});
    const QJsonArray objects = QJsonDocument::fromJson(QByteArray::fromStdString(run.out))
                                   .object()
                                   .value(QStringLiteral("objects"))
                                   .toArray();
    ASSERT_GE(objects.size(), 5);
    bool accent = false, severalRooms = false, noCatalogText = false, secondLanguage = false;
    for (const QJsonValue& value : objects) {
        const QJsonObject o = value.toObject();
        accent |= o.value(QStringLiteral("label")).toString().contains(QChar(0xE9));
        severalRooms |= o.value(QStringLiteral("room_index")).toInt() == -1;
        noCatalogText |= o.value(QStringLiteral("ctss_entry")).toInt() == -1 &&
                         o.value(QStringLiteral("catalog_name")).toString() == "No Description";
        secondLanguage |= o.value(QStringLiteral("catalog_description")).toString() ==
                          "Small, round and always ready for an espresso.";
    }
    EXPECT_TRUE(accent && severalRooms && noCatalogText && secondLanguage);

    ParseIFF parse;
    parse.CurrentFile = kSample;
    parse.ScanObjectFile(kSample);
    FillObjectList(parse);
    int thumbnails = 0;
    for (int i = 0; i < parse.ObjdCount; ++i) {
        const int row = parse.ThumbIndex[static_cast<std::size_t>(i)];
        if (row < 0) {
            continue;
        }
        EXPECT_EQ(parse.BmpChunkId[static_cast<std::size_t>(row)],
                  parse.CatalogId[static_cast<std::size_t>(i)]);
        const std::vector<std::uint8_t> bitmap = parse.ReadThumbnailBytes(row);
        ASSERT_GE(bitmap.size(), 30u);
        EXPECT_EQ(Le32(bitmap, 18), 74u);  // width
        EXPECT_EQ(Le32(bitmap, 22), 37u);  // height
        EXPECT_EQ(bitmap[28], 24);         // bits per pixel
        ++thumbnails;
    }
    EXPECT_GE(thumbnails, 5);
}

TEST(Sample, TableHasAnAlignedRowPerObject) {
    const RunResult run = Inspect({QString::fromStdString(kSample)});
    ASSERT_EQ(run.status, 0);
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 2u + 1u + 6u);  // file, "Objects:", headings, six objects
    EXPECT_EQ(lines[0], "File: " + kSample);
    const QString headings = QString::fromStdString(lines[2]);
    const QStringList columns = {"Index", "Label", "Id",   "GUID",        "Original GUID",
                                 "Price", "Room",  "Type", "Catalog name"};
    qsizetype at = -1;
    for (const QString& column : columns) {
        const qsizetype next = headings.indexOf(column, at + 1);
        EXPECT_GT(next, at) << column.toStdString();
        at = next;
    }
    // Columns line up in characters, an accented label included.
    const QString cafe = QString::fromStdString(lines[4]);
    EXPECT_TRUE(cafe.contains(QString::fromUtf8("Caf\xC3\xA9 Table")));
    EXPECT_EQ(cafe.indexOf(QStringLiteral("4D3C 2B1A")), headings.indexOf(QStringLiteral("GUID")));
    EXPECT_EQ(cafe.indexOf(QStringLiteral("Kitchen, Bedroom, Living Room, Dining Room")),
              headings.indexOf(QStringLiteral("Room")));
}

}  // namespace
}  // namespace marrowick::inspect::test
