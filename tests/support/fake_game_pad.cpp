#include "tests/support/fake_game_pad.h"

FakeGamePad& FakeGamePad::Get() {
    static FakeGamePad pad{};
    return pad;
}

void FakeGamePad::Restore() {
    state = GamePadState{};
    openCount = 0;
}

void GamePadOpen() {
    ++FakeGamePad::Get().openCount;
}

void GamePadRead(GamePadState* state) {
    const FakeGamePad& pad = FakeGamePad::Get();
    *state = pad.openCount > 0 ? pad.state : GamePadState{};
}

void GamePadClose() {
    FakeGamePad& pad = FakeGamePad::Get();
    if (pad.openCount > 0) {
        --pad.openCount;
    }
}
