// One run of the program through every flow of both windows, driven by real
// events, on a file that must come out of it untouched: same bytes, same
// times, same inode, and every open of it a read-only one.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QUrl>

#include <memory>

#include <sys/stat.h>
#include <unistd.h>

#include "editor_fixture.h"
#include "file_watch.h"
#include "score_controls.h"
#include "window_harness.h"

using namespace marrowick;
using namespace marrowick::test;

namespace {

// Several objects with their own catalog texts and thumbnails, a sub-tile, and
// an object without catalog texts.
Bytes SeveralObjects() {
    IffBuilder file;
    ObjectDefinition sofa = SampleDefinition();
    sofa.catalog_id = 300;
    file.Object(16384, "Sofa", sofa);
    file.Object(16385, "Sofa - tile 1", ObjectDefinition{});
    ObjectDefinition lamp = SampleDefinition();
    lamp.catalog_id = 301;
    lamp.price = 75;
    lamp.room_flags = 2;
    lamp.type_flags = 4;
    file.Object(128, "Lamp", lamp);
    ObjectDefinition plant;
    plant.price = 20;
    file.Object(129, "Plant", plant);
    file.Chunk("CTSS", 300, "", CatalogTexts("Sofa", "Seats three.\r\nStain resistant."));
    file.Chunk("CTSS", 301, "", CatalogTexts("Lamp", "Bright."));
    file.Chunk("BMP_", 300, "", CatalogThumbnail(0x3060C0, 0x60A0F0));
    file.Chunk("BMP_", 301, "", CatalogThumbnail(0xC06030, 0xF0A060, 8));
    return file.Build();
}

QString TimeText(const struct timespec& time) {
    return QStringLiteral("%1.%2").arg(time.tv_sec).arg(time.tv_nsec, 9, 10, QLatin1Char('0'));
}

}  // namespace

class NeverWrittenTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase();
    void cleanupTestCase();

    // The flows, in the order a user might take them, on one program run.
    void openingThroughTheDialog();
    void selectingEveryObject();
    void detailsInTheMainWindow();
    void everyEditorControlThenOk();
    void editsThenCancel();
    void escapeEnterAndTheCloseBox();
    void reopeningAndDropping();
    void aboutButtonsAndExit();

    // The proof, once every flow has run.
    void fileIsNeitherWrittenNorOpenedForWriting();

  private:
    QWidget* Editor() const { return h_->editor.window(); }
    void OpenEditor();
    void ClickInEditor(const QString& name);
    void TypeInto(QLineEdit* box, const QString& text);
    void EditEverything();
    void PressCtrlD(QWidget* window);

    QTemporaryDir dir_;
    QString folder_;
    QString path_;
    FileSnapshot before_;
    std::unique_ptr<FileWatch> watch_;
    std::unique_ptr<Harness> h_;
};

void NeverWrittenTest::initTestCase() {
    QVERIFY(dir_.isValid());
    folder_ = dir_.filePath(QStringLiteral("objects"));
    QVERIFY(QDir().mkdir(folder_));
    path_ = WriteFixture(dir_, QStringLiteral("objects/several.iff"), SeveralObjects());
    // Read-only for everyone, in a read-only folder: an ordinary user could
    // neither write it nor replace it. Root can, which the watch catches.
    QVERIFY(::chmod(QFile::encodeName(path_).constData(), 0444) == 0);
    QVERIFY(::chmod(QFile::encodeName(folder_).constData(), 0555) == 0);

    before_ = FileSnapshot::Take(path_);
    QVERIFY(before_.ok);
    watch_ = std::make_unique<FileWatch>(path_);
    QVERIFY(watch_->IsWatching());
    h_ = std::make_unique<Harness>();
}

void NeverWrittenTest::cleanupTestCase() {
    h_.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ::chmod(QFile::encodeName(folder_).constData(), 0755);
}

void NeverWrittenTest::OpenEditor() {
    h_->ClickButton("Command3");
    QVERIFY(h_->editor.IsOpen());
}

void NeverWrittenTest::ClickInEditor(const QString& name) {
    auto* control = Control<QWidget>(Editor(), name);
    QVERIFY2(control, qPrintable(name));
    QTest::mouseClick(control, Qt::LeftButton);
}

void NeverWrittenTest::TypeInto(QLineEdit* box, const QString& text) {
    QTest::mouseClick(box, Qt::LeftButton);
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(box, text);
    QCOMPARE(box->text(), text);
}

