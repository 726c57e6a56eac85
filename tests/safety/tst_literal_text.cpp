// Text from a file or its path is shown as typed: markup is never rendered and
// an '&' is never taken for a shortcut marker, in either window, in captions
// and in message boxes. Odd paths (markup, spaces, non-ASCII, a named pipe)
// open, or are refused by name, through the dialog.
#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <sys/stat.h>

#include "editor_fixture.h"
#include "window_harness.h"

using namespace marrowick;
using namespace marrowick::test;

namespace {

// A label, a catalog name and a description that a careless widget would
// render: tags, an image that reads a local file, entities and lone '&'s.
const char kLabel[] = "<b>Bold</b> & <img src=\"/etc/passwd\"> &amp;";
const char kName[] = "<i>Name</i> & <u>Co</u> &amp; &";
const char kDescription[] = "<h1>Big</h1> & <a href=\"x\">link</a>\r\n&lt;second&gt; line";

Bytes MarkupFile(std::int16_t price = 350) {
    IffBuilder file;
    ObjectDefinition def;
    def.catalog_id = 77;
    def.price = price;
    def.room_flags = 8;
    file.Object(128, kLabel, def);
    file.Chunk("CTSS", 77, "", CatalogTexts(kName, kDescription));
    file.Chunk("BMP_", 77, "", CatalogThumbnail(0x3060C0, 0x60A0F0));
    return file.Build();
}

// What assistive technology reads and what the widget paints for a caption:
// Qt's own reading of the '&' markers.
QString ShownCaption(QWidget* widget) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
    return accessible != nullptr ? accessible->text(QAccessible::Name) : QString();
}

// Every label that shows text treats it as plain text.
QStringList LabelsNotPlain(const QWidget* window) {
    QStringList names;
    for (const QLabel* label : window->findChildren<QLabel*>()) {
        if (!label->text().isEmpty() && label->textFormat() != Qt::PlainText) {
            names << label->objectName() + QLatin1Char('=') + label->text();
        }
    }
    return names;
}

// Creates `name` in `dir`, or returns an empty string where the file system
// refuses the name.
QString TryFixture(const QTemporaryDir& dir, const QString& name, const Bytes& bytes) {
    const QString path = dir.filePath(name);
    QFile probe(path);
    if (!probe.open(QIODevice::WriteOnly)) {
        return {};
    }
    probe.close();
    return WriteFixture(dir, name, bytes);
}

}  // namespace

class LiteralTextTest : public QObject {
    Q_OBJECT

  private slots:
    void mainWindowShowsFileTextLiterally();
    void editorShowsTheLabelLiterally();
    void messageNamesAMarkupPathLiterally();
    void pathWithSpacesAndNonAsciiCharactersOpens();
    void namedPipeIsRefusedByName();

  private:
    QTemporaryDir dir_;
};

void LiteralTextTest::mainWindowShowsFileTextLiterally() {
    const QString fileName = QStringLiteral("<i>x<i> & <img src=y> &amp;.iff");
    const QString path = TryFixture(dir_, fileName, MarkupFile());
    if (path.isEmpty()) {
        QSKIP("the file system refuses the name");
    }
    Harness h;
    h.Open(path);
    QVERIFY(h.desktop.messages.isEmpty());

    QCOMPARE(h.ListTexts(), QStringList{QLatin1String(kLabel) + QStringLiteral("  128")});
    auto* label1 = h.Find<QLabel>("Label1");
    QCOMPARE(label1->text(), fileName);
    QCOMPARE(label1->textFormat(), Qt::PlainText);

    // The frame's caption carries the name with each '&' doubled, which the
    // frame shows as one '&'.
    auto* frame1 = h.Find<QGroupBox>("Frame1");
    QCOMPARE(frame1->title(), QStringLiteral("Description: <i>Name</i> && <u>Co</u> &&amp; &&"));
    QCOMPARE(ShownCaption(frame1), QStringLiteral("Description: ") + QLatin1String(kName));

    auto* description = h.Find<QLabel>("OBJDesc");
    QCOMPARE(description->textFormat(), Qt::PlainText);
    QCOMPARE(description->text(),
             QStringLiteral("<h1>Big</h1> & <a href=\"x\">link</a>\n&lt;second&gt; line"));

    QCOMPARE(h.window.windowTitle(), QStringLiteral("Marrowick"));
    QCOMPARE(LabelsNotPlain(&h.window), QStringList());
    // The fixed frames still read as designed.
    QCOMPARE(ShownCaption(h.Find<QGroupBox>("Frame3")),
             QStringLiteral("Current IFF File Opened: "));
}

