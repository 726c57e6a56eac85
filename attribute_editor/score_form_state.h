// The attribute editor's form-level fields and the rules behind its handlers,
// kept apart from any widget so tests can drive them directly. The window
// forwards its events here and shows the results.
#pragma once

#include <string>
#include <string_view>

#include "parse_iff.h"

namespace marrowick {

inline constexpr int kGuidBoxCount = 6;
inline constexpr int kNoGuidBox = -1;
inline constexpr std::size_t kGuidBoxLength = 4;
// The cursor is a signed 16-bit count; it stops here instead of overflowing.
inline constexpr int kMaxGuidCursor = 32767;

class ScoreFormState {
  public:
    explicit ScoreFormState(ParseIFF& parse) : parse_(parse) {}

    bool ScoresDirty = false;
    bool BuyModeDirty = false;
    bool ValueDirty = false;
    bool SkillsDirty = false;
    bool GuidDirty = false;
    int ObjIndex = 0;
    int CurGuidBox = kNoGuidBox;
    int GuidCursor = 0;

    // --- loading ----------------------------------------------------------
    // The steps of loading that precede the first fill. A box chosen in an
    // earlier window belongs to controls that are gone, so the keypad starts
    // again without a current box.
    void BeginLoading(int objectIndex);
    // Decodes one attribute group of the loaded object from the current file.
    void ReadGroup(AttributeGroup group);
    const ObjectAttributeRow& Row() const;
    const ParseIFF& Parse() const { return parse_; }
    // The last step: the flags set by filling the controls are dropped, so
    // from here on they mark the user's edits only.
    void EndLoading();

    // --- edit tracking ----------------------------------------------------
    void ScoreEdited() { ScoresDirty = true; }
    void ValueEdited() { ValueDirty = true; }
    void SkillClicked() { SkillsDirty = true; }
    void RoomChosen(int itemData);
    void TypeChosen(int itemData);

    // --- GUID keypad --------------------------------------------------------
    // The box the keypad and "Clear GUID" act on; box 0 becomes current when
    // none is.
    int TargetBox();
    // Writes hex digit `digit` (0 to 15) over the character at GuidCursor of
    // `boxText` and returns the box's new text.
    std::string PressDigit(int digit, std::string_view boxText);
    std::string ClearGuid();
    void BoxClicked(int box);

    // --- closing ------------------------------------------------------------
    void Cancel();

  private:
    ObjectAttributeRow& MutableRow();

    ParseIFF& parse_;
};

// Overwrite mode on a box of at most kGuidBoxLength characters: the character
// at `cursor` is replaced, a cursor at or past the end appends, and a result
// longer than the box allows leaves the text as it was.
std::string OverwriteCharacter(std::string_view text, int cursor, char character);

}  // namespace marrowick
