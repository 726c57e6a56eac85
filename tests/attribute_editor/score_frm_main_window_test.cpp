// The editor opened from the main window: "Get GUID!" with and without
// objects, the list's selection assigned again after opening, and a category
// chosen in the editor giving way to the file's when the object is selected.
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "editor_fixture.h"
#include "frm_main.h"
#include "score_frm.h"

namespace marrowick::test {

class ScoreFrmMainWindowTest : public QObject {
    Q_OBJECT

  private:
    struct Run {
        QTemporaryDir dir;
        ParseIFF parse;
        QuietDesktop desktop;
        ScoreFrm editor{parse, desktop};
        FrmMain window{parse, editor, desktop};

        void Open(const IffBuilder& file) {
            const QString path = dir.filePath(QStringLiteral("objects.iff"));
            file.Write(path.toStdString());
            desktop.answers << path;
            Click("Command1");
        }
        void Click(const char* name) {
            QTest::mouseClick(window.findChild<QPushButton*>(QLatin1String(name)), Qt::LeftButton);
        }
        void ClickEntry(int row) {
            auto* list = window.findChild<QListWidget*>(QStringLiteral("List1"));
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                              list->visualItemRect(list->item(row)).center());
        }
        QString EditorLabel() const {
            return editor.window()->findChild<QLabel*>(QStringLiteral("Label27"))->text();
        }
    };

    static IffBuilder TwoObjects() {
        IffBuilder file;
        file.Object(128, "Chair", SampleDefinition());
        ObjectDefinition lamp = SampleDefinition();
        lamp.room_flags = 2;
        file.Object(129, "Lamp", lamp);
        return file;
    }

  private slots:
    void GetGuidWithNoObjectsOpensNothing() {
        Run run;
        run.window.show();
        IffBuilder file;
        file.Chunk("STR#", 128, "Strings", Bytes(16, 0));
        run.Open(file);
        run.Click("Command3");
        QVERIFY(!run.editor.IsOpen());
    }

    void GetGuidOpensTheSelectedObjectAndSelectsItAgain() {
        Run run;
        run.window.show();
        run.Open(TwoObjects());
        run.ClickEntry(1);
        QSignalSpy shown(&run.window, &FrmMain::ObjectShown);
        run.Click("Command3");
        QVERIFY(run.editor.IsOpen());
        QCOMPARE(run.editor.State().ObjIndex, 1);
        QCOMPARE(run.EditorLabel(), QStringLiteral("Lamp"));
        QCOMPARE(shown.count(), 1);
        QCOMPARE(shown.first().first().toInt(), 1);
    }

    void GetGuidAgainKeepsTheFirstObject() {
        Run run;
        run.window.show();
        run.Open(TwoObjects());
        run.Click("Command3");
        QWidget* editor = run.editor.window();
        run.ClickEntry(1);
        run.Click("Command3");
        QCOMPARE(run.editor.window(), editor);
        QCOMPARE(run.editor.State().ObjIndex, 0);
        QCOMPARE(run.EditorLabel(), QStringLiteral("Chair"));
    }

    void SelectingTheObjectAgainRestoresTheFilesRoom() {
        Run run;
        run.window.show();
        run.Open(TwoObjects());
        run.ClickEntry(1);
        run.Click("Command3");
        ShowDetails(run.editor.window());
        ChooseEntry(run.editor.window()->findChild<QComboBox*>(QStringLiteral("Combo1")), 5);
        QCOMPARE(run.parse.ObjectAttributes[1].RoomFlags, std::int16_t{16});
        run.ClickEntry(0);
        run.ClickEntry(1);
        QCOMPARE(run.parse.ObjectAttributes[1].RoomFlags, std::int16_t{2});
    }
};

}  // namespace marrowick::test

QTEST_MAIN(marrowick::test::ScoreFrmMainWindowTest)
#include "score_frm_main_window_test.moc"
