// The editor's rules where the window cannot reach them: the overwrite on
// boxes shorter than four digits, the cursor's bound, loading's bookkeeping
// and what Cancel leaves alone.
#include <gtest/gtest.h>

#include "score_form_state.h"

namespace marrowick {
namespace {

TEST(OverwriteCharacter, ReplacesTheCharacterAtTheCursor) {
    EXPECT_EQ(OverwriteCharacter("1234", 0, 'A'), "A234");
    EXPECT_EQ(OverwriteCharacter("1234", 3, 'F'), "123F");
}

TEST(OverwriteCharacter, AFullBoxRefusesADigitPastItsEnd) {
    EXPECT_EQ(OverwriteCharacter("ABCD", 4, '1'), "ABCD");
    EXPECT_EQ(OverwriteCharacter("ABCD", 30000, '1'), "ABCD");
}

TEST(OverwriteCharacter, AShortBoxTakesADigitAtItsEnd) {
    EXPECT_EQ(OverwriteCharacter("", 0, '7'), "7");
    EXPECT_EQ(OverwriteCharacter("12", 9, '7'), "127");
}

TEST(ScoreFormState, TheCursorStopsAtTheLargest16BitCount) {
    ParseIFF parse;
    ScoreFormState state(parse);
    for (int i = 0; i < kMaxGuidCursor + 10; ++i) {
        EXPECT_EQ(state.PressDigit(1, "1111"), "1111");
    }
    EXPECT_EQ(state.GuidCursor, kMaxGuidCursor);
    EXPECT_EQ(state.PressDigit(2, "1111"), "1111");
}

TEST(ScoreFormState, LoadingForgetsTheBoxOfTheLastWindowAndEndsClean) {
    ParseIFF parse;
    parse.ObjectAttributes[2].HungerScore = 40;
    parse.ObjectAttributes[2].SkillFlag = 3;
    parse.ObjectAttributes[2].Price = 99;
    ScoreFormState state(parse);
    state.BoxClicked(5);
    state.PressDigit(1, "0000");
    state.ScoreEdited();
    state.SkillClicked();

    state.BeginLoading(2);
    EXPECT_EQ(state.CurGuidBox, kNoGuidBox);
    EXPECT_FALSE(state.SkillsDirty);
    EXPECT_EQ(state.ObjIndex, 2);
    // Scores and skills start from zero; other groups are left to their decode.
    EXPECT_EQ(parse.ObjectAttributes[2].HungerScore, 0);
    EXPECT_EQ(parse.ObjectAttributes[2].SkillFlag, 0);
    EXPECT_EQ(parse.ObjectAttributes[2].Price, 99);

    state.ValueEdited();
    state.RoomChosen(1);
    state.EndLoading();
    EXPECT_FALSE(state.ScoresDirty || state.BuyModeDirty || state.ValueDirty || state.SkillsDirty ||
                 state.GuidDirty);
    EXPECT_EQ(state.GuidCursor, 0);
}

TEST(ScoreFormState, CancelClearsEveryFlagAndNothingElse) {
    ParseIFF parse;
    ScoreFormState state(parse);
    state.BeginLoading(1);
    state.ScoreEdited();
    state.ValueEdited();
    state.SkillClicked();
    state.RoomChosen(64);
    state.BoxClicked(3);
    state.PressDigit(9, "0000");
    state.Cancel();
    EXPECT_FALSE(state.ScoresDirty || state.BuyModeDirty || state.ValueDirty || state.SkillsDirty ||
                 state.GuidDirty);
    EXPECT_EQ(state.CurGuidBox, 3);
    EXPECT_EQ(state.GuidCursor, 1);
    EXPECT_EQ(parse.ObjectAttributes[1].RoomFlags, 64);
}

}  // namespace
}  // namespace marrowick
