// The main window: opening, clicks, details, Read Chunks, links and the end.
#include "archive_member_dialog.h"
#include "gui_harness.h"
#include "thumbnail.h"

namespace marrowick::test {
namespace {

// The file name and the detail view's texts, then its picture: the
// placeholder, none, or the colour amid it (the frame, were both halves shown).
QString Details(const Harness& h) {
    const auto picture = [&](const char* name) {
        return qobject_cast<QLabel*>(h.Main(name))->pixmap().toImage();
    };
    const QImage shown = picture("Picture1");
    const QString colour =
        shown.isNull() ? u"none"_s : QColor(shown.pixel(shown.rect().center())).name();
    return h.Shown(u"Label1 Text1 Text2 txtPrice Frame1 OBJDesc"_s) + u' ' +
           (shown == picture("Picture2") ? u"placeholder"_s : colour);
}

// What the chair of ChairTileLamp shows, after the file name.
const QString kChair = u"|Living Room|Seating|1450|Description: Club Chair|Deep.\nSoft. #3060c0"_s;

// What names the file open, and how much of it the reader reads.
QString Opened(const Harness& h) {
    return h.Shown(u"Label1"_s) + u'|' + h.window.windowTitle() + u'|' +
           h.Main("Label1")->toolTip() + u'|' + h.window.CurrentFile() +
           (h.parse.CurrentRange == ByteRange{} ? u"|whole"_s : u"|part"_s);
}

}  // namespace

void WindowTests::openSelectAndEnd() {
    Harness h;
    for (const QLabel* label : h.window.findChildren<QLabel*>()) {  // captions fit their boxes
        QVERIFY2(label->fontMetrics().horizontalAdvance(label->text()) <= label->width(),
                 qPrintable(label->objectName()));
    }
    QSignalSpy shown(&h.window, &FrmMain::ObjectShown);
    const QString path = h.Write(u"chairs.iff"_s, ChairTileLamp());
    h.Open(path);
    QCOMPARE(h.Entries(),
             (QStringList{u"Café Chair  16384"_s, u"Café Chair - tile  16385"_s, u"Lamp  128"_s}));
    QCOMPARE(Details(h), u"chairs.iff"_s + kChair);
    // Every click shows its object once, a click on the selected entry too.
    h.ClickEntry(0);
    h.ClickEntry(1);
    h.ClickEntry(1);
    QTest::keyClick(h.Main("List1"), Qt::Key_Down);
    h.Open(QString());  // cancelled: nothing changes
    QCOMPARE(Details(h), u"chairs.iff|Bedroom|Appliances|-75|Description: No Description|"_s +
                             QString::fromLatin1(kNoDescriptionText).replace(u"\r\n"_s, u"\n"_s) +
                             u" placeholder"_s);
    h.GetGuid();  // the editor opens on the selection, which is shown again
    h.ClickEntry(0);
    QCOMPARE(Details(h), u"chairs.iff"_s + kChair);  // the picture decoded at the open
    h.GetGuid();                                     // the open editor keeps its object
    QCOMPARE(h.EdShown(u"Label27"_s), u"Lamp"_s);
    QCOMPARE(QList<QList<QVariant>>(shown),
             (QList<QList<QVariant>>{{0}, {0}, {1}, {1}, {2}, {2}, {0}, {0}}));
    // A file gone is reported once per click, not once per read.
    QVERIFY(QFile::remove(path));
    h.ClickEntry(0);
    h.ClickEntry(0);
    QVERIFY(h.shown.size() == 2 &&
            h.shown[1].startsWith(u"Marrowick: Could not open \"%1\": "_s.arg(
                QDir::toNativeSeparators(path))));  // as its user writes it
    // A file that lists nothing leaves nothing of the last one in view.
    h.Open(h.Write(u"bad.iff"_s, {'I', 'F', 'F'}));
    QCOMPARE(h.shown.last(), u"Marrowick: Not a Valid IFF"_s);
    QCOMPARE(h.Entries(), QStringList());
    QCOMPARE(Details(h), u"bad.iff||||Description:| none"_s);

    h.Press("Command4");
    h.Press("Command5");
    QCOMPARE(h.addresses,
             (QStringList{u"https://corvane.example/"_s, u"https://tavisk-workshop.example/"_s}));
    h.Press("Command2");
    h.window.close();
    QCOMPARE(h.ends, 2);
}

// A picture of at most 1024 x 1024 is decoded; of two halves, the left one.
void WindowTests::decodeThumbnail_data() {
    QTest::addColumn<Bytes>("bitmap");
    QTest::addColumn<QSize>("size");  // invalid: refused
    const auto row = [](const char* name, int width, int height, QSize size) {
        QTest::newRow(name) << BitmapFile(width, height, 24, [](int, int) { return 0u; }) << size;
    };
    row("1024 wide", 1024, 1, {1024, 1});
    row("1024 high", 1, 1024, {1, 1024});
    row("1025 wide", 1025, 1, {});
    row("1025 high", 1, 1025, {});
    row("two halves", 74, 37, {37, 37});
    row("three squares", 60, 20, {60, 20});
    QTest::newRow("empty") << Bytes() << QSize();
}
void WindowTests::decodeThumbnail() {
    QFETCH(Bytes, bitmap);
    const QImage image = DecodeThumbnail(bitmap);
    QTEST(image.isNull() ? QSize() : image.size(), "size");
}

// OK keeps the designed answer. Read Chunks, asked per file and each time,
// lists, decodes and shows the file, then says where the walk stopped.
void WindowTests::readChunksOnlyWhenAsked() {
    Harness h;
    Bytes cut = ChairTileLamp(false);
    cut.insert(cut.end(), 20, 0xEE);
    const QString path = h.Write(u"cut.iff"_s, cut);
    const QString question =
        u"No Resource Map!: "_s + QLatin1String(kNoResourceMap) + u" [Read Chunks]"_s;
    h.Open(path);
    QCOMPARE(h.shown, QStringList{question});
    QCOMPARE(h.Entries(), QStringList());
    h.readChunks = true;
    QVERIFY(h.Drop({QUrl::fromLocalFile(path)}));
    QCOMPARE(h.listed, 3);  // the warning comes once the list is filled
    QCOMPARE(h.shown,
             (QStringList{question, question,
                          u"Marrowick: cut.iff: Reading stopped at byte %1: only 20 bytes are left "
                          "there, too few for a 76-byte chunk header. Nothing from there on is "
                          "read."_s.arg(cut.size() - 20)}));
    QCOMPARE(Details(h), u"cut.iff"_s + kChair);
    QVERIFY(h.Main("Label1")->toolTip().contains(u"chunks"_s));

    // A download cut short inside its map: what could be read, then why not all.
    Bytes shortened = ChairTileLamp();
    shortened.resize(shortened.size() - 9);
    h.Open(h.Write(u"short.iff"_s, shortened));
    QCOMPARE(h.listed, 3);
    QVERIFY(h.shown.back().startsWith(
        u"Marrowick: short.iff: The file is cut short: it ends at byte %1, inside its resource map"_s
            .arg(shortened.size())));
    // One cut before its map is told so in the box that offers Read Chunks: OK
    // leaves the window as a refused file; Read Chunks lists what is there, then
    // repeats the cut before the walk's own warning.
    const Bytes mapped = ChairTileLamp();
    const QString head = h.Write(u"head.iff"_s, Bytes(mapped.begin(), mapped.begin() + 2000));
    const QString told =
        u"The file is cut short: its resource map should start at byte %1, but "
        "the file ends at byte 2000."_s.arg(mapped[62] << 8 | mapped[63]);
    h.readChunks = false;
    h.shown.clear();
    h.Open(head);
    QCOMPARE(h.shown, QStringList{u"Marrowick: "_s + told + u" [Read Chunks]"_s});
    QCOMPARE(h.Entries().join(u'+') + Details(h) + u'|' + Opened(h).section(u'|', 1, 2),
             u"head.iff||||Description:| none|Marrowick|"_s);
    h.readChunks = true;
    h.Open(head);
    QCOMPARE(h.listed, 3);
    QVERIFY(h.shown.back().startsWith(u"Marrowick: head.iff: "_s + told +
                                      u"\nhead.iff: Reading stopped"_s));
    h.Open(path);

    // Ctrl+D or the context menu: the detail view in a wider window, with a
    // note on how the list was read, without the tree; and back.
    const auto inView = [&] {
        return QString::number(h.window.width()) +
               (h.Main("TreeView1")->isVisible() ? u'+' : u'-') +
               (h.Main("ChunksNote")->isVisible() ? u'+' : u'-');
    };
    QCOMPARE(inView(), u"362+-"_s);
    Harness::PressCtrlD(&h.window);
    QCOMPARE(inView(), u"658-+"_s);
    QVERIFY(h.Shown(u"ChunksNote"_s).contains(u"no resource map"_s));
    h.GetGuid();
    QCOMPARE(h.EdShown(u"txtguid(0) txtguid(1)"_s), u"7856|3412"_s);
    h.Open(h.Write(u"mapped.iff"_s, ChairTileLamp()));
    QCOMPARE(inView(), u"658--"_s);
    QCOMPARE(h.Main("Label1")->toolTip(), QString());
    auto* details = h.window.findChild<QAction*>(u"ShowDetailsAction"_s);
    QCOMPARE(h.window.contextMenuPolicy(), Qt::ActionsContextMenu);
    details->trigger();
    QCOMPARE(inView() + QString::number(h.window.height()), u"362+-457"_s);
    details->trigger();
    QCOMPARE(inView(), u"658--"_s);
}

// The member chosen is read from its range and shown as a file would be; a
// cancel changes nothing; a loose file afterwards is read whole again.
void WindowTests::archiveMembers() {
    Harness h;
    const Bytes sofa = TypicalObjectFile("Sofa", 200, 3000, 0xC0FFEE00, 1);
    ArchiveBuilder archive;
    archive.Member("objects/Caf\xE9 chairs.IFF", ChairTileLamp());
    archive.Member("readme.txt", ToBytes("not an object file"));
    archive.Member("sofa.iff", sofa);
    const QString far = h.Write(u"objects.far"_s, archive.Build());
    const QString loose = h.Write(u"chairs.iff"_s, ChairTileLamp());
    h.Open(loose);
    QCOMPARE(h.offered, QStringList{u"Tavisk Object Files (*.IFF);;Object Files and Archives "
                                    "(*.iff *.far);;All Files (*.*)"_s});
    h.ClickEntry(2);
    const QString before = Details(h) + Opened(h);
    h.Open(far);
    QCOMPARE(h.offered, (QStringList{u"objects.far"_s,
                                     u"objects/Café chairs.IFF %1"_s.arg(ChairTileLamp().size()),
                                     u"sofa.iff %1"_s.arg(sofa.size())}));
    QCOMPARE(Details(h) + Opened(h), before);

    h.member = 1;
    QVERIFY(h.Drop({QUrl::fromLocalFile(far)}));
    QCOMPARE(h.Entries(), (QStringList{u"Sofa  200"_s, u"Sofa - tile 1  201"_s}));
    QCOMPARE(Opened(h),
             u"sofa.iff|sofa.iff in objects.far – Marrowick|In the archive:\n%1|%1|part"_s.arg(
                 QDir::toNativeSeparators(far)));
    h.member = 0;
    h.Open(far);
    QCOMPARE(Details(h), u"objects/Café chairs.IFF"_s + kChair);
    h.GetGuid();
    QCOMPARE(h.EdShown(u"Label27 txtguid(0) txtguid(1)"_s), u"Café Chair|7856|3412"_s);
    QCOMPARE(h.shown, QStringList());
    h.Open(loose);
    QCOMPARE(Opened(h), u"chairs.iff|Marrowick||%1|whole"_s.arg(QDir::toNativeSeparators(loose)));
}

// A refused archive or member leaves the window as a refused file does.
void WindowTests::archiveRefused_data() {
    QTest::addColumn<Bytes>("archive");
    QTest::addColumn<QString>("shown");  // the box, Label1 and the title
    const auto archive = [](void (*fill)(ArchiveBuilder&)) {
        ArchiveBuilder built;
        fill(built);
        return built.Build();
    };
    QTest::newRow("version 3") << archive([](ArchiveBuilder& a) { a.SetVersion(3); })
                               << u"bad.far: The archive is of version 3; only archives of "
                                  "version 1 can be read.|bad.far|Marrowick"_s;
    QTest::newRow("no object files")
        << archive([](ArchiveBuilder& a) { a.Member("a.txt", {}), a.Member("b.bmp", {}); })
        << u"bad.far holds no object files: no member name in it ends in .iff (2 other "
           "members).|bad.far|Marrowick"_s;
    QTest::newRow("past the end") << archive([](ArchiveBuilder& a) { a.Entry("cut.iff", 16, 99); })
                                  << u"bad.far: cut.iff: The member takes bytes 16 to 115 of the "
                                     "archive, but the archive ends at byte 43.|cut.iff|cut.iff "
                                     "in bad.far – Marrowick"_s;
}
void WindowTests::archiveRefused() {
    QFETCH(Bytes, archive);
    Harness h;
    h.Open(h.Write(u"chairs.iff"_s, ChairTileLamp()));
    h.member = 0;
    h.Open(h.Write(u"bad.far"_s, archive));
    QTEST(h.shown.join(u'+').remove(u"Marrowick: "_s) + u'|' + h.Shown(u"Label1"_s) + u'|' +
              h.window.windowTitle(),
          "shown");
    QCOMPARE(h.Entries().size() + h.parse.ObjdCount, 0);
    QCOMPARE(Details(h).section(u'|', 1), u"|||Description:| none"_s);
}

// The real dialog, without exec(): how the headers clicked sort, what the
// filter keeps, and what is chosen.
void WindowTests::memberDialog_data() {
    QTest::addColumn<QString>("sort");  // the columns whose headers are clicked
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("visible");  // each row by its name's first letter
    QTest::addColumn<int>("key");          // pressed in the filter box; 0: double-click row 1
    QTest::addColumn<int>("chosen");
    QTest::newRow("all") << u""_s << u""_s << u"olC"_s << int(Qt::Key_Return) << 0;
    QTest::newRow("any case, anywhere") << u""_s << u"aF"_s << u"oC"_s << int(Qt::Key_Down) << 2;
    QTest::newRow("double-click") << u""_s << u"iff"_s << u"olC"_s << 0 << 1;
    QTest::newRow("escape") << u""_s << u"lamp"_s << u"l"_s << int(Qt::Key_Escape) << -1;
    // The entry selected stays so when the rows move.
    QTest::newRow("by size") << u"1"_s << u""_s << u"loC"_s << int(Qt::Key_Return) << 0;
    QTest::newRow("by size, descending") << u"11"_s << u""_s << u"Col"_s << int(Qt::Key_Down) << 1;
    QTest::newRow("by name, filtered") << u"0"_s << u"aF"_s << u"Co"_s << int(Qt::Key_Down) << 0;
}
void WindowTests::memberDialog() {
    QFETCH(QString, filter);
    QFETCH(int, key);
    ArchiveMemberDialog dialog(
        u"objects.far"_s,
        {{u"objects/Café Chair.iff"_s, 1200}, {u"lamp.iff"_s, 50}, {u"CAFÉ TABLE.IFF"_s, 3000}});
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(dialog.windowTitle(), u"Open an Object File in objects.far"_s);
    auto* box = dialog.findChild<QLineEdit*>(u"Filter"_s);
    auto* view = dialog.findChild<QTreeView*>(u"Members"_s);
    QFETCH(QString, sort);
    for (const QChar column : sort) {
        const int x = view->header()->sectionViewportPosition(column.digitValue()) + 5;
        QTest::mouseClick(view->header()->viewport(), Qt::LeftButton, {}, {x, 5});
    }
    QTest::keyClicks(box, filter);
    QString visible;
    for (int row = 0; row < view->model()->rowCount(); ++row) {
        visible += view->model()->index(row, 0).data().toString().front();
    }
    QTEST(visible, "visible");
    const QPoint row1 = view->visualRect(view->model()->index(1, 0)).center();
    if (key == 0) {  // Qt's test double-click is the second click only
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, row1);
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, row1);
    } else {
        QTest::keyClick(box, Qt::Key(key));
        QTest::keyClick(box, Qt::Key_Return);  // after Escape, no dialog takes it
    }
    QTEST(dialog.result() == QDialog::Accepted ? dialog.ChosenMember() : -1, "chosen");
}

}  // namespace marrowick::test

QTEST_MAIN(marrowick::test::WindowTests)
