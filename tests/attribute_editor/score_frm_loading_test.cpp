// Opening the editor and what loading shows: every control filled from the
// object file, the design's names, places and colours, and the flags clear.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "editor_fixture.h"
#include "score_frm.h"

namespace marrowick::test {

class ScoreFrmLoadingTest : public QObject {
    Q_OBJECT

  private:
    // The ticked skill boxes, by bit value.
    static QList<int> TickedSkills(const QWidget* window) {
        QList<int> ticked;
        for (int bit : kSkillBits) {
            const auto* box = Control<QCheckBox>(window, QStringLiteral("Check1(%1)").arg(bit));
            if (box->checkState() == Qt::Checked) {
                ticked.append(bit);
            }
        }
        return ticked;
    }

    static QString Text(const QWidget* window, const QString& name) {
        return Control<QLineEdit>(window, name)->text();
    }

  private slots:
    void NoObjectsOpensNothing() {
        EditorFixture f;
        f.Load(IffBuilder{});
        ScoreFrm frm(f.parse, f.desktop);
        frm.Open(0, QString());
        QVERIFY(!frm.IsOpen());
        QVERIFY(frm.window() == nullptr);
    }

    void LoadingFillsEveryControlAndEndsWithTheFlagsClear() {
        EditorFixture f;
        f.LoadObject(SampleDefinition());
        ScoreFrm frm(f.parse, f.desktop);
        frm.Open(0, f.EntryText(0));
        QVERIFY(frm.IsOpen());
        const QWidget* w = frm.window();
        QVERIFY(w->isVisible());
        QCOMPARE(w->windowTitle(), QStringLiteral("GUID"));
        QVERIFY(w->parentWidget() == nullptr);
        QVERIFY(!w->isModal());

        QCOMPARE(Control<QLabel>(w, "Label27")->text(), QStringLiteral("Chair"));
        const QStringList scores = {Text(w, "hungscore"), Text(w, "comscore"),  Text(w, "hygscore"),
                                    Text(w, "bladscore"), Text(w, "enerscore"), Text(w, "funscore"),
                                    Text(w, "roomscore")};
        QCOMPARE(scores, QStringList({"3", "-25", "5", "6", "7", "8", "9"}));
        const QStringList values = {Text(w, "txtprice"), Text(w, "saleprice"), Text(w, "InitDep"),
                                    Text(w, "DailyDep"), Text(w, "Deplimit")};
        QCOMPARE(values, QStringList({"1450", "900", "200", "15", "400"}));
        QCOMPARE(Control<QCheckBox>(w, "selfdep")->checkState(), Qt::Checked);
        QCOMPARE(Text(w, "Text8"), QStringLiteral("8"));
        QCOMPARE(Control<QComboBox>(w, "Combo1")->currentText(), QStringLiteral("Living Room"));
        QCOMPARE(Control<QComboBox>(w, "Combo2")->currentText(), QStringLiteral("Seating"));
        QStringList guids;
        for (int i = 0; i < 6; ++i) {
            guids << Text(w, QStringLiteral("txtguid(%1)").arg(i));
        }
        QCOMPARE(guids, QStringList({"7856", "3412", "01EF", "CDAB", "0DF0", "AD0B"}));
        QCOMPARE(Control<QCheckBox>(w, "Check1(0)")->checkState(), Qt::Unchecked);

        const ScoreFormState& s = frm.State();
        QCOMPARE(s.ObjIndex, 0);
        QVERIFY(!s.ScoresDirty && !s.BuyModeDirty && !s.ValueDirty && !s.SkillsDirty &&
                !s.GuidDirty);
        QCOMPARE(s.GuidCursor, 0);
        // The lists stored the selected entries' bits, which are the file's.
        QCOMPARE(f.parse.ObjectAttributes[0].RoomFlags, std::int16_t{8});
        QCOMPARE(f.parse.ObjectAttributes[0].TypeFlags, std::int16_t{1});
    }

