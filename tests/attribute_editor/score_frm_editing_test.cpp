// Edits in the open editor: which flag each control sets, the category lists
// writing the attribute table, the GUID keypad, and closing with OK, Cancel,
// the close box, Enter and Escape.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include <memory>

#include "editor_fixture.h"
#include "score_frm.h"

namespace marrowick::test {

class ScoreFrmEditingTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<EditorFixture> f_;
    std::unique_ptr<ScoreFrm> frm_;

    QWidget* Window() const { return frm_->window(); }
    const ScoreFormState& State() const { return frm_->State(); }
    void Open() { frm_->Open(0, f_->EntryText(0)); }

    QStringList SetFlags() const {
        QStringList set;
        const ScoreFormState& s = State();
        const std::pair<bool, const char*> flags[] = {{s.ScoresDirty, "ScoresDirty"},
                                                      {s.BuyModeDirty, "BuyModeDirty"},
                                                      {s.ValueDirty, "ValueDirty"},
                                                      {s.SkillsDirty, "SkillsDirty"},
                                                      {s.GuidDirty, "GuidDirty"}};
        for (const auto& [on, name] : flags) {
            if (on) {
                set << QLatin1String(name);
            }
        }
        return set;
    }

    void Click(const QString& name) {
        QWidget* control = Control<QWidget>(Window(), name);
        QVERIFY2(control, qPrintable(name));
        QTest::mouseClick(control, Qt::LeftButton);
    }
    void Key(int index) { Click(QStringLiteral("Command1(%1)").arg(index)); }
    void ClickBox(int index) { Click(QStringLiteral("txtguid(%1)").arg(index)); }
    QString Box(int index) const {
        return Control<QLineEdit>(Window(), QStringLiteral("txtguid(%1)").arg(index))->text();
    }
    QComboBox* Combo(const char* name) const {
        return Control<QComboBox>(Window(), QLatin1String(name));
    }

    // Runs the deletions the closed window left for the event loop.
    static void RunDeferredDeletes() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

  private slots:
    void init() {
        f_ = std::make_unique<EditorFixture>();
        f_->LoadObject(SampleDefinition());
        frm_ = std::make_unique<ScoreFrm>(f_->parse, f_->desktop);
        Open();
        // The groups the design leaves outside the window are reached as a user
        // reaches them.
        ShowDetails(Window());
    }
    void cleanup() {
        frm_.reset();
        f_.reset();
        RunDeferredDeletes();
    }

