// The SDL2 game pad read through SDL's own virtual controller, as the capture tool scripts it: a
// pad plugged in after the game looked, pulled out and plugged in again, and axis values that
// must land on the same side of the game's thresholds as on XInput.
#include <gtest/gtest.h>

#include "platform/game_pad.h"
#include "platform/scripted_game_pad.h"

namespace {

GamePadState Read() {
    GamePadState state;
    state.southButton = true;  // must be overwritten
    GamePadRead(&state);
    return state;
}

TEST(SdlGamePadTest, APadPluggedInLaterIsReadAndOnePulledOutReadsAtRest) {
    GamePadOpen();
    EXPECT_FALSE(Read().southButton);

    ScriptedGamePadSet({.southButton = true, .dpadRight = true, .leftStickX = -1.0f});
    GamePadState state = Read();
    EXPECT_TRUE(state.southButton);
    EXPECT_TRUE(state.dpadRight);
    EXPECT_FALSE(state.backButton || state.dpadLeft);
    EXPECT_EQ(state.leftStickX, -1.0f);
    EXPECT_EQ(state.rightTrigger, 0.0f);

    ScriptedGamePadRemove();
    EXPECT_FALSE(Read().southButton);
    ScriptedGamePadSet({.backButton = true});
    EXPECT_TRUE(Read().backButton);
    ScriptedGamePadRemove();
    GamePadClose();
}

TEST(SdlGamePadTest, AxesStayOnTheirSideOfAQuarterAndOfHalf) {
    GamePadOpen();
    ScriptedGamePadSet({.leftStickX = 0.25f, .rightTrigger = 127.0f / 255.0f});
    GamePadState state = Read();
    EXPECT_LE(state.leftStickX, 0.25f);
    EXPECT_GT(state.leftStickX, 0.2499f);
    EXPECT_LT(state.rightTrigger, 0.5f);

    ScriptedGamePadSet({.leftStickX = -0.25f, .rightTrigger = 128.0f / 255.0f});
    state = Read();
    EXPECT_GE(state.leftStickX, -0.25f);
    EXPECT_GT(state.rightTrigger, 0.5f);

    ScriptedGamePadSet({.rightTrigger = 1.0f});
    EXPECT_EQ(Read().rightTrigger, 1.0f);
    ScriptedGamePadRemove();
    GamePadClose();
}

}  // namespace