    void ObjectLabelDropsTheBlanksAndId_data() {
        QTest::addColumn<QByteArray>("label");
        QTest::addColumn<QString>("shown");
        QTest::newRow("short label") << QByteArray("Chair") << QStringLiteral("Chair");
        QTest::newRow("markup stays text") << QByteArray("<b>Chair</b> &amp; <i>x</i>")
                                           << QStringLiteral("<b>Chair</b> &amp; <i>x</i>");
        QTest::newRow("Windows-1252")
            << QByteArray("Caf\xe9 Table") << QStringLiteral("Café Table");
    }
    void ObjectLabelDropsTheBlanksAndId() {
        QFETCH(QByteArray, label);
        QFETCH(QString, shown);
        EditorFixture f;
        f.LoadObject(SampleDefinition(), label.toStdString());
        ScoreFrm frm(f.parse, f.desktop);
        frm.Open(0, f.EntryText(0));
        const auto* label27 = Control<QLabel>(frm.window(), "Label27");
        QCOMPARE(label27->text(), shown);
        QCOMPARE(label27->textFormat(), Qt::PlainText);
    }

    void SkillBoxesShowEverySetBit_data() {
        QTest::addColumn<int>("flag");
        QTest::addColumn<QList<int>>("ticked");
        QTest::newRow("8, Body") << 8 << QList<int>{8};
        QTest::newRow("65, Cooking and Study") << 65 << QList<int>{1, 64};
        QTest::newRow("66, Mechanical and Study") << 66 << QList<int>{2, 64};
        QTest::newRow("67") << 67 << QList<int>{1, 2, 64};
        QTest::newRow("3, two bits") << 3 << QList<int>{1, 2};
        QTest::newRow("128, no skill") << 128 << QList<int>{};
        QTest::newRow("0") << 0 << QList<int>{};
    }
    void SkillBoxesShowEverySetBit() {
        QFETCH(int, flag);
        QFETCH(QList<int>, ticked);
        EditorFixture f;
        ObjectDefinition d = SampleDefinition();
        d.skill_flag = static_cast<std::int16_t>(flag);
        f.LoadObject(d);
        ScoreFrm frm(f.parse, f.desktop);
        frm.Open(0, f.EntryText(0));
        QCOMPARE(TickedSkills(frm.window()), ticked);
        QCOMPARE(Text(frm.window(), "Text8"), QString::number(flag));
        QVERIFY(!frm.State().SkillsDirty);
    }

    void CategoryListsHoldTheirEntriesAndSelectTheObjects() {
        EditorFixture f;
        ObjectDefinition d = SampleDefinition();
        d.room_flags = 8;
        d.type_flags = 128;
        f.LoadObject(d);
        ScoreFrm frm(f.parse, f.desktop);
        frm.Open(0, f.EntryText(0));
        const auto* rooms = Control<QComboBox>(frm.window(), "Combo1");
        const auto* types = Control<QComboBox>(frm.window(), "Combo2");
        QVERIFY(rooms->isEditable() && types->isEditable());
        QCOMPARE(rooms->currentIndex(), 4);
        QCOMPARE(rooms->currentText(), QStringLiteral("Living Room"));
        QCOMPARE(types->currentIndex(), 8);
        QCOMPARE(types->currentText(), QStringLiteral("Lighting"));

        const QStringList typeTexts = {"Not in buy mode", "Seating",    "Surface",
                                       "Appliances",      "Electonics", "Plumbing",
                                       "Decorative",      "Misc",       "Lighting"};
        const QStringList roomTexts = {"Not in buy mode", "Kitchen",     "Bedroom",
                                       "Bathroom",        "Living Room", "Outside",
                                       "Dining Room",     "Misc",        "Study"};
        QCOMPARE(rooms->count(), 9);
        QCOMPARE(types->count(), 9);
        for (int i = 0; i < 9; ++i) {
            const int bit = i == 0 ? 0 : 1 << (i - 1);
            QCOMPARE(rooms->itemText(i), roomTexts[i]);
            QCOMPARE(types->itemText(i), typeTexts[i]);
            QCOMPARE(rooms->itemData(i).toInt(), bit);
            QCOMPARE(types->itemData(i).toInt(), bit);
        }
    }

