// The game pad on SDL2's game controller API: any pad SDL has a mapping for, plugged in before or
// during the game. Its state is read once a frame; the pads' events are switched off, so that a
// moving stick never floods the window's queue, which the entry drains one event per frame.
#include <SDL.h>

#include <algorithm>

#include "platform/game_pad.h"
#include "platform/pad/sdl_game_pad.h"

namespace {

bool subsystemOpen = false;
bool onlyVirtual = false;
SDL_GameController* controller = nullptr;

const float kAxisMax = 32767.0f;

// Axes run from -32768 to 32767: both ends read as a full push.
float StickValue(Sint16 raw) {
    return std::max(-1.0f, raw / kAxisMax);
}

// Whoever quit SDL whole (a tool giving up on its window) took the pads with it.
void ForgetPadsIfSdlQuit() {
    if (subsystemOpen && SDL_WasInit(SDL_INIT_GAMECONTROLLER) == 0) {
        subsystemOpen = false;
        controller = nullptr;
    }
}

void TakeFirstController() {
    const int count = SDL_NumJoysticks();
    for (int index = 0; index < count && controller == nullptr; ++index) {
        if (SDL_IsGameController(index) && (!onlyVirtual || SDL_JoystickIsVirtual(index))) {
            controller = SDL_GameControllerOpen(index);
        }
    }
}

}  // namespace

void SdlGamePadTakeOnlyVirtual(bool only) {
    onlyVirtual = only;
}

void GamePadOpen() {
    ForgetPadsIfSdlQuit();
    if (subsystemOpen) {
        return;
    }
    // Without game controllers (no joystick support on this system) the keyboard steers alone.
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
        return;
    }
    SDL_GameControllerEventState(SDL_IGNORE);
    SDL_JoystickEventState(SDL_IGNORE);
    subsystemOpen = true;
}

void GamePadRead(GamePadState* state) {
    *state = GamePadState{};
    ForgetPadsIfSdlQuit();
    if (!subsystemOpen) {
        return;
    }
    // With the events off, this is what brings the pads' state and notices pads plugged in or
    // pulled out since the last frame.
    SDL_GameControllerUpdate();
    if (controller != nullptr && !SDL_GameControllerGetAttached(controller)) {
        SDL_GameControllerClose(controller);
        controller = nullptr;
    }
    if (controller == nullptr) {
        TakeFirstController();
        if (controller == nullptr) {
            return;
        }
        // Opening a controller puts its triggers at rest; a pad that reports its whole state on
        // every update (a virtual one) gives it back at once.
        SDL_GameControllerUpdate();
    }
    state->southButton = SDL_GameControllerGetButton(controller, SDL_CONTROLLER_BUTTON_A) != 0;
    state->backButton = SDL_GameControllerGetButton(controller, SDL_CONTROLLER_BUTTON_BACK) != 0;
    state->dpadLeft = SDL_GameControllerGetButton(controller, SDL_CONTROLLER_BUTTON_DPAD_LEFT) != 0;
    state->dpadRight =
        SDL_GameControllerGetButton(controller, SDL_CONTROLLER_BUTTON_DPAD_RIGHT) != 0;
    state->leftStickX =
        StickValue(SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_LEFTX));
    // Triggers read from 0 to 32767.
    state->rightTrigger = std::max(
        0.0f, SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_TRIGGERRIGHT) / kAxisMax);
}

void GamePadClose() {
    ForgetPadsIfSdlQuit();
    if (controller != nullptr) {
        SDL_GameControllerClose(controller);
        controller = nullptr;
    }
    if (subsystemOpen) {
        SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
        subsystemOpen = false;
    }
}
