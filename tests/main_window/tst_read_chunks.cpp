// A file without a resource map: its message keeps the designed answer and
// offers "Read Chunks", which lists the file from its chunks.
#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include "window_harness.h"

using namespace marrowick;
using namespace marrowick::test;

class ReadChunksTest : public QObject {
    Q_OBJECT

  private slots:
    void okKeepsTheDesignedAnswer();
    void readChunksListsDecodesAndShowsThumbnails();
    void warningComesAfterTheListIsFilled();
    void droppedFileAsksTooAndNothingIsRemembered();
    void realBoxOffersTheButtonWithOkAsDefault();

  private:
    QTemporaryDir dir_;
};

namespace {

const QString kNoMapText = QStringLiteral(
    "Future versions will support objects\r\nwithout a Resource Map, however\r\nthis version "
    "requires one.");

// A chair with its catalog texts (in the packed layout) and thumbnail, and a
// sub-tile, written without a resource map.
Bytes MapLessChair(const Bytes& trailer = {}) {
    IffBuilder file;
    file.OmitMap();
    ObjectDefinition chair;
    chair.guid = 0xCDAB3412;
    chair.price = 480;
    chair.catalog_id = 2100;
    file.Object(16384, "Chair", chair);
    file.Object(16385, "Chair - tile", ObjectDefinition{});
    file.Chunk("CTSS", 2100, "", PackedCatalogTexts({{1, "Club Chair", ""}, {1, "Deep.", ""}}));
    file.Chunk("BMP_", 2100, "", CatalogThumbnail(0x3060C0, 0x60A0F0));
    file.Raw(trailer);
    return file.Build();
}

}  // namespace

void ReadChunksTest::okKeepsTheDesignedAnswer() {
    Harness h;
    h.Open(WriteFixture(dir_, "chair.iff", TypicalObjectFile("Sofa", 128, 7, 1, 0)));
    h.Open(WriteFixture(dir_, "no-map.iff", MapLessChair()));

    QCOMPARE(h.desktop.messages.size(), 1);
    QCOMPARE(h.desktop.messages[0].text, kNoMapText);
    QCOMPARE(h.desktop.messages[0].caption, QStringLiteral("No Resource Map!"));
    QCOMPARE(h.desktop.messages[0].button, QStringLiteral("Read Chunks"));
    QCOMPARE(h.ListTexts(), QStringList());
    QCOMPARE(h.Find<QLabel>("Label1")->text(), QStringLiteral("no-map.iff"));
    QCOMPARE(h.window.CurrentObject(), -1);
    QCOMPARE(h.Find<QLabel>("Label1")->toolTip(), QString());
}

void ReadChunksTest::readChunksListsDecodesAndShowsThumbnails() {
    Harness h;
    h.desktop.buttonAnswers << true;
    h.Open(WriteFixture(dir_, "no-map.iff", MapLessChair()));

    QCOMPARE(h.desktop.messages.size(), 1);  // the question, and no warning
    QCOMPARE(h.ListTexts(),
             (QStringList{QStringLiteral("Chair  16384"), QStringLiteral("Chair - tile  16385")}));
    QCOMPARE(h.Find<QListWidget>("List1")->currentRow(), 0);
    QCOMPARE(h.Find<QLineEdit>("txtPrice")->text(), QStringLiteral("480"));
    QCOMPARE(h.Find<QGroupBox>("Frame1")->title(), QStringLiteral("Description: Club Chair"));
    QCOMPARE(h.Find<QLabel>("OBJDesc")->text(), QStringLiteral("Deep."));
    const QImage picture = h.Find<QLabel>("Picture1")->pixmap().toImage();
    QCOMPARE(QColor(picture.pixel(picture.width() / 2, picture.height() / 2)),
             QColor(0x30, 0x60, 0xC0));

    // Where the list came from shows in the expanded view, and as a tip on the
    // file name; the designed texts and title stay as they are.
    auto* note = h.Find<QLabel>("ChunksNote");
    QVERIFY(!note->isVisible());
    QVERIFY(h.Find<QLabel>("Label1")->toolTip().contains(QStringLiteral("chunks")));
    h.window.findChild<QAction*>("ShowDetailsAction")->trigger();
    QVERIFY(note->isVisible());
    QVERIFY(note->text().contains(QStringLiteral("no resource map")));
    QCOMPARE(h.window.windowTitle(), QStringLiteral("Marrowick"));

    h.ClickButton("Command3");
    QVERIFY(h.editor.IsOpen());
    QCOMPARE(h.editor.window()->findChild<QLineEdit*>(QStringLiteral("txtguid(0)"))->text(),
             QStringLiteral("1234"));
    QCOMPARE(h.editor.window()->findChild<QLineEdit*>(QStringLiteral("txtguid(1)"))->text(),
             QStringLiteral("ABCD"));

    // The next file has a map: nothing says chunks any more.
    h.Open(WriteFixture(dir_, "mapped.iff", TypicalObjectFile("Sofa", 128, 7, 1, 0)));
    QVERIFY(!note->isVisible());
    QCOMPARE(h.Find<QLabel>("Label1")->toolTip(), QString());
}

