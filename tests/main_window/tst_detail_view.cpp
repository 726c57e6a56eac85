// The detail view: what a selection decodes and shows, the thumbnail, and the
// view after an open that lists nothing.
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QTest>

#include "window_harness.h"

using namespace marrowick;
using namespace marrowick::test;

class DetailViewTest : public QObject {
    Q_OBJECT

  private slots:
    void categoriesAndPrice_data();
    void categoriesAndPrice();
    void severalBitsNameEveryCategory();
    void catalogTexts();
    void noCatalogTextShowsTheFallback();
    void markupIsShownLiterally();
    void sameObjectTwiceIsReadAnew();
    void vanishedFileIsReportedOnce();
    void thumbnailShowsTheLeftHalf_data();
    void thumbnailShowsTheLeftHalf();
    void placeholderWithoutAPicture_data();
    void placeholderWithoutAPicture();
    void emptyListClearsTheView_data();
    void emptyListClearsTheView();

  private:
    QString Text(Harness& h, const char* name) { return h.Find<QLineEdit>(name)->text(); }
    QTemporaryDir dir_;
};

namespace {

QImage ShownPicture(Harness& h, const char* name) {
    return h.Find<QLabel>(name)->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
}

}  // namespace

void DetailViewTest::categoriesAndPrice_data() {
    QTest::addColumn<int>("room");
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("price");
    QTest::addColumn<QString>("roomName");
    QTest::addColumn<QString>("typeName");
    QTest::addColumn<QString>("priceText");
    QTest::newRow("living room seating") << 8 << 1 << 150 << "Living Room"
                                         << "Seating"
                                         << "150";
    QTest::newRow("nothing listed") << 0 << 0 << 0 << "Not Listed"
                                    << "Not Listed"
                                    << "0";
    // Price bytes FF FF; only the low byte of a category field counts.
    QTest::newRow("price -1, high bytes set") << 0x0180 << 0x0140 << -1 << "Study"
                                              << "Misc"
                                              << "-1";
}

void DetailViewTest::categoriesAndPrice() {
    QFETCH(int, room);
    QFETCH(int, type);
    QFETCH(int, price);
    Harness h;
    ObjectDefinition def;
    def.room_flags = static_cast<std::uint16_t>(room);
    def.type_flags = static_cast<std::uint16_t>(type);
    def.price = static_cast<std::int16_t>(price);
    h.Open(WriteFixture(dir_, "one.iff", OneObjectFile(def)));

    QTEST(Text(h, "Text1"), "roomName");
    QTEST(Text(h, "Text2"), "typeName");
    QTEST(Text(h, "txtPrice"), "priceText");
}

void DetailViewTest::severalBitsNameEveryCategory() {
    Harness h;
    IffBuilder file;
    ObjectDefinition living;
    living.room_flags = 8;
    living.type_flags = 1;
    ObjectDefinition mixed;
    mixed.room_flags = 1 | 2;
    mixed.type_flags = 4 | 128;
    file.Object(128, "Living", living);
    file.Object(129, "Mixed", mixed);
    h.Open(WriteFixture(dir_, "mixed.iff", file.Build()));
    h.ClickEntry(1);

    // Not the names the previous selection left behind.
    QCOMPARE(Text(h, "Text1"), QStringLiteral("Kitchen, Bedroom"));
    QCOMPARE(Text(h, "Text2"), QStringLiteral("Appliances, Lighting"));
}

void DetailViewTest::catalogTexts() {
    Harness h;
    ObjectDefinition def;
    def.catalog_id = 77;
    h.Open(WriteFixture(dir_, "chair.iff", OneObjectFile(def, true, "Chair", "A comfy chair")));

    QCOMPARE(h.Find<QGroupBox>("Frame1")->title(), QStringLiteral("Description: Chair"));
    QCOMPARE(h.Find<QLabel>("OBJDesc")->text(), QStringLiteral("A comfy chair"));
}

void DetailViewTest::noCatalogTextShowsTheFallback() {
    Harness h;
    h.Open(WriteFixture(dir_, "plain.iff", OneObjectFile(ObjectDefinition{}, false)));

    QCOMPARE(h.Find<QGroupBox>("Frame1")->title(), QStringLiteral("Description: No Description"));
    const QStringList lines = h.Find<QLabel>("OBJDesc")->text().split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), 2);
    QVERIFY(lines[0].startsWith(QStringLiteral("There is no description for this object.")));
    QVERIFY(lines[0].endsWith(QStringLiteral("some parts of non-object files.")));
    QCOMPARE(lines[1], QStringLiteral("TIP: Check for Thumbnails. There are sometimes hidden "
                                      "objects within non object IFF files."));
}

void DetailViewTest::markupIsShownLiterally() {
    Harness h;
    ObjectDefinition def;
    def.catalog_id = 3;
    h.Open(WriteFixture(dir_, "markup.iff",
                        OneObjectFile(def, true, "<b>x</b> & y", "<img src=z> & <i>w</i>")));

    // '&' in a frame's caption would mark a shortcut: it is doubled to show.
    QCOMPARE(h.Find<QGroupBox>("Frame1")->title(), QStringLiteral("Description: <b>x</b> && y"));
    auto* description = h.Find<QLabel>("OBJDesc");
    QCOMPARE(description->textFormat(), Qt::PlainText);
    QCOMPARE(description->text(), QStringLiteral("<img src=z> & <i>w</i>"));
}

