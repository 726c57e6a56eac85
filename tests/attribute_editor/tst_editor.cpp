// The editor: the fields it loads, its flags, lists, keypad and ways to close.
#include "gui_harness.h"
#include "score_window.h"

namespace marrowick::test {
namespace {

const QString kGuids = u"7856|3412|01EF|CDAB|0DF0|AD0B"_s;
const QString kBoxes = u"txtguid(0) txtguid(1) txtguid(2) txtguid(3) txtguid(4) txtguid(5)"_s;

// The Dirty flags (Scores, BuyMode, Value, sKills, Guid, or '-'), the GUID
// boxes, and the room and type bytes in the attribute table.
QString State(const Harness& h) {
    const ScoreFormState& s = h.editor.State();
    const char flags[] = {s.ScoresDirty ? 'S' : '-', s.BuyModeDirty ? 'B' : '-',
                          s.ValueDirty ? 'V' : '-', s.SkillsDirty ? 'K' : '-',
                          s.GuidDirty ? 'G' : '-'};
    const ObjectAttributeRow& row = h.parse.ObjectAttributes[0];
    return QLatin1String(flags, 5) + u'|' + (h.editor.IsOpen() ? h.EdShown(kBoxes) : u"closed"_s) +
           u"|%1 %2"_s.arg(row.RoomFlags).arg(row.TypeFlags);
}

// Opens a file of one object, `def`; Get GUID!; every group in view.
void OpenEditor(Harness& h, const ObjectDefinition& def = kSample) {
    IffBuilder file;
    file.Object(128, "Chair", def);
    h.Open(h.Write(u"objects.iff"_s, file.Build()));
    h.GetGuid();
    h.editor.scoreWindow()->ShowDetails(true);
}

}  // namespace

// A window of its own, on a listed object only; Ctrl+D toggles the details.
void WindowTests::loadsEveryField() {
    Harness h;
    OpenEditor(h);
    QWidget* w = h.editor.window();
    QVERIFY(w->isVisible() && !w->isModal() && w->parentWidget() == nullptr);
    QCOMPARE(h.EdShown(u"Label27 hungscore comscore hygscore bladscore enerscore funscore "
                       "roomscore txtprice saleprice InitDep DailyDep Deplimit Text8 Combo1 "
                       "Combo2"_s),
             u"Chair|3|-25|5|6|7|8|-32768|1450|900|200|15|400|8|4 Living Room|1 Seating"_s);
    QCOMPARE(State(h), u"-----|"_s + kGuids + u"|8 1"_s);
    QVERIFY(w->width() > 361 && w->height() > 153 && h.Ed(u"Frame5"_s)->isHidden() &&
            h.Ed(u"Check1(0)"_s)->isHidden());
    QCOMPARE(w->findChildren<QLineEdit*>(QRegularExpression(u"^txtguid"_s)).size(), 6);
    QCOMPARE(w->findChildren<QPushButton*>(QRegularExpression(u"^Command1\\("_s)).size(), 16);
    QCOMPARE(w->contextMenuPolicy(), Qt::ActionsContextMenu);
    Harness::PressCtrlD(w);
    QVERIFY(w->size() == QSize(361, 153) && !h.Ed(u"Frame5"_s)->isHidden());
    h.Do(u"cmdOK"_s);
    h.editor.Open(1, u"Past  129"_s);  // one past the last object
    QVERIFY(!h.editor.IsOpen());
    ScoreFormState state(h.parse);  // the keypad's cursor stops short of wrapping
    for (int i = 0; i <= kMaxGuidCursor; ++i) {
        state.PressDigit(1, "1111");
    }
    QCOMPARE(state.GuidCursor, kMaxGuidCursor);
}

void WindowTests::loading_data() {
    // The tag is the room, type and skill byte, modulo 3 the self-depreciating
    // value: the skill boxes, Text8, the self-depreciating box, the two lists.
    QTest::addColumn<QString>("shown");
    QTest::newRow("0") << u"0|0|0|0|0|0|0|0|0|0|0 Not in buy mode|0 Not in buy mode"_s;
    QTest::newRow("1") << u"0|2|0|0|0|0|0|0|1|2|1 Kitchen|1 Seating"_s;
    QTest::newRow("2") << u"0|0|2|0|0|0|0|0|2|1|2 Bedroom|2 Surface"_s;
    QTest::newRow("4") << u"0|0|0|2|0|0|0|0|4|2|3 Bathroom|3 Appliances"_s;
    QTest::newRow("8") << u"0|0|0|0|2|0|0|0|8|1|4 Living Room|4 Electonics"_s;
    QTest::newRow("16") << u"0|0|0|0|0|2|0|0|16|2|5 Outside|5 Plumbing"_s;
    QTest::newRow("32") << u"0|0|0|0|0|0|2|0|32|1|6 Dining Room|6 Decorative"_s;
    QTest::newRow("64") << u"0|0|0|0|0|0|0|2|64|2|7 Misc|7 Misc"_s;
    QTest::newRow("128") << u"0|0|0|0|0|0|0|0|128|1|8 Study|8 Lighting"_s;
    QTest::newRow("43") << u"0|2|2|0|2|0|2|0|43|2|-1 Kitchen, Bedroom, Living Room, Dining Room|-1 "
                           "Seating, Surfaces, Electronics, Decorative"_s;
}
// Each skill bit ticks its box; a byte of one category selects its entry, any
// other shows its names. A click ticks a clear box and clears any other.
void WindowTests::loading() {
    const int byte = QByteArray(QTest::currentDataTag()).toInt();
    ObjectDefinition def = kSample;
    def.skill_flag = static_cast<std::int16_t>(byte);
    def.self_depreciating = static_cast<std::int16_t>(byte % 3);
    def.room_flags = def.type_flags = static_cast<std::uint16_t>(byte);
    Harness h;
    OpenEditor(h, def);
    QCOMPARE(State(h), u"-----|%1|%2 %2"_s.arg(kGuids).arg(byte));
    QTEST(h.EdShown(u"Check1(0) Check1(1) Check1(2) Check1(4) Check1(8) Check1(16) Check1(32) "
                    "Check1(64) Text8 selfdep Combo1 Combo2"_s),
          "shown");
    h.Do(u"selfdep"_s);
    QCOMPARE(h.EdShown(u"selfdep"_s), byte % 3 == 0 ? u"2"_s : u"0"_s);
}

void WindowTests::actions_data() {
    QTest::addColumn<QString>("state");
    const auto row = [](const QString& script, const QString& state) {
        QTest::newRow(qPrintable(script)) << state;
    };
    const QString loaded = u'|' + kGuids + u"|8 1"_s;
    // The keypad overwrites the current GUID box digit by digit.
    row(u"B"_s, u"----G|B856|3412|01EF|CDAB|0DF0|AD0B|8 1"_s);
    row(u"b2 A B C D 1"_s, u"----G|7856|3412|ABCD|CDAB|0DF0|AD0B|8 1"_s);
    row(u"1 2 b1 9"_s, u"----G|1256|9412|01EF|CDAB|0DF0|AD0B|8 1"_s);
    row(u"b5 F"_s, u"----G|7856|3412|01EF|CDAB|0DF0|FD0B|8 1"_s);
    row(u"b3 1 2 x 5"_s, u"----G|7856|3412|01EF|0050|0DF0|AD0B|8 1"_s);
    row(u"x"_s, u"----G|0000|3412|01EF|CDAB|0DF0|AD0B|8 1"_s);
    // A choice stores its bit in the attribute table.
    row(u"Combo1@0"_s, u"-B---|"_s + kGuids + u"|0 1"_s);
    row(u"Combo1@8"_s, u"-B---|"_s + kGuids + u"|128 1"_s);
    row(u"Combo1@4"_s, u"-B---"_s + loaded);
    row(u"Combo2@0"_s, u"-B---|"_s + kGuids + u"|8 0"_s);
    row(u"Combo2@8"_s, u"-B---|"_s + kGuids + u"|8 128"_s);
    // Each control sets its group's flag. Text8 has no handler, text typed
    // into a list is no choice, and "Save Artist ID" (Command2) does nothing.
    for (const QString& group :
         {u"S---- hungscore= comscore= hygscore= bladscore= enerscore= funscore= roomscore="_s,
          u"--V-- txtprice= saleprice= InitDep= DailyDep= Deplimit= selfdep"_s,
          u"---K- Check1(1) Check1(2) Check1(4) Check1(8) Check1(16) Check1(32) Check1(64)"_s,
          u"----- Text8= Combo1= Command2"_s}) {
        for (const QString& control : group.split(u' ').mid(1)) {
            row(control.endsWith(u'=') ? control + u"12"_s : control, group.left(5) + loaded);
        }
    }
    // Every way closes, and only Cancel and Escape drop the flags. Nothing is
    // kept: Get GUID! loads afresh, and the keypad starts again at box 0.
    for (const QString& close :
         u"cmdOK close txtguid(1)>Enter Command1(4)>Enter cmdCancel txtguid(1)>Escape"_s.split(
             u' ')) {
        const bool kept = !close.contains(u"Cancel"_s) && !close.contains(u"Escape"_s);
        row(u"B hungscore=1 Combo1@7 "_s + close,
            (kept ? u"SB--G"_s : u"-----"_s) + u"|closed|64 1"_s);
    }
    row(u"B hungscore=1 cmdOK Get 1"_s, u"----G|1856|3412|01EF|CDAB|0DF0|AD0B|8 1"_s);
}
void WindowTests::actions() {
    Harness h;
    OpenEditor(h);
    h.Do(QLatin1String(QTest::currentDataTag()));
    QTEST(State(h), "state");
}

}  // namespace marrowick::test
