#include "platform/sdl/sdl_key_map.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace {

TEST(SdlKeyMapTest, TheGamesKeysAndTheLettersMapToTheirCodes) {
    EXPECT_EQ(SdlScancodeToDik(SDL_SCANCODE_ESCAPE), DIK_ESCAPE);
    EXPECT_EQ(SdlScancodeToDik(SDL_SCANCODE_UP), DIK_UP);
    EXPECT_EQ(SdlScancodeToDik(SDL_SCANCODE_LEFT), DIK_LEFT);
    EXPECT_EQ(SdlScancodeToDik(SDL_SCANCODE_RIGHT), DIK_RIGHT);
    EXPECT_EQ(SdlScancodeToDik(SDL_SCANCODE_DOWN), DIK_DOWN);
    EXPECT_EQ(SdlScancodeToDik(SDL_SCANCODE_Q), DIK_Q);
    EXPECT_EQ(SdlScancodeToDik(SDL_SCANCODE_Z), DIK_Z);
    EXPECT_EQ(SdlScancodeToDik(SDL_SCANCODE_KP_ENTER), DIK_NUMPADENTER);
    EXPECT_EQ(SdlScancodeToDik(SDL_SCANCODE_RALT), DIK_RMENU);
    EXPECT_EQ(SdlScancodeToDik(SDL_SCANCODE_UNKNOWN), 0);
    EXPECT_EQ(SdlScancodeToDik(static_cast<SDL_Scancode>(-1)), 0);
    EXPECT_EQ(SdlScancodeToDik(SDL_NUM_SCANCODES), 0);
}

TEST(SdlKeyMapTest, EveryKeyOfAStandardKeyboardHasItsOwnCode) {
    // The 105 keys of a full ISO board.
    std::vector<SDL_Scancode> standard;
    for (int s = SDL_SCANCODE_A; s <= SDL_SCANCODE_NONUSBACKSLASH; ++s) {
        if (s != SDL_SCANCODE_NONUSHASH) {  // shares the backslash position
            standard.push_back(static_cast<SDL_Scancode>(s));
        }
    }
    for (SDL_Scancode s : {SDL_SCANCODE_LCTRL, SDL_SCANCODE_LSHIFT, SDL_SCANCODE_LALT,
                           SDL_SCANCODE_LGUI, SDL_SCANCODE_RCTRL, SDL_SCANCODE_RSHIFT,
                           SDL_SCANCODE_RALT, SDL_SCANCODE_RGUI, SDL_SCANCODE_APPLICATION}) {
        standard.push_back(s);
    }
    EXPECT_EQ(standard.size(), 105u);
    std::map<BYTE, SDL_Scancode> seen;
    for (SDL_Scancode s : standard) {
        const BYTE dik = SdlScancodeToDik(s);
        EXPECT_NE(dik, 0) << "scancode " << int(s);
        const auto [it, inserted] = seen.emplace(dik, s);
        EXPECT_TRUE(inserted) << "scancode " << int(s) << " and " << int(it->second);
    }
}

}  // namespace
