#include "score_window.h"

#include <bit>

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>

#include "category_lists.h"
#include "object_list.h"
#include "score_form_state.h"
#include "score_layout.h"
#include "window_look.h"

namespace marrowick {
namespace {

QString Number(std::int16_t value) {
    return QString::number(value);
}

// The file's 0, 1 and 2 are clear, ticked and grey; Qt numbers its states
// differently. Any other value is shown grey: neither clear nor ticked.
Qt::CheckState SelfDepreciatingState(std::int16_t value) {
    switch (value) {
        case 0:
            return Qt::Unchecked;
        case 1:
            return Qt::Checked;
        default:
            return Qt::PartiallyChecked;
    }
}

}  // namespace

ScoreWindow::ScoreWindow(ScoreFormState& state) : state_(state) {
    setObjectName(QStringLiteral("ScoreFrm"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("GUID"));
    controls_ = BuildScoreControls(this);

    details_ = new QAction(tr("Show details"), this);
    details_->setObjectName(QStringLiteral("ShowDetailsAction"));
    details_->setCheckable(true);
    details_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    addAction(details_);
    setContextMenuPolicy(Qt::ActionsContextMenu);
    setToolTip(tr("Right-click the window or press Ctrl+D to show or hide every attribute."));
    connect(details_, &QAction::toggled, this, &ScoreWindow::ApplyLayout);
    ApplyLayout(false);

    ConnectEditTracking();
    ConnectKeypadAndButtons();
}

void ScoreWindow::ConnectEditTracking() {
    for (QLineEdit* box : controls_.scoreBoxes) {
        connect(box, &QLineEdit::textChanged, this, [this] { state_.ScoreEdited(); });
    }
    for (QLineEdit* box : controls_.valueBoxes) {
        connect(box, &QLineEdit::textChanged, this, [this] { state_.ValueEdited(); });
    }
    // A check box's state changes from code report a click as a user's do.
    connect(controls_.selfDepreciating, &QCheckBox::stateChanged, this,
            [this] { state_.ValueEdited(); });
    for (QCheckBox* box : controls_.skillBoxes) {
        connect(box, &QCheckBox::stateChanged, this, [this] { state_.SkillClicked(); });
    }
    connect(controls_.strayCheck, &QCheckBox::stateChanged, this,
            [this] { state_.SkillClicked(); });
    // `activated` is a choice in the list (not text typed into the box);
    // choices made from code go through SelectEntry.
    connect(controls_.rooms, &QComboBox::activated, this, [this] { Combo1_Click(); });
    connect(controls_.types, &QComboBox::activated, this, [this] { Combo2_Click(); });
}

void ScoreWindow::ConnectKeypadAndButtons() {
    for (int i = 0; i < kKeypadKeys; ++i) {
        connect(controls_.keypad[static_cast<std::size_t>(i)], &QPushButton::clicked, this,
                [this, i] { Command1_Click(i); });
    }
    for (QLineEdit* box : controls_.guidBoxes) {
        box->installEventFilter(this);
    }
    connect(controls_.clearGuid, &QPushButton::clicked, this, [this] { Command3_Click(); });
    connect(controls_.ok, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(controls_.cancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
}

void ScoreWindow::Form_Load(int currentObject, const QString& entryText) {
    ScoreControls& c = controls_;
    state_.BeginLoading(currentObject);
    c.objectLabel->setText(QString::fromStdString(ObjectLabelFromEntry(entryText.toStdString())));

    state_.ReadGroup(ScoreGroup);
    const ObjectAttributeRow& row = state_.Row();
    const std::int16_t scores[kScoreCount] = {row.HungerScore,  row.ComfortScore, row.HygieneScore,
                                              row.BladderScore, row.EnergyScore,  row.FunScore,
                                              row.RoomScore};
    for (std::size_t i = 0; i < kScoreCount; ++i) {
        c.scoreBoxes[i]->setText(Number(scores[i]));
    }

    state_.ReadGroup(ValueGroup);
    const std::int16_t values[kValueCount] = {row.Price, row.SalePrice, row.InitialDepreciation,
                                              row.DailyDepreciation, row.DepreciationLimit};
    for (std::size_t i = 0; i < kValueCount; ++i) {
        c.valueBoxes[i]->setText(Number(values[i]));
    }
    c.selfDepreciating->setCheckState(SelfDepreciatingState(row.SelfDepreciating));

    state_.ReadGroup(SkillGroup);
    for (int bit : SkillBoxesToTick(row.SkillFlag)) {
        const auto box = static_cast<std::size_t>(std::countr_zero(static_cast<unsigned>(bit)));
        c.skillBoxes[box]->setChecked(true);
    }
    c.skillFlag->setText(Number(row.SkillFlag));

    FillCategoryLists();
    state_.ReadGroup(BuyModeGroup);
    const ParseIFF& parse = state_.Parse();
    SelectEntry(c.rooms, parse.RoomIndex, FromUtf8(parse.RoomName), &ScoreWindow::Combo1_Click);
    SelectEntry(c.types, parse.TypeIndex, FromUtf8(parse.TypeName), &ScoreWindow::Combo2_Click);

    state_.ReadGroup(GuidGroup);
    const std::string* guids[kGuidBoxCount] = {&row.GuidHex1,      &row.GuidHex2,
                                               &row.OrigGuidHex1,  &row.OrigGuidHex2,
                                               &row.CloneGuidHex1, &row.CloneGuidHex2};
    for (std::size_t i = 0; i < kGuidBoxCount; ++i) {
        c.guidBoxes[i]->setText(QString::fromStdString(*guids[i]));
    }
    state_.EndLoading();
    // The first control in the tab order is a locked GUID box; OK is where a
    // keyboard user wants to start.
    c.ok->setFocus();
}

void ScoreWindow::FillCategoryLists() {
    const auto fill = [](QComboBox* combo, const auto& entries) {
        for (const CategoryEntry& entry : entries) {
            combo->addItem(QLatin1String(entry.text), entry.itemData);
        }
        // Adding entries selects nothing: the box keeps its own name as text
        // until an entry is selected.
        const QString text = combo->objectName();
        combo->setCurrentIndex(-1);
        combo->setEditText(text);
    };
    fill(controls_.rooms, kRoomEntries);
    fill(controls_.types, kTypeEntries);
}

void ScoreWindow::SelectEntry(QComboBox* combo, int position, const QString& decodedName,
                              void (ScoreWindow::*click)()) {
    if (position >= 0 && position < combo->count()) {
        combo->setCurrentIndex(position);
        (this->*click)();
        return;
    }
    combo->setCurrentIndex(-1);
    combo->setEditText(decodedName);
    // A name of several categories is long; its start says most.
    combo->lineEdit()->setCursorPosition(0);
}

void ScoreWindow::Combo1_Click() {
    const int position = controls_.rooms->currentIndex();
    if (position >= 0) {
        state_.RoomChosen(controls_.rooms->itemData(position).toInt());
    }
}

void ScoreWindow::Combo2_Click() {
    const int position = controls_.types->currentIndex();
    if (position >= 0) {
        state_.TypeChosen(controls_.types->itemData(position).toInt());
    }
}

void ScoreWindow::Command1_Click(int index) {
    QLineEdit* box = controls_.guidBoxes[static_cast<std::size_t>(state_.TargetBox())];
    box->setText(QString::fromStdString(state_.PressDigit(index, box->text().toStdString())));
}

void ScoreWindow::Command3_Click() {
    QLineEdit* box = controls_.guidBoxes[static_cast<std::size_t>(state_.TargetBox())];
    box->setText(QString::fromStdString(state_.ClearGuid()));
}

void ScoreWindow::txtguid_Click(int index) {
    controls_.guidBoxes[static_cast<std::size_t>(index)]->setFocus(Qt::MouseFocusReason);
    state_.BoxClicked(index);
}

bool ScoreWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        for (std::size_t i = 0; i < kGuidBoxCount; ++i) {
            if (watched == controls_.guidBoxes[i]) {
                txtguid_Click(static_cast<int>(i));
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void ScoreWindow::cmdOK_Click() {
    close();
}

void ScoreWindow::cmdCancel_Click() {
    state_.Cancel();
    close();
}

void ScoreWindow::reject() {
    cmdCancel_Click();
}

// The close box acts like OK. QDialog would treat it as Escape (Cancel), so
// the plain window's handling is used instead.
void ScoreWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    emit closed();
}

void ScoreWindow::ShowDetails(bool on) {
    details_->setChecked(on);
}

bool ScoreWindow::ShowsDetails() const {
    return details_->isChecked();
}

void ScoreWindow::ApplyLayout(bool details) {
    setFixedSize(details ? ApplyDetailsLayout(controls_) : ApplyDesignedLayout(controls_));
}

}  // namespace marrowick
