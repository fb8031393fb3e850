// The game pad on XInput: the first of the four XInput slots that has a pad. A read of an empty
// slot can take a while on Windows, so while no pad is connected the slots are looked at only
// about once a second; a connected pad is read every frame.
#include <algorithm>

#include "platform/game_pad.h"
#include "platform/pad/xinput_source.h"

namespace {

const DWORD kNoSlot = XUSER_MAX_COUNT;
// Reads between two looks for a newly connected pad: about a second of frames.
const int kReadsBetweenLooks = 60;

XInputGetStateFunction getState = nullptr;
DWORD slot = kNoSlot;
int readsUntilLook = 0;

bool FindPad(XINPUT_STATE* input) {
    for (DWORD candidate = 0; candidate < XUSER_MAX_COUNT; ++candidate) {
        if (getState(candidate, input) == ERROR_SUCCESS) {
            slot = candidate;
            return true;
        }
    }
    return false;
}

}  // namespace

void GamePadOpen() {
    if (getState != nullptr) {
        return;
    }
    getState = XInputSourceOpen();
    slot = kNoSlot;
    readsUntilLook = 0;
}

void GamePadRead(GamePadState* state) {
    *state = GamePadState{};
    if (getState == nullptr) {
        return;
    }
    XINPUT_STATE input = {};
    if (slot != kNoSlot && getState(slot, &input) != ERROR_SUCCESS) {
        slot = kNoSlot;  // pulled out: look again at once
        readsUntilLook = 0;
    }
    if (slot == kNoSlot) {
        if (readsUntilLook > 0) {
            --readsUntilLook;
            return;
        }
        readsUntilLook = kReadsBetweenLooks;
        if (!FindPad(&input)) {
            return;
        }
    }
    const XINPUT_GAMEPAD& pad = input.Gamepad;
    state->southButton = (pad.wButtons & XINPUT_GAMEPAD_A) != 0;
    state->backButton = (pad.wButtons & XINPUT_GAMEPAD_BACK) != 0;
    state->dpadLeft = (pad.wButtons & XINPUT_GAMEPAD_DPAD_LEFT) != 0;
    state->dpadRight = (pad.wButtons & XINPUT_GAMEPAD_DPAD_RIGHT) != 0;
    // The stick runs from -32768 to 32767: both ends read as a full push.
    state->leftStickX = std::max(-1.0f, pad.sThumbLX / 32767.0f);
    state->rightTrigger = pad.bRightTrigger / 255.0f;
}

void GamePadClose() {
    if (getState != nullptr) {
        XInputSourceClose();
        getState = nullptr;
    }
    slot = kNoSlot;
}