void LiteralTextTest::editorShowsTheLabelLiterally() {
    Harness h;
    h.Open(WriteFixture(dir_, QStringLiteral("markup.iff"), MarkupFile()));
    h.ClickButton("Command3");
    QWidget* editor = h.editor.window();
    QVERIFY(editor);

    auto* label27 = Control<QLabel>(editor, QStringLiteral("Label27"));
    QCOMPARE(label27->text(), QLatin1String(kLabel));
    QCOMPARE(label27->textFormat(), Qt::PlainText);
    QCOMPARE(editor->windowTitle(), QStringLiteral("GUID"));
    QCOMPARE(LabelsNotPlain(editor), QStringList());
    // The frame around the label keeps its caption.
    QCOMPARE(ShownCaption(Control<QGroupBox>(editor, QStringLiteral("Frame3(1)"))),
             QStringLiteral("Current IFF File Opened: "));
}

void LiteralTextTest::messageNamesAMarkupPathLiterally() {
    const QString missing = dir_.filePath(QStringLiteral("<b>gone<b> & <i>x &amp;.iff"));
    Harness h;
    h.Open(missing);
    QCOMPARE(h.desktop.messages.size(), 1);
    const FakeDesktop::Message message = h.desktop.messages.first();
    QVERIFY2(message.text.contains(missing), qPrintable(message.text));
    QCOMPARE(message.caption, QStringLiteral("Marrowick"));

    // The real desktop's box shows that text as plain text. Its loop runs the
    // check, then closes the box.
    QString shownText;
    QString shownCaption;
    Qt::TextFormat format = Qt::AutoText;
    QTimer::singleShot(0, [&] {
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (auto* box = qobject_cast<QMessageBox*>(top); box != nullptr && box->isVisible()) {
                shownText = box->text();
                shownCaption = box->windowTitle();
                format = box->textFormat();
                box->accept();
            }
        }
    });
    QtDesktop().ShowMessage(&h.window, message.text, message.caption);
    QCOMPARE(format, Qt::PlainText);
    QCOMPARE(shownText, message.text);
    QCOMPARE(shownCaption, message.caption);
}

void LiteralTextTest::pathWithSpacesAndNonAsciiCharactersOpens() {
    QVERIFY(QDir(dir_.path()).mkdir(QStringLiteral("Möbel & Stühle")));
    const QString name = QStringLiteral("Möbel & Stühle/Möbel Ü 2.iff");
    const QString path = TryFixture(dir_, name, MarkupFile(1234));
    QVERIFY(!path.isEmpty());
    Harness h;
    h.Open(path);

    QVERIFY(h.desktop.messages.isEmpty());
    QCOMPARE(h.ListTexts().size(), 1);
    QCOMPARE(h.Find<QLabel>("Label1")->text(), QStringLiteral("Möbel Ü 2.iff"));
    QCOMPARE(h.window.CurrentFile(), path);
    // The selection and the editor read the file again by that path.
    QCOMPARE(h.Find<QLineEdit>("txtPrice")->text(), QStringLiteral("1234"));
    h.ClickButton("Command3");
    QVERIFY(h.editor.IsOpen());
    QCOMPARE(Control<QLineEdit>(h.editor.window(), QStringLiteral("txtprice"))->text(),
             QStringLiteral("1234"));
    QVERIFY(h.desktop.messages.isEmpty());
}

void LiteralTextTest::namedPipeIsRefusedByName() {
    const QString pipe = dir_.filePath(QStringLiteral("<b>pipe<b> & ü.iff"));
    QVERIFY(::mkfifo(QFile::encodeName(pipe).constData(), 0600) == 0);
    Harness h;
    h.Open(WriteFixture(dir_, QStringLiteral("good.iff"), MarkupFile()));
    // Nobody writes to the pipe: opening it must come back at once, not wait.
    h.Open(pipe);

    QCOMPARE(h.desktop.messages.size(), 1);
    QVERIFY2(h.desktop.messages.first().text.contains(pipe),
             qPrintable(h.desktop.messages.first().text));
    QCOMPARE(h.Find<QListWidget>("List1")->count(), 0);
    QCOMPARE(h.Find<QLabel>("Label1")->text(), QStringLiteral("<b>pipe<b> & ü.iff"));
    QCOMPARE(h.window.CurrentObject(), -1);
}

QTEST_MAIN(LiteralTextTest)
#include "tst_literal_text.moc"
