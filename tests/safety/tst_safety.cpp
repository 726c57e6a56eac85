// Whatever a file holds, the windows never write it or its folder, and its
// texts and path show as typed, never as markup or shortcut marks.
#include "folder_watch.h"
#include "gui_harness.h"
#include "test_system.h"

namespace marrowick::test {
namespace {

// Texts a careless widget would render: tags, an image, entities, lone '&'s.
const QString kLabel = u"<b>Bold</b> & <img src=\"/etc/passwd\"> &amp;"_s;
const QString kName = u"<i>Name</i> & <u>Co</u> &amp; &"_s;
// Windows takes no '<' or '>' in a name; there entities show whether it is rendered.
const QString kFileName =
    kPosix ? u"<i>x<i> & <img src=y> &amp; ü.iff"_s : u"&lt;i&gt;x & &amp; ü.iff"_s;

// Shows a real box by `show` and answers it by `press`; returns what it showed.
QString ShowReal(const std::function<void()>& show,
                 const std::function<void(QMessageBox*)>& press) {
    QString seen;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        seen = box->windowTitle() + (box->textFormat() == Qt::PlainText ? u" plain"_s : u""_s);
        for (const QAbstractButton* button : box->buttons()) {
            seen += u'|' + button->text().remove(u'&');
        }
        press(box);
    });
    show();
    return seen;
}

}  // namespace

// Every flow of both windows, on a mapped and a map-less file in a folder named
// with blanks and non-ASCII; writable, so that a write would succeed and show.
void WindowTests::neverWritten() {
    Harness h;
    const QString folder = h.dir.filePath(u"Möbel & Stühle"_s);
    QVERIFY(QDir().mkdir(folder));
    const QString mapped = h.Write(u"Möbel & Stühle/Möbel 2.iff"_s, ChairTileLamp());
    const QString walked = h.Write(u"Möbel & Stühle/no map.iff"_s, ChairTileLamp(false));
    const int watch = StartFolderWatch(folder);
    if (watch < 0) {
        QSKIP("This system keeps no record of a folder's reads that a test can count.");
    }

    h.Open(QString());
    h.Open(mapped);
    QTest::keyClick(h.Main("List1"), Qt::Key_End);
    Harness::PressCtrlD(&h.window);
    h.Open(walked);
    h.readChunks = true;
    QVERIFY(h.Drop({QUrl::fromLocalFile(walked)}) && h.Drop({QUrl::fromLocalFile(mapped)}));
    const QString edits =
        u"hungscore=-4 txtprice=9 Text8=9 selfdep Check1(8) Combo1@0 Combo2@8 "
        "Combo1=typed b2 A b5 F x Command2 "_s;
    int row = 0;
    for (const QString& close :
         u"cmdOK cmdCancel txtguid(1)>Escape txtguid(1)>Enter close"_s.split(u' ')) {
        h.ClickEntry(row++ % 3);
        h.GetGuid();
        Harness::PressCtrlD(h.editor.window());
        h.Do(edits + close);
        QVERIFY(!h.editor.IsOpen());
    }
    h.GetGuid();
    h.Press("Command4");
    h.Press("Command5");
    h.Press("Command2");
    h.window.close();
    QCOMPARE(h.ends, 2);

    const QString events = StopFolderWatch(watch);
    QVERIFY2(QRegularExpression(u"^[1-9]\\d+ reads$"_s).match(events).hasMatch(),
             qPrintable(events));
}

// In every place, also in the real message boxes; and a named pipe nobody
// writes to is refused at once.
void WindowTests::fileTextShownLiterally() {
    Harness h;
    IffBuilder file;
    file.Object(128, kLabel.toStdString(), {.catalog_id = 77});
    file.Chunk("CTSS", 77, "", CatalogTexts(kName.toStdString(), "<h1>A</h1> & <a>b</a>\r\n&lt;c"));
    h.Open(h.Write(kFileName, file.Build()));
    QCOMPARE(h.Entries(), QStringList{kLabel + u"  128"_s});
    QCOMPARE(
        h.Shown(u"Label1 OBJDesc Frame1"_s),
        kFileName +
            u"|<h1>A</h1> & <a>b</a>\n&lt;c|Description: <i>Name</i> && <u>Co</u> &&amp; &&"_s);
    // A frame's caption doubles each '&', which the frame shows as one.
    QCOMPARE(QAccessible::queryAccessibleInterface(h.Main("Frame1"))->text(QAccessible::Name),
             u"Description: "_s + kName);
    h.GetGuid();
    QCOMPARE(h.EdShown(u"Label27"_s), kLabel);
    for (const QLabel* label :
         h.window.findChildren<QLabel*>() + h.editor.window()->findChildren<QLabel*>()) {
        QVERIFY2(label->text().isEmpty() || label->textFormat() == Qt::PlainText,
                 qPrintable(label->objectName()));
    }
    if constexpr (kPosix) {  // Windows has no named pipes in folders
        const QString pipe = h.dir.filePath(u"pipe "_s + kFileName);
        QVERIFY(MakeNamedPipe(pipe.toStdString()));
        h.Open(pipe);
        QVERIFY(h.shown.size() == 1 && h.shown[0].contains(pipe));
        QCOMPARE(h.Entries(), QStringList());
    }

    // The real boxes show plain text. The Read Chunks box answers OK to Enter
    // and Escape, and Read Chunks to its own button.
    const auto key = [](Qt::Key k) { return [k](QMessageBox* box) { QTest::keyClick(box, k); }; };
    QCOMPARE(ShowReal([&] { QtDesktop().ShowMessage(&h.window, kName, u"Marrowick"_s); },
                      key(Qt::Key_Return)),
             u"Marrowick plain|OK"_s);
    QList<bool> readChunks;
    const auto ask = [&] {
        readChunks << QtDesktop().ShowMessageWithButton(&h.window, kName, u"No Resource Map!"_s,
                                                        FrmMain::kReadChunks);
    };
    const std::function<void(QMessageBox*)> presses[] = {
        key(Qt::Key_Return), key(Qt::Key_Escape),
        [](QMessageBox* box) { Harness::Click(box->buttons().last()); }};
    for (const auto& press : presses) {
        QCOMPARE(ShowReal(ask, press), u"No Resource Map! plain|OK|Read Chunks"_s);
    }
    QCOMPARE(readChunks, (QList<bool>{false, false, true}));
}

}  // namespace marrowick::test
