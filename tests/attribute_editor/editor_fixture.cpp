#include "editor_fixture.h"

#include <algorithm>
#include <iterator>

#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QTest>

#include "window_look.h"

namespace marrowick::test {

void EditorFixture::Load(const IffBuilder& builder) {
    path_ = dir_.filePath(QStringLiteral("objects.iff")).toStdString();
    builder.Write(path_);
    parse.CurrentFile = path_;
    parse.ScanObjectFile(path_);
    entries_ = FillObjectList(parse);
}

void EditorFixture::LoadObject(const ObjectDefinition& definition, const std::string& label) {
    IffBuilder builder;
    builder.Object(128, label, definition);
    Load(builder);
}

QString EditorFixture::EntryText(int index) const {
    return FromFileText(entries_.at(static_cast<std::size_t>(index)).Text);
}

ObjectDefinition SampleDefinition() {
    ObjectDefinition d;
    d.guid = 0x12345678;           // bytes 78 56 34 12
    d.original_guid = 0xABCDEF01;  // bytes 01 EF CD AB
    d.clone_guid = 0x0BADF00D;     // bytes 0D F0 AD 0B
    d.price = 1450;
    d.sale_price = 900;
    d.initial_depreciation = 200;
    d.daily_depreciation = 15;
    d.self_depreciating = 1;
    d.depreciation_limit = 400;
    d.room_flags = 8;
    d.type_flags = 1;
    const std::int16_t scores[7] = {3, -25, 5, 6, 7, 8, 9};
    std::copy(std::begin(scores), std::end(scores), d.scores);
    d.skill_flag = 8;
    return d;
}

void ShowDetails(QWidget* window, bool on) {
    for (QAction* action : window->actions()) {
        if (action->text() == QStringLiteral("Show details") && action->isChecked() != on) {
            action->trigger();
        }
    }
}

void ChooseEntry(QComboBox* combo, int position) {
    combo->showPopup();
    QAbstractItemView* view = combo->view();
    const QRect item = view->visualRect(view->model()->index(position, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, item.center());
}

}  // namespace marrowick::test
