// The main window as a whole: its designed layout and colours, the expanded
// view, the about panel's links, "Get GUID!", dropping a file, and the end.
#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>

#include "window_harness.h"
#include "window_look.h"

using namespace marrowick;
using namespace marrowick::test;

class WindowTest : public QObject {
    Q_OBJECT

  private slots:
    void designedGeometry_data();
    void designedGeometry();
    void designedLook();
    void expandedViewShowsTheDetails();
    void exitEndsTheProgram();
    void closingEndsTheProgram();
    void linkButtonsOpenTheirAddresses();
    void getGuidOpensTheEditorAndReselects();
    void droppedFileIsOpened();
    void severalDroppedFilesAreRefused();

  private:
    QTemporaryDir dir_;
};

namespace {

// Every control's own rectangle in its container's coordinates, by name.
QHash<QString, QRect> Geometries(const QWidget& window) {
    QHash<QString, QRect> geometry;
    for (const QWidget* control : window.findChildren<QWidget*>()) {
        if (!control->objectName().isEmpty() && !control->objectName().startsWith("qt_")) {
            geometry.insert(control->objectName(), control->geometry());
        }
    }
    return geometry;
}

void Drop(QWidget& target, const QList<QUrl>& urls, bool* accepted) {
    QMimeData data;
    data.setUrls(urls);
    QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&target, &enter);
    *accepted = enter.isAccepted();
    if (*accepted) {
        QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&target, &drop);
    }
}

}  // namespace

void WindowTest::designedGeometry_data() {
    QTest::addColumn<QString>("container");
    QTest::addColumn<QRect>("twips");
    const auto row = [](const char* name, const char* container, int l, int t, int w, int h) {
        QTest::newRow(name) << QString::fromLatin1(container) << QRect(l, t, w, h);
    };
    row("Command1", "", 120, 120, 2535, 375);
    row("Command2", "", 2760, 120, 2535, 375);
    row("Frame3", "", 120, 600, 5175, 615);
    row("Label1", "Frame3", 120, 240, 4935, 255);
    row("Frame4", "", 120, 1320, 5175, 3375);
    row("List1", "Frame4", 120, 240, 4935, 2985);
    row("Command3", "", 120, 4800, 5175, 375);
    row("Frame5", "", 120, 5280, 5175, 1455);
    row("Command4", "Frame5", 120, 240, 2415, 375);
    row("Command5", "Frame5", 2640, 240, 2415, 375);
    row("Label8", "Frame5", 120, 840, 1455, 255);
    row("Label7", "Frame5", 120, 1080, 1815, 255);
    row("Label4", "Frame5", 2640, 840, 1815, 255);
    row("Label9", "Frame5", 2640, 1080, 1455, 255);
    row("TreeView1", "", 6840, 960, 3255, 4095);
    row("Frame2", "", 6600, 5160, 2895, 975);
    row("Label2", "Frame2", 120, 240, 735, 255);
    row("Text1", "Frame2", 720, 240, 2055, 285);
    row("Label3", "Frame2", 120, 600, 735, 255);
    row("Text2", "Frame2", 720, 600, 2055, 285);
    row("Picture2", "", 6960, 1200, 495, 495);
    row("Picture1", "", 7320, 1560, 855, 735);
    row("Frame1", "", 6840, 960, 4335, 3135);
    row("OBJDesc", "Frame1", 120, 360, 4095, 2415);
    row("Label6", "", 8640, 1560, 855, 255);
    row("txtPrice", "", 8400, 1920, 735, 285);
}

void WindowTest::designedGeometry() {
    QFETCH(QString, container);
    QFETCH(QRect, twips);
    Harness h;
    QWidget* control = h.Find<QWidget>(QTest::currentDataTag());
    QVERIFY(control);
    const QWidget* parent = control->parentWidget();
    QCOMPARE(parent == &h.window ? QString() : parent->objectName(), container);
    QCOMPARE(control->geometry(), Twips(twips.x(), twips.y(), twips.width(), twips.height()));
    QVERIFY(control->isVisible());
}

