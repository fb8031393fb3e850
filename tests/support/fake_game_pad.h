// The unit tests' game pad: GamePadRead reports whatever the test set, while the pad is open.
#pragma once

#include "platform/game_pad.h"

struct FakeGamePad {
    GamePadState state;
    int openCount;  // GamePadOpen calls not yet matched by GamePadClose

    static FakeGamePad& Get();
    // Everything at rest and nothing open.
    void Restore();
};