void DetailViewTest::sameObjectTwiceIsReadAnew() {
    Harness h;
    ObjectDefinition def;
    def.price = 100;
    def.room_flags = 8;
    const QString path = WriteFixture(dir_, "changing.iff", OneObjectFile(def));
    h.Open(path);
    QCOMPARE(Text(h, "txtPrice"), QStringLiteral("100"));

    // The same layout with other values: a fresh read shows them.
    def.price = 250;
    def.room_flags = 16;
    WriteFixture(dir_, "changing.iff", OneObjectFile(def));
    h.ClickEntry(0);
    QCOMPARE(Text(h, "txtPrice"), QStringLiteral("250"));
    QCOMPARE(Text(h, "Text1"), QStringLiteral("Outside"));

    // A category chosen in the editor is replaced by the file's value.
    h.parse.ObjectAttributes[0].RoomFlags = 64;
    h.parse.RoomName = "Misc";
    h.window.SetListIndex(0);
    QCOMPARE(Text(h, "Text1"), QStringLiteral("Outside"));
}

void DetailViewTest::vanishedFileIsReportedOnce() {
    Harness h;
    ObjectDefinition def;
    def.catalog_id = 9;
    const QString path = WriteFixture(dir_, "vanishing.iff", OneObjectFile(def));
    h.Open(path);
    QVERIFY(QFile::remove(path));
    // Both decodes and the catalog lookup fail; the user hears it once.
    h.ClickEntry(0);
    QCOMPARE(h.desktop.messages.size(), 1);
    QVERIFY(h.desktop.messages[0].text.contains(path));
    h.ClickEntry(0);
    QCOMPARE(h.desktop.messages.size(), 2);
}

void DetailViewTest::thumbnailShowsTheLeftHalf_data() {
    QTest::addColumn<int>("bits");
    QTest::newRow("24-bit") << 24;
    QTest::newRow("8-bit") << 8;
}

void DetailViewTest::thumbnailShowsTheLeftHalf() {
    QFETCH(int, bits);
    Harness h;
    ObjectDefinition def;
    def.catalog_id = 4100;
    const Bytes thumbnail = CatalogThumbnail(0x3060C0, 0xF0A060, bits);
    h.Open(WriteFixture(dir_, "pictured.iff", OneObjectFile(def, true, "n", "d", thumbnail)));

    const QImage shown = ShownPicture(h, "Picture1");
    auto* picture = h.Find<QLabel>("Picture1");
    QVERIFY(!shown.isNull());
    QVERIFY(shown.width() <= picture->contentsRect().width());
    QVERIFY(shown.height() <= picture->contentsRect().height());
    QCOMPARE(shown.width(), shown.height());  // one square half, not both
    // Inside the light frame of the normal (left) half.
    QCOMPARE(shown.pixel(shown.width() / 2, shown.height() / 2), qRgb(0x30, 0x60, 0xC0));
    QCOMPARE(shown.pixel(shown.width() / 4, shown.height() / 4), qRgb(0x30, 0x60, 0xC0));
}

void DetailViewTest::placeholderWithoutAPicture_data() {
    QTest::addColumn<QByteArray>("thumbnail");
    QTest::newRow("no BMP_ chunk") << QByteArray();
    QByteArray cut;
    const Bytes whole = CatalogThumbnail(0x3060C0, 0xF0A060);
    cut.append(reinterpret_cast<const char*>(whole.data()), 40);
    QTest::newRow("BMP_ cut short") << cut;
    QTest::newRow("BMP_ not a bitmap") << QByteArray("GIF89a and then nothing useful");
}

void DetailViewTest::placeholderWithoutAPicture() {
    QFETCH(QByteArray, thumbnail);
    Harness h;
    ObjectDefinition def;
    def.catalog_id = 4100;
    h.Open(WriteFixture(
        dir_, "unpictured.iff",
        OneObjectFile(def, true, "n", "d", Bytes(thumbnail.begin(), thumbnail.end()))));

    const QImage placeholder = ShownPicture(h, "Picture2");
    QCOMPARE(placeholder.size(), QSize(30, 30));
    QCOMPARE(ShownPicture(h, "Picture1"), placeholder);
}

void DetailViewTest::emptyListClearsTheView_data() {
    QTest::addColumn<QByteArray>("bytes");
    const Bytes none = NoObjectsFile();
    QTest::newRow("no objects") << QByteArray(reinterpret_cast<const char*>(none.data()),
                                              static_cast<qsizetype>(none.size()));
    QTest::newRow("not an object file") << QByteArray("not an IFF at all");
}

void DetailViewTest::emptyListClearsTheView() {
    QFETCH(QByteArray, bytes);
    Harness h;
    ObjectDefinition def;
    def.price = 350;
    def.room_flags = 8;
    def.type_flags = 1;
    def.catalog_id = 12;
    h.Open(WriteFixture(dir_, "full.iff",
                        OneObjectFile(def, true, "Chair", "Comfy", CatalogThumbnail(1, 2))));
    QVERIFY(!h.Find<QLabel>("Picture1")->pixmap().isNull());

    h.Open(WriteFixture(dir_, "empty.iff", Bytes(bytes.begin(), bytes.end())));
    QCOMPARE(Text(h, "Text1"), QString());
    QCOMPARE(Text(h, "Text2"), QString());
    QCOMPARE(Text(h, "txtPrice"), QString());
    QCOMPARE(h.Find<QGroupBox>("Frame1")->title(), QStringLiteral("Description:"));
    QCOMPARE(h.Find<QLabel>("OBJDesc")->text(), QString());
    QVERIFY(h.Find<QLabel>("Picture1")->pixmap().isNull());
    QCOMPARE(h.window.CurrentObject(), -1);
    // "Get GUID!" has nothing to open.
    h.ClickButton("Command3");
    QVERIFY(!h.editor.IsOpen());
}

QTEST_MAIN(DetailViewTest)
#include "tst_detail_view.moc"
