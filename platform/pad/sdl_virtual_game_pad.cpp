// The Linux capture tool's scripted pad: an SDL virtual game controller, which SDL maps button
// for button and axis for axis onto its standard pad. The game's own SDL2 pad reads it through
// the game controller API like any pad, and takes no other while it is connected.
#include <SDL.h>

#include <algorithm>
#include <cmath>

#include "platform/pad/sdl_game_pad.h"
#include "platform/scripted_game_pad.h"

namespace {

SDL_Joystick* virtualPad = nullptr;

// A tool that gives up on its window quits SDL whole, joysticks and all.
void ForgetPadIfSdlQuit() {
    if (virtualPad != nullptr && SDL_WasInit(SDL_INIT_JOYSTICK) == 0) {
        virtualPad = nullptr;
        SdlGamePadTakeOnlyVirtual(false);
    }
}

bool Connect() {
    ForgetPadIfSdlQuit();
    if (virtualPad != nullptr) {
        return true;
    }
    // A script is read whichever window has the focus, as the scripted keyboard is.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) != 0) {
        return false;
    }
    const int index = SDL_JoystickAttachVirtual(
        SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX, SDL_CONTROLLER_BUTTON_MAX, 0);
    virtualPad = index >= 0 ? SDL_JoystickOpen(index) : nullptr;
    if (virtualPad == nullptr) {
        if (index >= 0) {
            SDL_JoystickDetachVirtual(index);
        }
        SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
        return false;
    }
    SdlGamePadTakeOnlyVirtual(true);
    return true;
}

void SetButton(SDL_GameControllerButton button, bool held) {
    SDL_JoystickSetVirtualButton(virtualPad, button, held ? SDL_PRESSED : SDL_RELEASED);
}

}  // namespace

void ScriptedGamePadSet(const GamePadState& state) {
    if (!Connect()) {
        return;
    }
    SetButton(SDL_CONTROLLER_BUTTON_A, state.southButton);
    SetButton(SDL_CONTROLLER_BUTTON_BACK, state.backButton);
    SetButton(SDL_CONTROLLER_BUTTON_DPAD_LEFT, state.dpadLeft);
    SetButton(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, state.dpadRight);
    // Toward the centre, as on Windows: a value at the edge of a dead zone never reads past it.
    const float stick = std::clamp(state.leftStickX, -1.0f, 1.0f);
    SDL_JoystickSetVirtualAxis(virtualPad, SDL_CONTROLLER_AXIS_LEFTX,
                               static_cast<Sint16>(stick * 32767.0f));
    // The controller spreads a trigger's whole axis, -32768 to 32767, over its 0 to 32767.
    const float trigger = std::clamp(state.rightTrigger, 0.0f, 1.0f);
    SDL_JoystickSetVirtualAxis(virtualPad, SDL_CONTROLLER_AXIS_TRIGGERRIGHT,
                               static_cast<Sint16>(std::lround(trigger * 65535.0f) - 32768));
}

void ScriptedGamePadRemove() {
    ForgetPadIfSdlQuit();
    if (virtualPad == nullptr) {
        return;
    }
    const SDL_JoystickID id = SDL_JoystickInstanceID(virtualPad);
    SDL_JoystickClose(virtualPad);
    virtualPad = nullptr;
    for (int index = 0; index < SDL_NumJoysticks(); ++index) {
        if (SDL_JoystickGetDeviceInstanceID(index) == id) {
            SDL_JoystickDetachVirtual(index);
            break;
        }
    }
    SdlGamePadTakeOnlyVirtual(false);
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
    // The capture started SDL only for its pad: leave nothing of it behind.
    if (SDL_WasInit(SDL_INIT_EVERYTHING) == 0) {
        SDL_Quit();
    }
}
