#include "input/game_pad_controls.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace {

// The keys a pad holds, as "U", "L", "R", "E" (up, left, right, Escape) in that order.
std::string KeysFrom(const GamePadState& pad) {
    std::array<BYTE, 256> keys{};
    GamePadControls::AddHeldKeys(pad, keys.data());
    std::string held;
    for (auto [code, name] :
         {std::pair{DIK_UP, 'U'}, {DIK_LEFT, 'L'}, {DIK_RIGHT, 'R'}, {DIK_ESCAPE, 'E'}}) {
        if (keys[code] == 0x80) {
            held += name;
        }
        keys[code] = 0;
    }
    EXPECT_EQ(keys, (std::array<BYTE, 256>{}));  // no other key
    return held;
}

TEST(GamePadControlsTest, EachControlHoldsItsKeyPastItsThreshold) {
    EXPECT_EQ(KeysFrom({}), "");
    EXPECT_EQ(KeysFrom({.southButton = true}), "U");
    EXPECT_EQ(KeysFrom({.backButton = true}), "E");
    EXPECT_EQ(KeysFrom({.dpadLeft = true, .dpadRight = true}), "LR");
    EXPECT_EQ(KeysFrom({.rightTrigger = 0.5f}), "");
    EXPECT_EQ(KeysFrom({.rightTrigger = 0.51f}), "U");
    for (float inside : {0.1f, -0.1f, 0.25f, -0.25f}) {
        EXPECT_EQ(KeysFrom({.leftStickX = inside}), "") << inside;
    }
    EXPECT_EQ(KeysFrom({.leftStickX = -0.26f}), "L");
    EXPECT_EQ(KeysFrom({.leftStickX = 0.26f}), "R");
    EXPECT_EQ(KeysFrom({.leftStickX = -1.0f, .rightTrigger = 1.0f}), "UL");
}

TEST(GamePadControlsTest, TheKeyboardsBytesAreKeptAndOnlyGainTheHeldBit) {
    std::array<BYTE, 256> keys{};
    keys[DIK_UP] = 0x7F;
    keys[DIK_LEFT] = 0x80;
    GamePadControls::AddHeldKeys({.southButton = true}, keys.data());
    EXPECT_EQ(keys[DIK_UP], 0xFF);
    EXPECT_EQ(keys[DIK_LEFT], 0x80);
    EXPECT_EQ(keys[DIK_RIGHT], 0);
}

}  // namespace
