// SDL2 scancodes (physical key positions) to DirectInput key codes, which also name positions.
#pragma once

#include <SDL_scancode.h>

#include "platform/directinput8.h"

// The DIK_ code of the key at `scancode`; 0 for a key DirectInput has no code for.
BYTE SdlScancodeToDik(SDL_Scancode scancode);