    void SeveralBitsSelectNoEntryAndStoreNothing() {
        EditorFixture f;
        ObjectDefinition d = SampleDefinition();
        d.room_flags = 43;  // Kitchen, Bedroom, Living Room, Dining Room
        d.type_flags = 0;
        f.LoadObject(d);
        // An earlier decode left a list position that is not this object's.
        f.parse.RoomIndex = 5;
        ScoreFrm frm(f.parse, f.desktop);
        frm.Open(0, f.EntryText(0));
        const auto* rooms = Control<QComboBox>(frm.window(), "Combo1");
        QCOMPARE(rooms->currentIndex(), -1);
        QCOMPARE(rooms->currentText(),
                 QStringLiteral("Kitchen, Bedroom, Living Room, Dining Room"));
        QCOMPARE(f.parse.ObjectAttributes[0].RoomFlags, std::int16_t{43});
        QCOMPARE(Control<QComboBox>(frm.window(), "Combo2")->currentText(),
                 QStringLiteral("Not in buy mode"));
    }

    void SelfDepreciatingShowsItsThreeStates_data() {
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("state");
        QTest::newRow("0 clear") << 0 << int(Qt::Unchecked);
        QTest::newRow("1 ticked") << 1 << int(Qt::Checked);
        QTest::newRow("2 grey") << 2 << int(Qt::PartiallyChecked);
        QTest::newRow("3 grey") << 3 << int(Qt::PartiallyChecked);
        QTest::newRow("-1 grey") << -1 << int(Qt::PartiallyChecked);
    }
    void SelfDepreciatingShowsItsThreeStates() {
        QFETCH(int, value);
        QFETCH(int, state);
        EditorFixture f;
        ObjectDefinition d = SampleDefinition();
        d.self_depreciating = static_cast<std::int16_t>(value);
        f.LoadObject(d);
        ScoreFrm frm(f.parse, f.desktop);
        frm.Open(0, f.EntryText(0));
        QCOMPARE(int(Control<QCheckBox>(frm.window(), "selfdep")->checkState()), state);
        QVERIFY(!frm.State().ValueDirty);
    }

    void NegativeAndExtremeNumbersShowSigned() {
        EditorFixture f;
        ObjectDefinition d = SampleDefinition();
        d.scores[0] = -1;
        d.scores[6] = -32768;
        d.price = -1;
        d.skill_flag = -1;
        f.LoadObject(d);
        ScoreFrm frm(f.parse, f.desktop);
        frm.Open(0, f.EntryText(0));
        QCOMPARE(Text(frm.window(), "hungscore"), QStringLiteral("-1"));
        QCOMPARE(Text(frm.window(), "roomscore"), QStringLiteral("-32768"));
        QCOMPARE(Text(frm.window(), "txtprice"), QStringLiteral("-1"));
        QCOMPARE(Text(frm.window(), "Text8"), QStringLiteral("-1"));
        QCOMPARE(TickedSkills(frm.window()), QList<int>({1, 2, 4, 8, 16, 32, 64}));
    }

    void OpeningAgainKeepsTheFirstObject() {
        EditorFixture f;
        IffBuilder builder;
        ObjectDefinition first = SampleDefinition();
        ObjectDefinition second = SampleDefinition();
        second.scores[0] = 77;
        builder.Object(128, "Chair", first);
        builder.Object(129, "Lamp", second);
        f.Load(builder);
        ScoreFrm frm(f.parse, f.desktop);
        frm.Open(0, f.EntryText(0));
        QWidget* window = frm.window();
        frm.Open(1, f.EntryText(1));
        QCOMPARE(frm.window(), window);
        QCOMPARE(frm.State().ObjIndex, 0);
        QCOMPARE(Control<QLabel>(window, "Label27")->text(), QStringLiteral("Chair"));
        QCOMPARE(Text(window, "hungscore"), QStringLiteral("3"));
    }