void ReadChunksTest::warningComesAfterTheListIsFilled() {
    Harness h;
    h.desktop.buttonAnswers << true;
    QStringList listedAtTheWarning;
    h.desktop.onMessage = [&](const FakeDesktop::Message& message) {
        if (message.button.isEmpty()) {
            listedAtTheWarning = h.ListTexts();
        }
    };
    // Twenty stray bytes where the next chunk header should be.
    const Bytes cut = MapLessChair(Bytes(20, 0xEE));
    h.Open(WriteFixture(dir_, "cut.iff", cut));

    QCOMPARE(h.desktop.messages.size(), 2);
    const FakeDesktop::Message warning = h.desktop.messages[1];
    QCOMPARE(warning.caption, QStringLiteral("Marrowick"));
    QCOMPARE(warning.text, QStringLiteral("cut.iff: Reading stopped at byte %1: only 20 bytes are "
                                          "left there, too few for a 76-byte chunk header. "
                                          "Nothing from there on is read.")
                               .arg(cut.size() - 20));
    QCOMPARE(listedAtTheWarning.size(), 2);
    QCOMPARE(h.window.CurrentObject(), 0);
}

void ReadChunksTest::droppedFileAsksTooAndNothingIsRemembered() {
    Harness h;
    const QString path = WriteFixture(dir_, "dropped.iff", MapLessChair());
    h.desktop.buttonAnswers << true;
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path)});
    QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&h.window, &enter);
    QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&h.window, &drop);
    QCOMPARE(h.ListTexts().size(), 2);
    QCOMPARE(h.desktop.dialogsShown, 0);

    // The same file again: asked again, and this time answered with OK.
    h.Open(path);
    QCOMPARE(h.desktop.messages.size(), 2);
    QCOMPARE(h.desktop.messages[1].button, QStringLiteral("Read Chunks"));
    QCOMPARE(h.ListTexts(), QStringList());
}

void ReadChunksTest::realBoxOffersTheButtonWithOkAsDefault() {
    Harness h;
    // Each answer: a key press or a click on a named button, then the result.
    const auto answer = [&](const std::function<void(QMessageBox*)>& press) {
        bool shownRight = false;
        QTimer::singleShot(0, [&] {
            for (QWidget* top : QApplication::topLevelWidgets()) {
                auto* box = qobject_cast<QMessageBox*>(top);
                if (box == nullptr || !box->isVisible()) {
                    continue;
                }
                QStringList buttons;
                for (QAbstractButton* button : box->buttons()) {
                    buttons << button->text().remove(QLatin1Char('&'));
                }
                buttons.sort();
                shownRight =
                    box->text() == kNoMapText &&
                    box->windowTitle() == QStringLiteral("No Resource Map!") &&
                    box->textFormat() == Qt::PlainText &&
                    buttons == QStringList{QStringLiteral("OK"), QStringLiteral("Read Chunks")} &&
                    box->defaultButton() == box->button(QMessageBox::Ok);
                press(box);
            }
        });
        const bool readChunks = QtDesktop().ShowMessageWithButton(
            &h.window, kNoMapText, QStringLiteral("No Resource Map!"), FrmMain::kReadChunks);
        return std::make_pair(shownRight, readChunks);
    };
    const auto key = [](Qt::Key k) { return [k](QMessageBox* box) { QTest::keyClick(box, k); }; };

    QCOMPARE(answer(key(Qt::Key_Return)), std::make_pair(true, false));
    QCOMPARE(answer(key(Qt::Key_Escape)), std::make_pair(true, false));
    QCOMPARE(answer([](QMessageBox* box) {
                 for (QAbstractButton* button : box->buttons()) {
                     if (button->text() == QStringLiteral("Read Chunks")) {
                         QTest::mouseClick(button, Qt::LeftButton);
                     }
                 }
             }),
             std::make_pair(true, true));
}

QTEST_MAIN(ReadChunksTest)
#include "tst_read_chunks.moc"
