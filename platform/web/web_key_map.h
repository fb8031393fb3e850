// The browser's physical key names (KeyboardEvent.code) as DirectInput key codes.
#pragma once

#include "platform/win32.h"

// The DIK_ code of a key the game reads, 0 for any other (left to the page).
BYTE WebKeyCodeToDik(const char* code);
