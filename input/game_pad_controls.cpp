#include "input/game_pad_controls.h"

namespace {

const BYTE kHeld = 0x80;
// The stick rests near, not at, its centre: a push counts past a quarter of its travel.
const float kStickDeadZone = 0.25f;
const float kTriggerHalf = 0.5f;

}  // namespace

GamePadControls::GamePadControls() : open(false) {}

GamePadControls::~GamePadControls() {
    Close();
}

void GamePadControls::Open() {
    if (!open) {
        GamePadOpen();
        open = true;
    }
}

void GamePadControls::AddHeldKeys(BYTE keys[256]) {
    if (!open) {
        return;
    }
    GamePadState pad;
    GamePadRead(&pad);
    AddHeldKeys(pad, keys);
}

void GamePadControls::Close() {
    if (open) {
        GamePadClose();
        open = false;
    }
}

void GamePadControls::AddHeldKeys(const GamePadState& pad, BYTE keys[256]) {
    if (pad.southButton || pad.rightTrigger > kTriggerHalf) {
        keys[DIK_UP] |= kHeld;
    }
    if (pad.dpadLeft || pad.leftStickX < -kStickDeadZone) {
        keys[DIK_LEFT] |= kHeld;
    }
    if (pad.dpadRight || pad.leftStickX > kStickDeadZone) {
        keys[DIK_RIGHT] |= kHeld;
    }
    if (pad.backButton) {
        keys[DIK_ESCAPE] |= kHeld;
    }
}
