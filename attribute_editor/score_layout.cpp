#include "score_layout.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "score_controls.h"
#include "window_look.h"

namespace marrowick {
namespace {

// Rows of the scores frame, in twips from the frame's top.
constexpr int kScoreRowTwips[kScoreCount] = {360, 720, 1080, 1440, 1800, 2160, 2520};

void PlaceDesignedGuidFrame(const ScoreControls& c) {
    c.guidFrame->setGeometry(Twips(120, 840, 5175, 855));
    c.guidLabel->setGeometry(Twips(120, 360, 495, 255));
    c.guidBoxes[0]->setGeometry(Twips(600, 360, 615, 285));
    c.guidBoxes[1]->setGeometry(Twips(1320, 360, 615, 285));
    c.originalGuidLabel->setGeometry(Twips(2640, 360, 1095, 255));
    c.guidBoxes[2]->setGeometry(Twips(3720, 360, 615, 285));
    c.guidBoxes[3]->setGeometry(Twips(4440, 360, 615, 285));
    // Everything below lies under the frame's lower edge.
    c.cloneGuidLabel->setGeometry(Twips(960, 3480, 1455, 255));
    c.guidBoxes[4]->setGeometry(Twips(960, 3600, 615, 285));
    c.guidBoxes[5]->setGeometry(Twips(1080, 3480, 615, 285));
    for (int i = 0; i < kKeypadKeys; ++i) {
        c.keypad[static_cast<std::size_t>(i)]->setGeometry(Twips(120 + 375 * i, 3360, 375, 375));
    }
    c.clearGuid->setGeometry(Twips(960, 3360, 975, 375));
    c.saveArtistId->setGeometry(Twips(1920, 3360, 1215, 375));
}

void PlaceDesignedScores(const ScoreControls& c) {
    c.scoresFrame->setGeometry(Twips(1800, 6000, 4455, 2895));
    for (std::size_t i = 0; i < kScoreCount; ++i) {
        const int top = kScoreRowTwips[i];
        c.scoreLabels[i]->setGeometry(Twips(120, top, 600, 255));
        c.scoreBoxes[i]->setGeometry(Twips(720, top, 615, 285));
        c.skillLabels[i]->setGeometry(Twips(1440, top, 960, 255));
        c.skillBoxes[i]->setGeometry(Twips(2400, top, 255, 195));
    }
    c.skillFlagLabel->setGeometry(Twips(4920, 120, 1095, 255));
    c.skillFlag->setGeometry(Twips(4920, 360, 1095, 285));
    c.strayCheck->setGeometry(Twips(2880, 8040, 255, 195));
}

void PlaceDesignedBuyModeAndValue(const ScoreControls& c) {
    c.buyModeFrame->setGeometry(Twips(1800, 6240, 4455, 975));
    c.roomLabel->setGeometry(Twips(120, 240, 1935, 255));
    c.rooms->setGeometry(Twips(120, 480, 1935, 315));
    c.typeLabel->setGeometry(Twips(2400, 240, 1935, 255));
    c.types->setGeometry(Twips(2400, 480, 1935, 315));

    c.valueFrame->setGeometry(Twips(1680, 6120, 4455, 1815));
    for (std::size_t i = 0; i < 4; ++i) {
        const int top = 360 + 360 * static_cast<int>(i);
        c.valueLabels[i]->setGeometry(Twips(120, top, 1080, 255));
        c.valueBoxes[i]->setGeometry(Twips(1200, top, 735, 285));
    }
    c.valueLabels[4]->setGeometry(Twips(2040, 360, 1080, 255));
    c.valueBoxes[4]->setGeometry(Twips(3120, 360, 735, 285));
    c.selfDepreciating->setGeometry(Twips(2040, 1440, 2295, 285));

    c.comingSoonFrame->setGeometry(Twips(1800, 6000, 3855, 2895));
}

// --- the details arrangement, in pixels ---------------------------------------
// Two columns: the file, the GUIDs with their keypad, the buy mode and the
// buttons on the left; scores and value on the right.
constexpr int kGap = 8;
constexpr int kLeftColumn = 8;
constexpr int kColumnWidth = 345;
constexpr int kRightColumn = kLeftColumn + kColumnWidth + kGap;
constexpr int kRightWidth = 306;
constexpr int kRowPitch = 24;
constexpr int kFirstRow = 24;
constexpr int kKeyPitch = 28;

void PlaceDetailsGuidFrame(const ScoreControls& c) {
    // The first row keeps its designed boxes; its labels, which the design lets
    // run a pixel into them, are pulled clear. The clone row sits beneath the
    // "Original GUID:" boxes, and the keypad fills a 4 x 4 grid below.
    c.guidFrame->setGeometry(kLeftColumn, 56, kColumnWidth, 193);
    c.guidLabel->setGeometry(8, 24, 32, 17);
    c.originalGuidLabel->setGeometry(172, 24, 74, 17);
    c.cloneGuidLabel->setGeometry(152, 50, 92, 17);
    c.guidBoxes[4]->setGeometry(248, 48, 41, 19);
    c.guidBoxes[5]->setGeometry(296, 48, 41, 19);
    for (int i = 0; i < kKeypadKeys; ++i) {
        c.keypad[static_cast<std::size_t>(i)]->setGeometry(8 + (i % 4) * kKeyPitch,
                                                           80 + (i / 4) * kKeyPitch, 25, 25);
    }
    c.clearGuid->setGeometry(248, 80, 89, 25);
    c.saveArtistId->setGeometry(248, 108, 89, 25);
}

void PlaceDetailsBuyModeAndButtons(const ScoreControls& c) {
    c.buyModeFrame->setGeometry(kLeftColumn, 257, kColumnWidth, 67);
    c.roomLabel->setGeometry(8, 20, 160, 17);
    c.rooms->setGeometry(8, 38, 160, 21);
    c.typeLabel->setGeometry(176, 20, 161, 17);
    c.types->setGeometry(176, 38, 161, 21);

    c.ok->setGeometry(kLeftColumn, 332, 169, 25);
    c.cancel->setGeometry(kLeftColumn + 176, 332, 169, 25);
}

void PlaceDetailsScores(const ScoreControls& c) {
    c.scoresFrame->setGeometry(kRightColumn, 8, kRightWidth, 195);
    for (std::size_t i = 0; i < kScoreCount; ++i) {
        const int top = kFirstRow + kRowPitch * static_cast<int>(i);
        c.scoreLabels[i]->setGeometry(8, top + 1, 64, 17);
        c.scoreBoxes[i]->setGeometry(76, top, 41, 19);
        c.skillLabels[i]->setGeometry(129, top + 1, 72, 17);
        c.skillBoxes[i]->setGeometry(205, top + 1, 17, 17);
    }
    c.skillFlagLabel->setGeometry(234, kFirstRow + 1, 64, 17);
    c.skillFlag->setGeometry(234, kFirstRow + kRowPitch, 64, 19);
}

void PlaceDetailsValue(const ScoreControls& c) {
    c.valueFrame->setGeometry(kRightColumn, 211, kRightWidth, 146);
    for (std::size_t i = 0; i < 4; ++i) {
        const int top = kFirstRow + kRowPitch * static_cast<int>(i);
        c.valueLabels[i]->setGeometry(8, top + 1, 84, 17);
        c.valueBoxes[i]->setGeometry(96, top, 49, 19);
    }
    c.valueLabels[4]->setGeometry(157, kFirstRow + 1, 80, 17);
    c.valueBoxes[4]->setGeometry(241, kFirstRow, 49, 19);
    c.selfDepreciating->setGeometry(157, kFirstRow + 3 * kRowPitch, 140, 19);
}

}  // namespace

QSize ApplyDesignedLayout(const ScoreControls& c) {
    c.fileFrame->setGeometry(Twips(120, 120, 5175, 615));
    c.objectLabel->setGeometry(Twips(120, 240, 4935, 255));
    PlaceDesignedGuidFrame(c);
    c.ok->setGeometry(Twips(120, 1800, 2535, 375));
    c.cancel->setGeometry(Twips(2760, 1800, 2535, 375));
    PlaceDesignedScores(c);
    PlaceDesignedBuyModeAndValue(c);
    c.comingSoonFrame->setVisible(true);
    c.strayCheck->setVisible(true);
    return Twips(0, 0, 5415, 2295).size();
}

QSize ApplyDetailsLayout(const ScoreControls& c) {
    // The file row and the first GUID row keep their designed places.
    c.fileFrame->setGeometry(Twips(120, 120, 5175, 615));
    c.objectLabel->setGeometry(Twips(120, 240, 4935, 255));
    PlaceDesignedGuidFrame(c);
    PlaceDetailsGuidFrame(c);
    PlaceDetailsBuyModeAndButtons(c);
    PlaceDetailsScores(c);
    PlaceDetailsValue(c);
    // The empty "Coming Soon" frame and the stray check box outside every
    // group show nothing of the object.
    c.comingSoonFrame->setVisible(false);
    c.strayCheck->setVisible(false);
    return {kRightColumn + kRightWidth + kGap, 365};
}

}  // namespace marrowick
