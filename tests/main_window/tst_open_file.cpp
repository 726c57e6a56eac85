// Opening an object file: the dialog, the object list, Label1, and the messages
// for files that cannot be listed.
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QSignalSpy>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

#include "window_harness.h"

using namespace marrowick;
using namespace marrowick::test;

class OpenFileTest : public QObject {
    Q_OBJECT

  private slots:
    void startsEmpty();
    void listsObjectsInIndexOrder();
    void entriesCarryTheirCatalogRow();
    void dialogFilterAndStartFolder();
    void cancelKeepsEverything();
    void secondFileReplacesFirst();
    void badFileEmptiesTheList_data();
    void badFileEmptiesTheList();
    void unreadablePathNamesIt_data();
    void unreadablePathNamesIt();
    void fileTextIsShownLiterally();
    void userClicksRaiseTheClickOnce();

  private:
    QTemporaryDir dir_;
};

namespace {

Bytes ThreeObjects() {
    IffBuilder file;
    ObjectDefinition master;
    master.catalog_id = 8200;
    // 0xE9 is e acute in the files' character set.
    file.Object(16384, "Caf\xE9 Table", master);
    file.Object(16385, "Caf\xE9 Table - tile 1", ObjectDefinition{});
    file.Object(128, "Lamp", ObjectDefinition{});
    file.Chunk("CTSS", 8200, "", CatalogTexts("Caf\xE9 Table", "Seats four."));
    return file.Build();
}

}  // namespace

void OpenFileTest::startsEmpty() {
    Harness h;
    QCOMPARE(h.window.windowTitle(), QStringLiteral("Marrowick"));
    QCOMPARE(h.Find<QListWidget>("List1")->count(), 0);
    QCOMPARE(h.Find<QLabel>("Label1")->text(), QString());
    QCOMPARE(h.window.CurrentFile(), QString());
    QCOMPARE(h.window.CurrentObject(), -1);
}

void OpenFileTest::listsObjectsInIndexOrder() {
    Harness h;
    const QString path = WriteFixture(dir_, "table.iff", ThreeObjects());
    QSignalSpy shown(&h.window, &FrmMain::ObjectShown);
    h.Open(path);

    QCOMPARE(h.ListTexts(), (QStringList{QStringLiteral("Café Table  16384"),
                                         QStringLiteral("Café Table - tile 1  16385"),
                                         QStringLiteral("Lamp  128")}));
    QCOMPARE(h.Find<QLabel>("Label1")->text(), QStringLiteral("table.iff"));
    QCOMPARE(h.window.CurrentFile(), path);
    QCOMPARE(h.Find<QListWidget>("List1")->currentRow(), 0);
    // Selecting the first entry raised the click exactly once.
    QCOMPARE(shown.count(), 1);
    QCOMPARE(h.window.CurrentObject(), 0);
    QVERIFY(h.desktop.messages.isEmpty());
}

void OpenFileTest::entriesCarryTheirCatalogRow() {
    Harness h;
    IffBuilder file;
    ObjectDefinition withText;
    withText.catalog_id = -2;  // ids compare as signed values
    file.Object(128, "A", withText);
    file.Object(129, "B", ObjectDefinition{});
    file.Chunk("CTSS", 300, "", CatalogTexts("Other", "x"));
    file.Chunk("CTSS", -2, "", CatalogTexts("A", "y"));
    h.Open(WriteFixture(dir_, "rows.iff", file.Build()));

    auto* list = h.Find<QListWidget>("List1");
    QCOMPARE(list->item(0)->data(Qt::UserRole).toInt(), 1);
    QCOMPARE(list->item(1)->data(Qt::UserRole).toInt(), -1);
}

void OpenFileTest::dialogFilterAndStartFolder() {
    Harness h;
    h.ClickButton("Command1");
    QCOMPARE(h.desktop.dialogsShown, 1);
    QCOMPARE(h.desktop.lastFilter, QStringLiteral("Tavisk Object Files (*.IFF);;All Files (*.*)"));
    // The designed folder does not exist here: the dialog chooses its own.
    QCOMPARE(h.desktop.lastStartFolder, QString());

    // Where it exists (here a folder of that very name), the dialog starts there.
    const QString previous = QDir::currentPath();
    QVERIFY(QDir(dir_.path()).mkdir(FrmMain::kStartFolder));
    QDir::setCurrent(dir_.path());
    h.ClickButton("Command1");
    QDir::setCurrent(previous);
    QCOMPARE(h.desktop.lastStartFolder, QStringLiteral("C:\\RIRUVIZOR\\extracted\\objects\\"));
}

void OpenFileTest::cancelKeepsEverything() {
    Harness h;
    const QString path = WriteFixture(dir_, "keep.iff", ThreeObjects());
    h.Open(path);
    QSignalSpy shown(&h.window, &FrmMain::ObjectShown);
    h.ClickEntry(2);
    h.Open(QString());  // the user cancels

    QCOMPARE(h.ListTexts().size(), 3);
    QCOMPARE(h.Find<QListWidget>("List1")->currentRow(), 2);
    QCOMPARE(h.Find<QLabel>("Label1")->text(), QStringLiteral("keep.iff"));
    QCOMPARE(h.window.CurrentFile(), path);
    QCOMPARE(h.window.CurrentObject(), 2);
    QCOMPARE(shown.count(), 1);  // the user's click only
    QVERIFY(h.desktop.messages.isEmpty());
}

