// The attribute editor's controls, created on a fresh window at each loading.
// Names, captions and colours are set here; positions belong to score_layout.
#pragma once

#include <array>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace marrowick {

inline constexpr int kScoreCount = 7;   // hunger, comfort, hygiene, bladder, energy, fun, room
inline constexpr int kValueCount = 5;   // price, sale price, initial, daily, limit
inline constexpr int kKeypadKeys = 16;  // hex digits 0 to F

struct ScoreControls {
    QGroupBox* fileFrame = nullptr;  // Frame3(1)
    QLabel* objectLabel = nullptr;   // Label27

    QGroupBox* guidFrame = nullptr;                  // Frame4
    QLabel* guidLabel = nullptr;                     // Label23
    QLabel* originalGuidLabel = nullptr;             // Label25
    QLabel* cloneGuidLabel = nullptr;                // Label26
    std::array<QLineEdit*, 6> guidBoxes{};           // txtguid(0) to txtguid(5)
    std::array<QPushButton*, kKeypadKeys> keypad{};  // Command1(0) to Command1(15)
    QPushButton* clearGuid = nullptr;                // Command3
    QPushButton* saveArtistId = nullptr;             // Command2

    QPushButton* ok = nullptr;      // cmdOK
    QPushButton* cancel = nullptr;  // cmdCancel

    QGroupBox* scoresFrame = nullptr;  // Frame1
    std::array<QLabel*, kScoreCount> scoreLabels{};
    std::array<QLineEdit*, kScoreCount> scoreBoxes{};
    std::array<QLabel*, kScoreCount> skillLabels{};
    std::array<QCheckBox*, kScoreCount> skillBoxes{};  // Check1(1), Check1(2) ... Check1(64)
    QLabel* skillFlagLabel = nullptr;
    QLineEdit* skillFlag = nullptr;   // Text8
    QCheckBox* strayCheck = nullptr;  // Check1(0), on the window itself

    QGroupBox* buyModeFrame = nullptr;  // Frame2
    QLabel* roomLabel = nullptr;
    QComboBox* rooms = nullptr;  // Combo1
    QLabel* typeLabel = nullptr;
    QComboBox* types = nullptr;  // Combo2

    QGroupBox* valueFrame = nullptr;  // Frame3(0)
    std::array<QLabel*, kValueCount> valueLabels{};
    std::array<QLineEdit*, kValueCount>
        valueBoxes{};                       // txtprice, saleprice, InitDep, DailyDep, Deplimit
    QCheckBox* selfDepreciating = nullptr;  // selfdep

    QGroupBox* comingSoonFrame = nullptr;  // Frame5
};

ScoreControls BuildScoreControls(QWidget* window);

}  // namespace marrowick
