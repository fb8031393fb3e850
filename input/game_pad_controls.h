// What a game pad adds to the keyboard. Each key the game steers by can also be held from the
// pad, and either (or both) counts: the A button, or the right trigger past half, holds the up
// arrow; the d-pad, or the left stick pushed past a quarter of its travel, holds left or right;
// Back holds Escape. The movement then cannot tell a pad from the keys.
#pragma once

#include "platform/directinput8.h"
#include "platform/game_pad.h"

class GamePadControls {
public:
    GamePadControls();
    ~GamePadControls();
    GamePadControls(const GamePadControls&) = delete;
    GamePadControls& operator=(const GamePadControls&) = delete;

    // Starts reading the build's pads; without any, the keyboard steers alone.
    void Open();
    // Sets the held bit (0x80) of each key the pad holds now; the others keep their bytes.
    void AddHeldKeys(BYTE keys[256]);
    // Safe to call twice, and when Open never ran.
    void Close();

    // The mapping alone, from one reading of a pad.
    static void AddHeldKeys(const GamePadState& pad, BYTE keys[256]);

private:
    bool open;
};