void WindowTest::designedLook() {
    Harness h;
    QCOMPARE(h.window.size(), QSize(362, 457));
    QCOMPARE(h.window.minimumSize(), h.window.maximumSize());

    const auto checkColours = [&](const char* name, const QColor& back, const QColor& text) {
        const QWidget* control = h.Find<QWidget>(name);
        const QPalette palette = control->palette();
        QVERIFY2(palette.color(control->backgroundRole()) == back, name);
        QVERIFY2(palette.color(control->foregroundRole()) == text, name);
    };
    for (const char* name :
         {"Frame3", "Frame4", "Frame5", "Label1", "Label4", "Label7", "Label8", "Label9"}) {
        checkColours(name, kDarkBlue, Qt::white);
    }
    QCOMPARE(h.window.palette().color(QPalette::Window), kDarkBlue);
    // What is drawn: an empty corner of each frame and label is dark blue.
    const QImage drawn = h.window.grab().toImage();
    for (const char* name : {"Frame3", "Frame4", "Frame5", "Label1", "Label7", "Label9"}) {
        const QWidget* control = h.Find<QWidget>(name);
        const QPoint corner =
            control->mapTo(&h.window, control->rect().bottomRight() - QPoint(3, 3));
        QVERIFY2(QColor(drawn.pixel(corner)) == kDarkBlue, name);
    }
    for (const char* name : {"Command1", "Command2", "Command3", "Command4", "Command5"}) {
        QCOMPARE(h.Find<QWidget>(name)->palette().color(QPalette::Button), QColor(Qt::white));
    }
    // The controls out of view, and the list, keep the system's colours.
    const QPalette system = QApplication::palette();
    for (const char* name : {"List1", "TreeView1", "Frame2", "Label2", "Text1", "Picture1",
                             "Picture2", "Frame1", "OBJDesc", "Label6", "txtPrice"}) {
        const QWidget* control = h.Find<QWidget>(name);
        for (auto role : {QPalette::Window, QPalette::WindowText, QPalette::Base, QPalette::Text,
                          QPalette::Button}) {
            QVERIFY2(control->palette().color(role) == system.color(role), name);
        }
    }

    const auto caption = [&](const char* name) { return h.Find<QPushButton>(name)->text(); };
    QCOMPARE(caption("Command1"), QStringLiteral("Open IFF File"));
    QCOMPARE(caption("Command2"), QStringLiteral("Exit"));
    QCOMPARE(caption("Command3"), QStringLiteral("Get GUID!"));
    QCOMPARE(caption("Command4"), QStringLiteral("Corvane"));
    QCOMPARE(caption("Command5"), QStringLiteral("The Tavisk Workshop"));
    QCOMPARE(h.Find<QGroupBox>("Frame3")->title(), QStringLiteral("Current IFF File Opened: "));
    QCOMPARE(h.Find<QGroupBox>("Frame4")->title(), QStringLiteral("Select A Piece:"));
    QCOMPARE(h.Find<QGroupBox>("Frame5")->title(), QStringLiteral("About:"));
    QVERIFY(h.Find<QLabel>("Label8")->font().bold());
    QVERIFY(h.Find<QLabel>("Label4")->font().bold());
    QVERIFY(!h.Find<QLabel>("Label7")->font().bold());
    // Every caption of the about panel fits its designed box.
    for (const char* name : {"Label4", "Label7", "Label8", "Label9"}) {
        const QLabel* label = h.Find<QLabel>(name);
        QVERIFY2(label->fontMetrics().horizontalAdvance(label->text()) <= label->width(), name);
    }
}

void WindowTest::expandedViewShowsTheDetails() {
    Harness h;
    h.Open(WriteFixture(dir_, "typical.iff", TypicalObjectFile("Sofa", 16384, 900, 7, 1)));
    const QHash<QString, QRect> designed = Geometries(h.window);

    QAction* action = h.window.findChild<QAction*>("ShowDetailsAction");
    QVERIFY(action);
    QCOMPARE(action->text(), QStringLiteral("Show details"));
    QCOMPARE(action->shortcut(), QKeySequence(QStringLiteral("Ctrl+D")));
    QCOMPARE(h.window.contextMenuPolicy(), Qt::ActionsContextMenu);
    QVERIFY(h.window.actions().contains(action));
    QVERIFY(h.Find<QWidget>("List1")->toolTip().contains(QStringLiteral("Ctrl+D")));

    QApplication::setActiveWindow(&h.window);
    QVERIFY(QTest::qWaitForWindowActive(&h.window));
    QTest::keyClick(&h.window, Qt::Key_D, Qt::ControlModifier);
    QVERIFY(h.window.DetailsShown());

    // Every control seen in the window lies inside it, and none covers another.
    const QRect client = h.window.rect();
    QVERIFY(client.width() > 362);
    QList<QWidget*> shown;
    for (QWidget* control : h.window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (control->isVisible()) {
            shown << control;
        }
    }
    for (const char* detail : {"Frame1", "Frame2", "Picture1", "Label6", "txtPrice"}) {
        QVERIFY2(shown.contains(h.Find<QWidget>(detail)), detail);
    }
    for (int i = 0; i < shown.size(); ++i) {
        QVERIFY2(client.contains(shown[i]->geometry()), qPrintable(shown[i]->objectName()));
        for (int j = i + 1; j < shown.size(); ++j) {
            QVERIFY2(!shown[i]->geometry().intersects(shown[j]->geometry()),
                     qPrintable(shown[i]->objectName() + " / " + shown[j]->objectName()));
        }
    }
    // The description is readable: the frame's caption and text have room.
    QVERIFY(h.Find<QLabel>("OBJDesc")->sizeHint().height() <= h.Find<QLabel>("OBJDesc")->height());

    action->trigger();  // from the context menu
    QVERIFY(!h.window.DetailsShown());
    QCOMPARE(h.window.size(), QSize(362, 457));
    QCOMPARE(Geometries(h.window), designed);
    QVERIFY(h.Find<QWidget>("TreeView1")->isVisible());
    QVERIFY(h.Find<QWidget>("Picture2")->isVisible());
}