    void ControlsSitWhereTheyWereDesigned() {
        EditorFixture f;
        f.LoadObject(SampleDefinition());
        ScoreFrm frm(f.parse, f.desktop);
        frm.Open(0, f.EntryText(0));
        const QWidget* w = frm.window();
        QCOMPARE(w->size(), QSize(361, 153));
        const auto at = [w](const char* name) {
            return Control<QWidget>(w, QLatin1String(name))->geometry();
        };
        QCOMPARE(at("Frame3(1)"), QRect(8, 8, 345, 41));
        QCOMPARE(at("Label27"), QRect(8, 16, 329, 17));
        QCOMPARE(at("Frame4"), QRect(8, 56, 345, 57));
        QCOMPARE(at("txtguid(1)"), QRect(88, 24, 41, 19));
        QCOMPARE(at("txtguid(3)"), QRect(296, 24, 41, 19));
        QCOMPARE(at("txtguid(5)"), QRect(72, 232, 41, 19));
        QCOMPARE(at("Command3"), QRect(64, 224, 65, 25));
        QCOMPARE(at("cmdOK"), QRect(8, 120, 169, 25));
        QCOMPARE(at("cmdCancel"), QRect(184, 120, 169, 25));
        QCOMPARE(at("Frame1"), QRect(120, 400, 297, 193));
        QCOMPARE(at("Frame3(0)"), QRect(112, 408, 297, 121));
        QCOMPARE(at("Check1(0)"), QRect(192, 536, 17, 13));
        QCOMPARE(at("Check1(64)"), QRect(160, 168, 17, 13));
        QCOMPARE(at("Text8"), QRect(328, 24, 73, 19));

        for (int i = 0; i < 16; ++i) {
            const auto* key = Control<QPushButton>(w, QStringLiteral("Command1(%1)").arg(i));
            QVERIFY(key);
            QCOMPARE(key->text(), QString(QLatin1Char("0123456789ABCDEF"[i])));
            QCOMPARE(key->geometry().top(), 224);
            QCOMPARE(key->size(), QSize(25, 25));
        }
        for (int i = 0; i < 6; ++i) {
            const auto* box = Control<QLineEdit>(w, QStringLiteral("txtguid(%1)").arg(i));
            QVERIFY(box->isReadOnly());
            QCOMPARE(box->maxLength(), 4);
        }
        for (int bit : {0, 1, 2, 4, 8, 16, 32, 64}) {
            const auto* box = Control<QCheckBox>(w, QStringLiteral("Check1(%1)").arg(bit));
            QVERIFY(box);
            QCOMPARE(box->text(), QStringLiteral("Check1"));
        }
        QCOMPARE(Control<QGroupBox>(w, "Frame5")->title(),
                 QStringLiteral("Coming Soon - More Attributes!"));
        QCOMPARE(Control<QPushButton>(w, "Command2")->text(), QStringLiteral("Save Artist ID"));
        QCOMPARE(Control<QLabel>(w, "Label26")->text(), QStringLiteral("Attribute Clone:"));
    }

    void ColoursFollowTheDesign() {
        EditorFixture f;
        f.LoadObject(SampleDefinition());
        ScoreFrm frm(f.parse, f.desktop);
        frm.Open(0, f.EntryText(0));
        const QWidget* w = frm.window();
        const QColor darkBlue(0, 0, 128);
        const auto colour = [w](const char* name, QPalette::ColorRole role) {
            return Control<QWidget>(w, QLatin1String(name))->palette().color(role);
        };
        QCOMPARE(w->palette().color(QPalette::Window), darkBlue);
        QCOMPARE(colour("Frame4", QPalette::Window), darkBlue);
        QCOMPARE(colour("Label27", QPalette::WindowText), QColor(Qt::white));
        QCOMPARE(colour("Label23", QPalette::WindowText), QColor(224, 224, 224));
        QCOMPARE(colour("Label25", QPalette::Window), darkBlue);
        QCOMPARE(colour("cmdOK", QPalette::Button), QColor(Qt::white));
        QCOMPARE(colour("cmdCancel", QPalette::Button), QColor(Qt::white));
        // Everything else keeps the toolkit's colours, not the window's blue.
        const QPalette standard = QApplication::palette();
        QCOMPARE(colour("Command1(11)", QPalette::Button), standard.color(QPalette::Button));
        QCOMPARE(colour("Frame1", QPalette::Window), standard.color(QPalette::Window));
        QCOMPARE(colour("Label26", QPalette::WindowText), standard.color(QPalette::WindowText));
        QCOMPARE(colour("Check1(0)", QPalette::Window), standard.color(QPalette::Window));
    }

    void CaptionsInViewFitTheirDesignedWidths() {
        EditorFixture f;
        f.LoadObject(SampleDefinition());
        ScoreFrm frm(f.parse, f.desktop);
        frm.Open(0, f.EntryText(0));
        for (const char* name : {"Label23", "Label25"}) {
            const auto* label = Control<QLabel>(frm.window(), QLatin1String(name));
            QVERIFY2(label->fontMetrics().horizontalAdvance(label->text()) <= label->width(), name);
        }
    }
};

}  // namespace marrowick::test

QTEST_MAIN(marrowick::test::ScoreFrmLoadingTest)
#include "score_frm_loading_test.moc"