    void EachControlSetsItsGroupsFlag_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QStringList>("flags");
        const QStringList scores = {"ScoresDirty"};
        const QStringList value = {"ValueDirty"};
        for (const char* name : {"hungscore", "comscore", "hygscore", "bladscore", "enerscore",
                                 "funscore", "roomscore"}) {
            QTest::newRow(name) << QString::fromLatin1(name) << scores;
        }
        for (const char* name : {"txtprice", "saleprice", "InitDep", "DailyDep", "Deplimit"}) {
            QTest::newRow(name) << QString::fromLatin1(name) << value;
        }
        QTest::newRow("selfdep") << QStringLiteral("selfdep") << value;
        for (int bit : kSkillBits) {
            const QString name = QStringLiteral("Check1(%1)").arg(bit);
            QTest::newRow(qPrintable(name)) << name << QStringList{"SkillsDirty"};
        }
        QTest::newRow("Text8 has no handler") << QStringLiteral("Text8") << QStringList{};
    }
    void EachControlSetsItsGroupsFlag() {
        QFETCH(QString, control);
        QFETCH(QStringList, flags);
        QVERIFY(SetFlags().isEmpty());
        if (auto* box = Control<QLineEdit>(Window(), control)) {
            QTest::keyClicks(box, QStringLiteral("abc"));
        } else {
            Click(control);
        }
        QCOMPARE(SetFlags(), flags);
        // Nothing typed reaches the attribute table.
        QCOMPARE(f_->parse.ObjectAttributes[0].HungerScore, std::int16_t{3});
        QCOMPARE(f_->parse.ObjectAttributes[0].Price, std::int16_t{1450});
    }

    void ClearingATickedSkillLeavesItsFlag() {
        Click(QStringLiteral("Check1(4)"));
        Click(QStringLiteral("Check1(4)"));
        QCOMPARE(Control<QCheckBox>(Window(), "Check1(4)")->checkState(), Qt::Unchecked);
        QCOMPARE(SetFlags(), QStringList{"SkillsDirty"});
    }

    void SelfDepreciatingClicksTickAndClearButNeverGrey() {
        auto* box = Control<QCheckBox>(Window(), "selfdep");
        QCOMPARE(box->checkState(), Qt::Checked);
        Click(QStringLiteral("selfdep"));
        QCOMPARE(box->checkState(), Qt::Unchecked);
        Click(QStringLiteral("selfdep"));
        QCOMPARE(box->checkState(), Qt::Checked);
    }

    void CategoryChoicesStoreTheirBitsUntilTheNextDecode() {
        ChooseEntry(Combo("Combo1"), 5);
        QCOMPARE(Combo("Combo1")->currentText(), QStringLiteral("Outside"));
        QCOMPARE(f_->parse.ObjectAttributes[0].RoomFlags, std::int16_t{16});
        QCOMPARE(SetFlags(), QStringList{"BuyModeDirty"});
        ChooseEntry(Combo("Combo2"), 0);
        QCOMPARE(f_->parse.ObjectAttributes[0].TypeFlags, std::int16_t{0});

        // Selecting the object in the main list decodes its buy mode afresh.
        f_->parse.ReadObjectAttributes(0, BuyModeGroup);
        QCOMPARE(f_->parse.ObjectAttributes[0].RoomFlags, std::int16_t{8});
        QCOMPARE(f_->parse.ObjectAttributes[0].TypeFlags, std::int16_t{1});
    }

    void ChoosingTheSelectedEntryAgainStillCounts() {
        ChooseEntry(Combo("Combo1"), 4);
        QCOMPARE(SetFlags(), QStringList{"BuyModeDirty"});
    }

    void TypingIntoAListsTextChangesNothing() {
        QTest::keyClicks(Combo("Combo1")->lineEdit(), QStringLiteral("Outside"));
        QTest::keyClicks(Combo("Combo2")->lineEdit(), QStringLiteral("x"));
        QVERIFY(SetFlags().isEmpty());
        QCOMPARE(f_->parse.ObjectAttributes[0].RoomFlags, std::int16_t{8});
        QCOMPARE(Combo("Combo1")->count(), 9);
    }

    void TheFirstKeyOfTheRunGoesToBoxZero() {
        QCOMPARE(State().CurGuidBox, kNoGuidBox);
        Key(7);
        QCOMPARE(Box(0), QStringLiteral("7856"));
        QCOMPARE(State().CurGuidBox, 0);
        QCOMPARE(State().GuidCursor, 1);
        QCOMPARE(SetFlags(), QStringList{"GuidDirty"});
        QCOMPARE(f_->parse.ObjectAttributes[0].GuidHex1, std::string("7856"));
    }

    void AFullBoxRefusesAFifthDigit() {
        ClickBox(2);
        QCOMPARE(Window()->focusWidget(), Control<QWidget>(Window(), "txtguid(2)"));
        for (int key : {10, 11, 12, 13}) {
            Key(key);
        }
        QCOMPARE(Box(2), QStringLiteral("ABCD"));
        Key(1);
        QCOMPARE(Box(2), QStringLiteral("ABCD"));
        QCOMPARE(State().GuidCursor, 5);
        QVERIFY(State().GuidDirty);
        QCOMPARE(Box(0), QStringLiteral("7856"));
    }

    void ABoxClickMovesTheTarget() {
        Key(1);
        Key(2);
        ClickBox(1);
        QCOMPARE(State().GuidCursor, 0);
        Key(9);
        QCOMPARE(Box(0), QStringLiteral("1256"));
        QCOMPARE(Box(1), QStringLiteral("9412"));
    }

    void ClearGuidKeepsTheCursor() {
        ClickBox(3);
        Key(1);
        Key(2);
        Click(QStringLiteral("Command3"));
        QCOMPARE(Box(3), QStringLiteral("0000"));
        Key(5);
        QCOMPARE(Box(3), QStringLiteral("0050"));
        QCOMPARE(Box(2), QStringLiteral("01EF"));
    }

    void ClearGuidWithoutABoxClearsBoxZero() {
        Click(QStringLiteral("Command3"));
        QCOMPARE(Box(0), QStringLiteral("0000"));
        QCOMPARE(Box(1), QStringLiteral("3412"));
        QCOMPARE(SetFlags(), QStringList{"GuidDirty"});
    }

    void KeyBWritesB() {
        Key(11);
        QCOMPARE(Box(0), QStringLiteral("B856"));
    }

    void SaveArtistIdDoesNothing() {
        Click(QStringLiteral("Command2"));
        QVERIFY(SetFlags().isEmpty());
        QVERIFY(frm_->IsOpen());
    }

    void OkClosesAndKeepsTheFlags() {
        QPointer<QWidget> window = Window();
        Key(3);
        QTest::keyClicks(Control<QLineEdit>(Window(), "funscore"), QStringLiteral("1"));
        Click(QStringLiteral("cmdOK"));
        QVERIFY(!frm_->IsOpen());
        QVERIFY(frm_->window() == nullptr);
        QCOMPARE(SetFlags(), QStringList({"ScoresDirty", "GuidDirty"}));
        RunDeferredDeletes();
        QVERIFY(window.isNull());
    }

    void CancelClearsTheFlagsButNotAChosenCategory() {
        ChooseEntry(Combo("Combo1"), 7);
        Key(3);
        Click(QStringLiteral("Check1(1)"));
        Click(QStringLiteral("cmdCancel"));
        QVERIFY(!frm_->IsOpen());
        QVERIFY(SetFlags().isEmpty());
        QCOMPARE(f_->parse.ObjectAttributes[0].RoomFlags, std::int16_t{64});
    }

    void CancelRightAfterOpening() {
        Click(QStringLiteral("cmdCancel"));
        QVERIFY(!frm_->IsOpen());
        QVERIFY(SetFlags().isEmpty());
    }

    void TheCloseBoxActsLikeOk() {
        Key(3);
        QVERIFY(Window()->close());
        QVERIFY(!frm_->IsOpen());
        QCOMPARE(SetFlags(), QStringList{"GuidDirty"});
    }

    void EnterIsOkAndEscapeIsCancel() {
        ClickBox(1);
        Key(4);
        QTest::keyClick(Control<QWidget>(Window(), "txtguid(1)"), Qt::Key_Return);
        QVERIFY(!frm_->IsOpen());
        QCOMPARE(SetFlags(), QStringList{"GuidDirty"});

        // Enter on a keypad button is still OK, not another press of the key.
        Open();
        Key(4);
        QTest::keyClick(Control<QWidget>(Window(), "Command1(4)"), Qt::Key_Return);
        QVERIFY(!frm_->IsOpen());

        Open();
        Key(4);
        QTest::keyClick(Control<QWidget>(Window(), "txtguid(1)"), Qt::Key_Escape);
        QVERIFY(!frm_->IsOpen());
        QVERIFY(SetFlags().isEmpty());
    }

    void ReopeningReloadsEverythingFromTheFile() {
        const Bytes before = f_->FileBytes();
        QPointer<QWidget> first = Window();
        ClickBox(4);
        Key(15);
        QTest::keyClicks(Control<QLineEdit>(Window(), "hungscore"), QStringLiteral("9"));
        Click(QStringLiteral("Check1(32)"));
        ChooseEntry(Combo("Combo2"), 3);
        Click(QStringLiteral("cmdOK"));

        Open();
        QVERIFY(Window() != first);
        QCOMPARE(Control<QLineEdit>(Window(), "hungscore")->text(), QStringLiteral("3"));
        QCOMPARE(Box(4), QStringLiteral("0DF0"));
        QCOMPARE(Control<QCheckBox>(Window(), "Check1(32)")->checkState(), Qt::Unchecked);
        QCOMPARE(Combo("Combo2")->currentText(), QStringLiteral("Seating"));
        QVERIFY(SetFlags().isEmpty());
        QCOMPARE(State().CurGuidBox, kNoGuidBox);
        QCOMPARE(State().GuidCursor, 0);
        // A new window starts in the designed arrangement.
        QCOMPARE(Window()->size(), QSize(361, 153));
        Key(1);
        QCOMPARE(Box(0), QStringLiteral("1856"));

        Click(QStringLiteral("cmdCancel"));
        QCOMPARE(f_->FileBytes(), before);
    }
};

}  // namespace marrowick::test

QTEST_MAIN(marrowick::test::ScoreFrmEditingTest)
#include "score_frm_editing_test.moc"