void WindowTest::exitEndsTheProgram() {
    Harness h;
    h.Open(WriteFixture(dir_, "typical.iff", TypicalObjectFile("Sofa", 16384, 900, 7, 1)));
    h.ClickButton("Command3");
    QVERIFY(h.editor.IsOpen());
    QSignalSpy shown(&h.window, &FrmMain::ObjectShown);

    h.ClickButton("Command2");
    QCOMPARE(h.desktop.endCalls, 1);
    // Nothing of either window ran after the end.
    QVERIFY(h.editor.IsOpen());
    QCOMPARE(shown.count(), 0);
    QVERIFY(h.desktop.messages.isEmpty());
}

void WindowTest::closingEndsTheProgram() {
    Harness h;  // no file was ever opened
    h.window.close();
    QCOMPARE(h.desktop.endCalls, 1);
    QVERIFY(h.desktop.messages.isEmpty());
    // Not merely hidden: only the end of the program takes the window away.
    QVERIFY(h.window.isVisible());
}

void WindowTest::linkButtonsOpenTheirAddresses() {
    Harness h;
    h.ClickButton("Command4");
    h.ClickButton("Command4");
    h.ClickButton("Command5");
    QCOMPARE(h.desktop.openedAddresses,
             (QStringList{"https://corvane.example/", "https://corvane.example/",
                          "https://tavisk-workshop.example/"}));
}

void WindowTest::getGuidOpensTheEditorAndReselects() {
    Harness h;
    h.ClickButton("Command3");  // nothing listed: nothing to open
    QVERIFY(!h.editor.IsOpen());

    h.Open(WriteFixture(dir_, "typical.iff", TypicalObjectFile("Sofa", 16384, 900, 7, 2)));
    h.ClickEntry(1);
    QSignalSpy shown(&h.window, &FrmMain::ObjectShown);
    h.ClickButton("Command3");
    QVERIFY(h.editor.IsOpen());
    // The list's selection is assigned again, which shows the object once more.
    QCOMPARE(shown.count(), 1);
    QCOMPARE(shown[0].at(0).toInt(), 1);
    QCOMPARE(h.window.CurrentObject(), 1);
}

void WindowTest::droppedFileIsOpened() {
    Harness h;
    const QString path =
        WriteFixture(dir_, "dropped.iff", TypicalObjectFile("Sofa", 16384, 900, 7, 0));
    bool accepted = false;
    Drop(h.window, {QUrl::fromLocalFile(path)}, &accepted);
    QVERIFY(accepted);
    QCOMPARE(h.ListTexts(), QStringList{QStringLiteral("Sofa  16384")});
    QCOMPARE(h.Find<QLabel>("Label1")->text(), QStringLiteral("dropped.iff"));
    QCOMPARE(h.window.CurrentFile(), path);
    QCOMPARE(h.window.CurrentObject(), 0);
    QCOMPARE(h.desktop.dialogsShown, 0);
}

void WindowTest::severalDroppedFilesAreRefused() {
    Harness h;
    const QString a = WriteFixture(dir_, "a.iff", TypicalObjectFile("A", 128, 1, 7, 0));
    const QString b = WriteFixture(dir_, "b.iff", TypicalObjectFile("B", 128, 1, 7, 0));
    bool accepted = true;
    Drop(h.window, {QUrl::fromLocalFile(a), QUrl::fromLocalFile(b)}, &accepted);
    QVERIFY(!accepted);
    Drop(h.window, {QUrl(QStringLiteral("https://corvane.example/x.iff"))}, &accepted);
    QVERIFY(!accepted);
    QCOMPARE(h.Find<QListWidget>("List1")->count(), 0);
}

QTEST_MAIN(WindowTest)
#include "tst_window.moc"