void NeverWrittenTest::PressCtrlD(QWidget* window) {
    QApplication::setActiveWindow(window);
    QVERIFY(QTest::qWaitForWindowActive(window));
    QTest::keyClick(window, Qt::Key_D, Qt::ControlModifier);
}

// Every control of the editor that takes input, each used at least once.
void NeverWrittenTest::EditEverything() {
    const ScoreFormState& state = h_->editor.State();
    for (const char* name :
         {"hungscore", "comscore", "hygscore", "bladscore", "enerscore", "funscore", "roomscore"}) {
        TypeInto(Control<QLineEdit>(Editor(), QLatin1String(name)), QStringLiteral("-42"));
    }
    QVERIFY(state.ScoresDirty);
    for (const char* name : {"txtprice", "saleprice", "InitDep", "DailyDep", "Deplimit"}) {
        TypeInto(Control<QLineEdit>(Editor(), QLatin1String(name)), QStringLiteral("32767"));
    }
    TypeInto(Control<QLineEdit>(Editor(), QStringLiteral("Text8")), QStringLiteral("127"));
    QVERIFY(state.ValueDirty);

    for (int bit = 0; bit <= 64; bit = bit == 0 ? 1 : bit * 2) {
        const QString name = QStringLiteral("Check1(%1)").arg(bit);
        auto* box = Control<QCheckBox>(Editor(), name);
        QVERIFY2(box, qPrintable(name));
        const Qt::CheckState loaded = box->checkState();
        ClickInEditor(name);
        QVERIFY(box->checkState() != loaded);
        ClickInEditor(name);
        QCOMPARE(box->checkState(), loaded);
    }
    QVERIFY(state.SkillsDirty);
    ClickInEditor(QStringLiteral("selfdep"));
    ClickInEditor(QStringLiteral("selfdep"));

    for (const char* name : {"Combo1", "Combo2"}) {
        auto* combo = Control<QComboBox>(Editor(), QLatin1String(name));
        ChooseEntry(combo, 1);
        QCOMPARE(combo->currentIndex(), 1);
        ChooseEntry(combo, combo->count() - 1);
        QCOMPARE(combo->currentIndex(), combo->count() - 1);
    }
    QVERIFY(state.BuyModeDirty);

    // Each key lands first in a freshly clicked box, so every key and every
    // box shows its effect.
    for (int key = 0; key < kKeypadKeys; ++key) {
        const QString box = QStringLiteral("txtguid(%1)").arg(key % kGuidBoxCount);
        ClickInEditor(box);
        ClickInEditor(QStringLiteral("Command1(%1)").arg(key));
        QCOMPARE(Control<QLineEdit>(Editor(), box)->text().at(0),
                 QLatin1Char("0123456789ABCDEF"[key]));
    }
    ClickInEditor(QStringLiteral("Command3"));
    QCOMPARE(Control<QLineEdit>(Editor(), QStringLiteral("txtguid(3)"))->text(),
             QStringLiteral("0000"));
    ClickInEditor(QStringLiteral("Command2"));  // "Save Artist ID"
    QVERIFY(state.GuidDirty);
}

void NeverWrittenTest::openingThroughTheDialog() {
    h_->Open(QString());  // the user cancels the dialog first
    QCOMPARE(h_->Find<QListWidget>("List1")->count(), 0);

    h_->Open(path_);
    QCOMPARE(h_->ListTexts().size(), 4);
    QCOMPARE(h_->Find<QLabel>("Label1")->text(), QStringLiteral("several.iff"));
    QVERIFY(h_->desktop.messages.isEmpty());
}

void NeverWrittenTest::selectingEveryObject() {
    auto* list = h_->Find<QListWidget>("List1");
    for (int row = list->count() - 1; row >= 0; --row) {
        h_->ClickEntry(row);
        QCOMPARE(h_->window.CurrentObject(), row);
    }
    h_->ClickEntry(0);  // the selected entry again
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_End);
    QCOMPARE(h_->window.CurrentObject(), list->count() - 1);
    QTest::keyClick(list, Qt::Key_Home);
    QCOMPARE(h_->window.CurrentObject(), 0);
    QCOMPARE(h_->Find<QLineEdit>("txtPrice")->text(), QStringLiteral("1450"));
}

