#include "input/game_pad_controls.h"

#include <gtest/gtest.h>

#include <array>

namespace {

struct HeldKeys {
    bool up;
    bool left;
    bool right;
    bool escape;
};

HeldKeys KeysFrom(const GamePadState& pad) {
    std::array<BYTE, 256> keys{};
    GamePadControls::AddHeldKeys(pad, keys.data());
    for (int code = 0; code < 256; ++code) {
        if (code != DIK_UP && code != DIK_LEFT && code != DIK_RIGHT && code != DIK_ESCAPE) {
            EXPECT_EQ(keys[code], 0) << "key " << code;
        }
    }
    return {keys[DIK_UP] == 0x80, keys[DIK_LEFT] == 0x80, keys[DIK_RIGHT] == 0x80,
            keys[DIK_ESCAPE] == 0x80};
}

GamePadState Stick(float x) {
    GamePadState pad{};
    pad.leftStickX = x;
    return pad;
}

GamePadState Trigger(float value) {
    GamePadState pad{};
    pad.rightTrigger = value;
    return pad;
}

TEST(GamePadControlsTest, EachControlHoldsItsKey) {
    GamePadState a{};
    a.southButton = true;
    GamePadState back{};
    back.backButton = true;
    GamePadState dpadLeft{};
    dpadLeft.dpadLeft = true;
    GamePadState dpadRight{};
    dpadRight.dpadRight = true;

    const HeldKeys none = KeysFrom(GamePadState{});
    EXPECT_FALSE(none.up || none.left || none.right || none.escape);
    EXPECT_TRUE(KeysFrom(a).up);
    EXPECT_TRUE(KeysFrom(back).escape);
    EXPECT_TRUE(KeysFrom(dpadLeft).left);
    EXPECT_TRUE(KeysFrom(dpadRight).right);
    EXPECT_FALSE(KeysFrom(dpadRight).left);
}

TEST(GamePadControlsTest, TheTriggerCountsPastHalfAndTheStickPastAQuarter) {
    EXPECT_FALSE(KeysFrom(Trigger(0.5f)).up);
    EXPECT_TRUE(KeysFrom(Trigger(0.51f)).up);
    EXPECT_TRUE(KeysFrom(Trigger(1.0f)).up);

    for (float inside : {0.0f, 0.1f, -0.1f, 0.25f, -0.25f}) {
        const HeldKeys keys = KeysFrom(Stick(inside));
        EXPECT_FALSE(keys.left || keys.right) << inside;
    }
    EXPECT_TRUE(KeysFrom(Stick(-0.26f)).left);
    EXPECT_FALSE(KeysFrom(Stick(-0.26f)).right);
    EXPECT_TRUE(KeysFrom(Stick(0.26f)).right);
    EXPECT_TRUE(KeysFrom(Stick(-1.0f)).left);
}

TEST(GamePadControlsTest, TheKeyboardsBytesAreKeptAndOnlyGainTheHeldBit) {
    std::array<BYTE, 256> keys{};
    keys[DIK_UP] = 0x7F;
    keys[DIK_LEFT] = 0x80;
    keys[DIK_SPACE] = 0x80;
    GamePadState pad{};
    pad.southButton = true;
    GamePadControls::AddHeldKeys(pad, keys.data());
    EXPECT_EQ(keys[DIK_UP], 0xFF);
    EXPECT_EQ(keys[DIK_LEFT], 0x80);
    EXPECT_EQ(keys[DIK_SPACE], 0x80);
    EXPECT_EQ(keys[DIK_RIGHT], 0);
}

}  // namespace
