#include "score_form_state.h"

#include <algorithm>

namespace marrowick {

void ScoreFormState::BeginLoading(int objectIndex) {
    SkillsDirty = false;
    ObjIndex = objectIndex;
    CurGuidBox = kNoGuidBox;
    ObjectAttributeRow& row = MutableRow();
    row.SkillFlag = 0;
    row.BladderScore = 0;
    row.FunScore = 0;
    row.EnergyScore = 0;
    row.RoomScore = 0;
    row.HungerScore = 0;
    row.ComfortScore = 0;
    row.HygieneScore = 0;
}

void ScoreFormState::ReadGroup(AttributeGroup group) {
    parse_.ReadObjectAttributes(ObjIndex, group);
}

const ObjectAttributeRow& ScoreFormState::Row() const {
    return parse_.ObjectAttributes[static_cast<std::size_t>(ObjIndex)];
}

ObjectAttributeRow& ScoreFormState::MutableRow() {
    return parse_.ObjectAttributes[static_cast<std::size_t>(ObjIndex)];
}

void ScoreFormState::EndLoading() {
    SkillsDirty = false;
    ScoresDirty = false;
    BuyModeDirty = false;
    ValueDirty = false;
    GuidDirty = false;
    GuidCursor = 0;
}

void ScoreFormState::RoomChosen(int itemData) {
    MutableRow().RoomFlags = static_cast<std::int16_t>(itemData);
    BuyModeDirty = true;
}

void ScoreFormState::TypeChosen(int itemData) {
    MutableRow().TypeFlags = static_cast<std::int16_t>(itemData);
    BuyModeDirty = true;
}

int ScoreFormState::TargetBox() {
    if (CurGuidBox == kNoGuidBox) {
        CurGuidBox = 0;
    }
    return CurGuidBox;
}

std::string ScoreFormState::PressDigit(int digit, std::string_view boxText) {
    static constexpr char kHexDigits[] = "0123456789ABCDEF";
    const std::string text =
        OverwriteCharacter(boxText, GuidCursor, kHexDigits[std::clamp(digit, 0, 15)]);
    GuidDirty = true;
    // A refused digit still moves the cursor on, as a press past a full box
    // does; it only stops short of overflowing the 16-bit count.
    if (GuidCursor < kMaxGuidCursor) {
        ++GuidCursor;
    }
    return text;
}

std::string ScoreFormState::ClearGuid() {
    GuidDirty = true;
    return std::string(kGuidBoxLength, '0');
}

void ScoreFormState::BoxClicked(int box) {
    GuidCursor = 0;
    CurGuidBox = box;
}

void ScoreFormState::Cancel() {
    ScoresDirty = false;
    BuyModeDirty = false;
    ValueDirty = false;
    SkillsDirty = false;
    GuidDirty = false;
}

std::string OverwriteCharacter(std::string_view text, int cursor, char character) {
    const std::size_t start = std::min(static_cast<std::size_t>(std::max(cursor, 0)), text.size());
    const std::size_t replaced = std::min<std::size_t>(1, text.size() - start);
    std::string result(text.substr(0, start));
    result += character;
    result += text.substr(start + replaced);
    if (result.size() > kGuidBoxLength) {
        return std::string(text);
    }
    return result;
}

}  // namespace marrowick