void OpenFileTest::secondFileReplacesFirst() {
    Harness h;
    h.Open(WriteFixture(dir_, "first.iff", ThreeObjects()));
    h.ClickEntry(2);
    const QString second =
        WriteFixture(dir_, "second.iff", TypicalObjectFile("Sofa", 16400, 900, 0x11223344, 1));
    h.Open(second);

    QCOMPARE(h.ListTexts(),
             (QStringList{QStringLiteral("Sofa  16400"), QStringLiteral("Sofa - tile 1  16401")}));
    QCOMPARE(h.Find<QLabel>("Label1")->text(), QStringLiteral("second.iff"));
    QCOMPARE(h.window.CurrentFile(), second);
    QCOMPARE(h.window.CurrentObject(), 0);
}

void OpenFileTest::badFileEmptiesTheList_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("caption");

    Bytes lowerCase = TypicalObjectFile("Sofa", 128, 1, 1, 0);
    std::copy_n("iff file", 8, lowerCase.begin());
    QTest::newRow("signature in lower case")
        << QByteArray(reinterpret_cast<const char*>(lowerCase.data()),
                      static_cast<qsizetype>(lowerCase.size()))
        << "Not a Valid IFF"
        << "Marrowick";
    QTest::newRow("shorter than a signature") << QByteArray("IFF") << "Not a Valid IFF"
                                              << "Marrowick";
    QByteArray noMap(64, '\0');
    noMap.replace(0, 8, "IFF FILE");
    noMap[63] = 8;  // the map offset points at zero bytes, not at "rsmp"
    QTest::newRow("no resource map")
        << noMap
        << "Future versions will support objects\r\nwithout a Resource Map, however\r\nthis "
           "version requires one."
        << "No Resource Map!";
}

void OpenFileTest::badFileEmptiesTheList() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QFETCH(QString, caption);
    Harness h;
    h.Open(WriteFixture(dir_, "good.iff", ThreeObjects()));
    const QString bad = WriteFixture(dir_, "bad.iff", Bytes(bytes.begin(), bytes.end()));
    h.Open(bad);

    QCOMPARE(h.desktop.messages.size(), 1);
    QCOMPARE(h.desktop.messages[0].text, text);
    QCOMPARE(h.desktop.messages[0].caption, caption);
    QCOMPARE(h.Find<QListWidget>("List1")->count(), 0);
    QCOMPARE(h.Find<QLabel>("Label1")->text(), QStringLiteral("bad.iff"));
    QCOMPARE(h.window.CurrentFile(), bad);
}

void OpenFileTest::unreadablePathNamesIt_data() {
    QTest::addColumn<QString>("path");
    QTest::newRow("missing file") << dir_.filePath("gone.iff");
    QVERIFY(QDir(dir_.path()).mkpath("folder.iff"));
    QTest::newRow("folder") << dir_.filePath("folder.iff");
    const QString pipe = dir_.filePath("pipe.iff");
    QVERIFY(::mkfifo(QFile::encodeName(pipe).constData(), 0600) == 0);
    // Nobody writes to the pipe: opening it must not wait for a writer.
    QTest::newRow("named pipe") << pipe;
}

void OpenFileTest::unreadablePathNamesIt() {
    QFETCH(QString, path);
    Harness h;
    h.Open(WriteFixture(dir_, "good.iff", ThreeObjects()));
    h.Open(path);

    QCOMPARE(h.desktop.messages.size(), 1);
    QVERIFY2(h.desktop.messages[0].text.contains(path), qPrintable(h.desktop.messages[0].text));
    QCOMPARE(h.desktop.messages[0].caption, QStringLiteral("Marrowick"));
    QCOMPARE(h.Find<QListWidget>("List1")->count(), 0);
    QCOMPARE(h.window.CurrentObject(), -1);
}

void OpenFileTest::fileTextIsShownLiterally() {
    Harness h;
    ObjectDefinition def;
    def.catalog_id = 5;
    const QString path = WriteFixture(dir_, "<b>x<b> & <img src=y>.iff",
                                      OneObjectFile(def, true, "n", "d", {}, "<b>x</b> & y"));
    h.Open(path);

    QCOMPARE(h.ListTexts(), QStringList{QStringLiteral("<b>x</b> & y  128")});
    auto* label = h.Find<QLabel>("Label1");
    QCOMPARE(label->textFormat(), Qt::PlainText);
    QCOMPARE(label->text(), QStringLiteral("<b>x<b> & <img src=y>.iff"));
}

void OpenFileTest::userClicksRaiseTheClickOnce() {
    Harness h;
    h.Open(WriteFixture(dir_, "clicks.iff", ThreeObjects()));
    QSignalSpy shown(&h.window, &FrmMain::ObjectShown);

    h.ClickEntry(1);  // a new entry
    QCOMPARE(shown.count(), 1);
    QCOMPARE(shown.last().at(0).toInt(), 1);
    h.ClickEntry(1);  // the same entry again
    QCOMPARE(shown.count(), 2);
    auto* list = h.Find<QListWidget>("List1");
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Down);
    QCOMPARE(shown.count(), 3);
    QCOMPARE(h.window.CurrentObject(), 2);
    // An assignment of the selected entry raises it too.
    h.window.SetListIndex(2);
    QCOMPARE(shown.count(), 4);
}

QTEST_MAIN(OpenFileTest)
#include "tst_open_file.moc"