void NeverWrittenTest::detailsInTheMainWindow() {
    PressCtrlD(&h_->window);
    QVERIFY(h_->window.DetailsShown());
    h_->ClickEntry(2);
    QCOMPARE(h_->Find<QLabel>("OBJDesc")->text(), QStringLiteral("Bright."));
    h_->window.findChild<QAction*>(QStringLiteral("ShowDetailsAction"))->trigger();
    QVERIFY(!h_->window.DetailsShown());
}

void NeverWrittenTest::everyEditorControlThenOk() {
    auto* list = h_->Find<QListWidget>("List1");
    for (int row = 0; row < list->count(); ++row) {
        h_->ClickEntry(row);
        OpenEditor();
        QCOMPARE(h_->editor.State().ObjIndex, row);
        PressCtrlD(Editor());  // every group in view, as a user reaches them
        EditEverything();
        PressCtrlD(Editor());
        ClickInEditor(QStringLiteral("cmdOK"));
        QVERIFY(!h_->editor.IsOpen());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

void NeverWrittenTest::editsThenCancel() {
    h_->ClickEntry(0);
    OpenEditor();
    PressCtrlD(Editor());
    EditEverything();
    ClickInEditor(QStringLiteral("cmdCancel"));
    QVERIFY(!h_->editor.IsOpen());
    QVERIFY(!h_->editor.State().GuidDirty);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void NeverWrittenTest::escapeEnterAndTheCloseBox() {
    for (const Qt::Key key : {Qt::Key_Escape, Qt::Key_Return}) {
        OpenEditor();
        ClickInEditor(QStringLiteral("txtguid(1)"));
        ClickInEditor(QStringLiteral("Command1(10)"));
        TypeInto(Control<QLineEdit>(Editor(), QStringLiteral("funscore")), QStringLiteral("1"));
        QTest::keyClick(Control<QWidget>(Editor(), QStringLiteral("funscore")), key);
        QVERIFY(!h_->editor.IsOpen());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    OpenEditor();
    ClickInEditor(QStringLiteral("Command1(5)"));
    QVERIFY(Editor()->close());
    QVERIFY(!h_->editor.IsOpen());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void NeverWrittenTest::reopeningAndDropping() {
    h_->ClickEntry(3);
    h_->Open(path_);
    QCOMPARE(h_->ListTexts().size(), 4);
    QCOMPARE(h_->window.CurrentObject(), 0);

    // The same file dropped on the window opens it as the dialog does.
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path_)});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&h_->window, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&h_->window, &drop);
    QCOMPARE(h_->ListTexts().size(), 4);
    OpenEditor();
    QTest::keyClick(Editor(), Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(h_->desktop.messages.isEmpty());
}

void NeverWrittenTest::aboutButtonsAndExit() {
    h_->ClickButton("Command4");
    h_->ClickButton("Command5");
    QCOMPARE(h_->desktop.openedAddresses.size(), 2);

    // Exit with the editor open, then the close box: both end the program.
    OpenEditor();
    h_->ClickButton("Command2");
    QCOMPARE(h_->desktop.endCalls, 1);
    h_->window.close();
    QCOMPARE(h_->desktop.endCalls, 2);
    h_.reset();  // what is left of the run goes, as at the end of the process
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void NeverWrittenTest::fileIsNeitherWrittenNorOpenedForWriting() {
    const FileWatch::Events events = watch_->Collect();
    watch_.reset();
    QVERIFY(!events.overflowed);
    QVERIFY2(events.writes.isEmpty(), qPrintable(events.writes.join(QStringLiteral(", "))));
    QVERIFY2(events.folderChanges.isEmpty(),
             qPrintable(events.folderChanges.join(QStringLiteral(", "))));
    // The flows did read the file, and each open was closed without write
    // access (a close after opening for writing reports IN_CLOSE_WRITE even
    // when nothing was written).
    QVERIFY(events.opens > 10);
    QCOMPARE(events.closesWithoutWrite, events.opens);

    const FileSnapshot after = FileSnapshot::Take(path_);
    QVERIFY(after.ok);
    QCOMPARE(after.bytes, before_.bytes);
    QCOMPARE(TimeText(after.status.st_mtim), TimeText(before_.status.st_mtim));
    QCOMPARE(TimeText(after.status.st_ctim), TimeText(before_.status.st_ctim));
    QCOMPARE(after.status.st_ino, before_.status.st_ino);
    QCOMPARE(after.status.st_mode, before_.status.st_mode);
}

QTEST_MAIN(NeverWrittenTest)
#include "tst_never_written.moc"
