// The DirectInput objects' input in the SDL2 build: the keyboard state SDL keeps for its window,
// its keyboard focus, and the mouse's relative motion. SDL updates all of them while the entry's
// event pump runs, so they reflect the events pumped so far.
#include <SDL.h>

#include <cstring>

#include "platform/dinput/input_source.h"
#include "platform/sdl/sdl_key_map.h"

namespace {

// DirectInput's units for one notch of the wheel.
const LONG kWheelDelta = 120;

DWORD focusLosses = 0;
LONG wheelMotion = 0;

// Sees every event as it enters SDL's queue, so a focus loss is counted even when the entry has
// not taken the event yet, or the focus came back in the meantime.
int SDLCALL WatchEvent(void*, SDL_Event* event) {
    if (event->type == SDL_WINDOWEVENT && event->window.event == SDL_WINDOWEVENT_FOCUS_LOST) {
        ++focusLosses;
    } else if (event->type == SDL_MOUSEWHEEL) {
        const LONG notches =
            event->wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -event->wheel.y : event->wheel.y;
        wheelMotion += notches * kWheelDelta;
    }
    return 1;
}

}  // namespace

void InputSourceOpen() {
    // Once only, however many DirectInput objects come and go.
    SDL_DelEventWatch(WatchEvent, nullptr);
    SDL_AddEventWatch(WatchEvent, nullptr);
}

bool InputSourceHasFocus(HWND window) {
    return window != nullptr && SDL_GetKeyboardFocus() == reinterpret_cast<SDL_Window*>(window);
}

DWORD InputSourceFocusLosses() {
    return focusLosses;
}

void InputSourceReadKeys(BYTE keys[256]) {
    std::memset(keys, 0, 256);
    int count = 0;
    const Uint8* state = SDL_GetKeyboardState(&count);
    for (int scancode = 0; scancode < count; ++scancode) {
        if (state[scancode] != 0) {
            const BYTE dik = SdlScancodeToDik(static_cast<SDL_Scancode>(scancode));
            if (dik != 0) {
                keys[dik] = 0x80;
            }
        }
    }
}

void InputSourceTakeMouse(DIMOUSESTATE* state) {
    int x = 0;
    int y = 0;
    const Uint32 buttons = SDL_GetRelativeMouseState(&x, &y);
    state->lX = x;
    state->lY = y;
    state->lZ = wheelMotion;
    wheelMotion = 0;
    // DirectInput numbers the buttons left, right, middle, then the side buttons.
    state->rgbButtons[0] = (buttons & SDL_BUTTON_LMASK) != 0 ? 0x80 : 0;
    state->rgbButtons[1] = (buttons & SDL_BUTTON_RMASK) != 0 ? 0x80 : 0;
    state->rgbButtons[2] = (buttons & SDL_BUTTON_MMASK) != 0 ? 0x80 : 0;
    state->rgbButtons[3] = (buttons & SDL_BUTTON_X1MASK) != 0 ? 0x80 : 0;
}

void InputSourceHidePointer(bool hidden) {
    SDL_ShowCursor(hidden ? SDL_DISABLE : SDL_ENABLE);
}
