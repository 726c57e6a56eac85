#include "score_controls.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "window_look.h"

namespace marrowick {
namespace {

// A user's click ticks a clear box and clears any other, so the grey state
// only ever comes from the file.
class SelfDepreciatingBox final : public QCheckBox {
  public:
    using QCheckBox::QCheckBox;

  protected:
    void nextCheckState() override {
        setCheckState(checkState() == Qt::Unchecked ? Qt::Checked : Qt::Unchecked);
    }
};

// Children inherit the window's dark blue; the controls that are meant to keep
// the toolkit's colours must say so role by role.
void KeepDefaultColours(QWidget* widget) {
    const QPalette standard = QApplication::palette(widget);
    QPalette palette = widget->palette();
    for (QPalette::ColorRole role :
         {QPalette::Window, QPalette::WindowText, QPalette::Button, QPalette::ButtonText}) {
        palette.setColor(role, standard.color(role));
    }
    widget->setPalette(palette);
}

QGroupBox* Frame(QWidget* parent, const char* name, const QString& caption) {
    auto* frame = new QGroupBox(LiteralCaption(caption), parent);
    frame->setObjectName(QLatin1String(name));
    return frame;
}

// Frames out of view keep the toolkit's look, opaque as a frame is.
QGroupBox* PlainFrame(QWidget* parent, const char* name, const QString& caption) {
    QGroupBox* frame = Frame(parent, name, caption);
    KeepDefaultColours(frame);
    frame->setAutoFillBackground(true);
    return frame;
}

QLabel* Label(QWidget* parent, const QString& caption, const char* name = "") {
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::PlainText);
    label->setText(caption);
    return label;
}

QLineEdit* TextBox(QWidget* parent, const char* name) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(QLatin1String(name));
    return box;
}

QPushButton* Button(QWidget* parent, const QString& name, const QString& caption) {
    auto* button = new QPushButton(LiteralCaption(caption), parent);
    button->setObjectName(name);
    // Enter belongs to OK, whichever button has the focus.
    button->setAutoDefault(false);
    KeepDefaultColours(button);
    return button;
}

QPushButton* WhiteButton(QWidget* parent, const char* name, const QString& caption) {
    QPushButton* button = Button(parent, QLatin1String(name), caption);
    QPalette palette = button->palette();
    palette.setColor(QPalette::Button, Qt::white);
    palette.setColor(QPalette::ButtonText, Qt::black);
    button->setPalette(palette);
    return button;
}

QCheckBox* SkillBox(QWidget* parent, int bit) {
    auto* box = new QCheckBox(LiteralCaption(QStringLiteral("Check1")), parent);
    box->setObjectName(QStringLiteral("Check1(%1)").arg(bit));
    return box;
}

QComboBox* CategoryList(QWidget* parent, const char* name) {
    auto* combo = new QComboBox(parent);
    combo->setObjectName(QLatin1String(name));
    combo->setEditable(true);
    // Typing into the text part never adds entries to the list.
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setEditText(QLatin1String(name));
    return combo;
}

void BuildFileAndGuid(QWidget* window, ScoreControls& c) {
    c.fileFrame = Frame(window, "Frame3(1)", QStringLiteral("Current IFF File Opened: "));
    SetColours(c.fileFrame, kDarkBlue, Qt::white);
    c.objectLabel = Label(c.fileFrame, QString(), "Label27");
    SetColours(c.objectLabel, kDarkBlue, Qt::white);

    c.guidFrame = Frame(window, "Frame4", QStringLiteral("Object's GUID:"));
    SetColours(c.guidFrame, kDarkBlue, Qt::white);
    c.guidLabel = Label(c.guidFrame, QStringLiteral("GUID:"), "Label23");
    SetColours(c.guidLabel, kDarkBlue, kLightGrey);
    c.originalGuidLabel = Label(c.guidFrame, QStringLiteral("Original GUID:"), "Label25");
    SetColours(c.originalGuidLabel, kDarkBlue, kLightGrey);
    c.cloneGuidLabel = Label(c.guidFrame, QStringLiteral("Attribute Clone:"), "Label26");
    KeepDefaultColours(c.cloneGuidLabel);
    c.cloneGuidLabel->setAutoFillBackground(true);
    for (int i = 0; i < static_cast<int>(c.guidBoxes.size()); ++i) {
        QLineEdit* box = TextBox(c.guidFrame, "");
        box->setObjectName(QStringLiteral("txtguid(%1)").arg(i));
        box->setMaxLength(4);
        box->setReadOnly(true);  // only loading and the keypad write here
        c.guidBoxes[static_cast<std::size_t>(i)] = box;
    }
    for (int i = 0; i < kKeypadKeys; ++i) {
        c.keypad[static_cast<std::size_t>(i)] =
            Button(c.guidFrame, QStringLiteral("Command1(%1)").arg(i),
                   QString(QLatin1Char("0123456789ABCDEF"[i])));
    }
    c.clearGuid = Button(c.guidFrame, QStringLiteral("Command3"), QStringLiteral("Clear GUID"));
    c.saveArtistId =
        Button(c.guidFrame, QStringLiteral("Command2"), QStringLiteral("Save Artist ID"));

    c.ok = WhiteButton(window, "cmdOK", QStringLiteral("OK"));
    c.ok->setDefault(true);
    c.cancel = WhiteButton(window, "cmdCancel", QStringLiteral("Cancel"));
}

