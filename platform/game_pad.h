// The game pad beside the keyboard: the first connected pad, read once a frame. Each build has
// one implementation, chosen at link time: SDL2's game controllers on Linux (a virtual pad in the
// capture tool), XInput on Windows (a scripted source in its capture tool), a settable double in
// the unit tests. The game decides what the controls do; this only reports them.
#pragma once

// At rest unless told otherwise.
struct GamePadState {
    bool southButton = false;  // A on an Xbox pad, the cross on others
    bool backButton = false;   // Back, View or Select
    bool dpadLeft = false;
    bool dpadRight = false;
    float leftStickX = 0.0f;    // -1 (full left) to 1 (full right)
    float rightTrigger = 0.0f;  // 0 (released) to 1 (pressed fully)
};

// Starts looking for pads, those plugged in now and later. Where pads cannot be read at all, none
// is ever found and the keyboard alone steers.
void GamePadOpen();
// The first connected pad's state; everything at rest when there is none.
void GamePadRead(GamePadState* state);
// Stops reading pads; safe when nothing is open.
void GamePadClose();
