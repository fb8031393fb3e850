// The Windows capture tool's scripted pad: an XInput source whose slot 0 holds what the script
// says, read by the game's own XInput pad in place of the system's library. Values become
// XInput's own units here, as a real pad reports them.
#include <algorithm>
#include <cmath>

#include "platform/pad/xinput_source.h"
#include "platform/scripted_game_pad.h"

namespace {

bool connected = false;
XINPUT_STATE scripted = {};

DWORD WINAPI ScriptedGetState(DWORD userIndex, XINPUT_STATE* state) {
    if (!connected || userIndex != 0) {
        return ERROR_DEVICE_NOT_CONNECTED;
    }
    *state = scripted;
    return ERROR_SUCCESS;
}

}  // namespace

XInputGetStateFunction XInputSourceOpen() {
    return ScriptedGetState;
}

void XInputSourceClose() {}

void ScriptedGamePadSet(const GamePadState& state) {
    XINPUT_GAMEPAD pad = {};
    pad.wButtons = static_cast<WORD>((state.southButton ? XINPUT_GAMEPAD_A : 0) |
                                     (state.backButton ? XINPUT_GAMEPAD_BACK : 0) |
                                     (state.dpadLeft ? XINPUT_GAMEPAD_DPAD_LEFT : 0) |
                                     (state.dpadRight ? XINPUT_GAMEPAD_DPAD_RIGHT : 0));
    // Toward the centre, as on Linux: a value at the edge of a dead zone never reads past it.
    pad.sThumbLX = static_cast<SHORT>(std::clamp(state.leftStickX, -1.0f, 1.0f) * 32767.0f);
    pad.bRightTrigger =
        static_cast<BYTE>(std::lround(std::clamp(state.rightTrigger, 0.0f, 1.0f) * 255.0f));
    // A real pad counts a new packet whenever its state changes.
    const XINPUT_GAMEPAD& previous = scripted.Gamepad;
    if (!connected || pad.wButtons != previous.wButtons || pad.sThumbLX != previous.sThumbLX ||
        pad.bRightTrigger != previous.bRightTrigger) {
        ++scripted.dwPacketNumber;
    }
    scripted.Gamepad = pad;
    connected = true;
}

void ScriptedGamePadRemove() {
    connected = false;
}