void BuildScoresAndSkills(QWidget* window, ScoreControls& c) {
    static const char* const kScoreCaptions[kScoreCount] = {
        "Hunger: ", "Comfort: ", "Hygene: ", "Bladder: ", "Energy: ", "Fun: ", "Room: "};
    static const char* const kScoreNames[kScoreCount] = {
        "hungscore", "comscore", "hygscore", "bladscore", "enerscore", "funscore", "roomscore"};
    static const char* const kSkillCaptions[kScoreCount] = {
        "Cooking:", "Mechanical:", "Logic:", "Body:", "Creativity", "Charisma:", "Study:"};

    c.scoresFrame = PlainFrame(window, "Frame1", QStringLiteral("Object Scores:"));
    for (std::size_t i = 0; i < kScoreCount; ++i) {
        c.scoreLabels[i] = Label(c.scoresFrame, QLatin1String(kScoreCaptions[i]));
        c.scoreBoxes[i] = TextBox(c.scoresFrame, kScoreNames[i]);
        c.skillLabels[i] = Label(c.scoresFrame, QLatin1String(kSkillCaptions[i]));
        c.skillBoxes[i] = SkillBox(c.scoresFrame, 1 << i);
    }
    c.skillFlagLabel = Label(c.scoresFrame, QStringLiteral("Skill Flag"));
    c.skillFlag = TextBox(c.scoresFrame, "Text8");

    c.strayCheck = SkillBox(window, 0);
    KeepDefaultColours(c.strayCheck);
    c.strayCheck->setAutoFillBackground(true);
}

void BuildBuyModeAndValue(QWidget* window, ScoreControls& c) {
    c.buyModeFrame = PlainFrame(window, "Frame2", QStringLiteral("Buy Mode:"));
    c.roomLabel = Label(c.buyModeFrame, QStringLiteral("Room ID"));
    c.rooms = CategoryList(c.buyModeFrame, "Combo1");
    c.typeLabel = Label(c.buyModeFrame, QStringLiteral("Type ID"));
    c.types = CategoryList(c.buyModeFrame, "Combo2");

    static const char* const kValueCaptions[kValueCount] = {
        "Price:", "Sale Price", "Initial Deprec:", "Daily Deprec:", "Deprec Limit:"};
    static const char* const kValueNames[kValueCount] = {"txtprice", "saleprice", "InitDep",
                                                         "DailyDep", "Deplimit"};
    c.valueFrame = PlainFrame(window, "Frame3(0)", QStringLiteral("Object Value:"));
    for (std::size_t i = 0; i < kValueCount; ++i) {
        c.valueLabels[i] = Label(c.valueFrame, QLatin1String(kValueCaptions[i]));
        c.valueBoxes[i] = TextBox(c.valueFrame, kValueNames[i]);
    }
    c.selfDepreciating =
        new SelfDepreciatingBox(LiteralCaption(QStringLiteral("Self Depreciating")), c.valueFrame);
    c.selfDepreciating->setObjectName(QStringLiteral("selfdep"));
    c.selfDepreciating->setTristate(true);

    c.comingSoonFrame =
        PlainFrame(window, "Frame5", QStringLiteral("Coming Soon - More Attributes!"));
}

// The design's widths were measured for a small 8-point face. Take the largest
// size up to that height whose widest caption in view fits its designed width.
QFont DesignFont(QFont font) {
    font.setStretch(QFont::SemiCondensed);
    for (int pixels = 11; pixels > 8; --pixels) {
        font.setPixelSize(pixels);
        if (QFontMetrics(font).horizontalAdvance(QStringLiteral("Original GUID:")) <=
            Twips(0, 0, 1095, 0).width()) {
            break;
        }
    }
    return font;
}

}  // namespace

ScoreControls BuildScoreControls(QWidget* window) {
    SetColours(window, kDarkBlue, Qt::white);
    window->setFont(DesignFont(window->font()));
    ScoreControls controls;
    // Creation order is the tab order: the controls in view come first.
    BuildFileAndGuid(window, controls);
    BuildScoresAndSkills(window, controls);
    BuildBuyModeAndValue(window, controls);
    return controls;
}

}  // namespace marrowick
