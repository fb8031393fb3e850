// The DirectInput objects' input in the headless build: the scripted key table, a window that is
// always in the foreground, and a mouse that never moves. The game's devices still need a non-null
// window handle (any value serves), as foreground mode refuses a null one.
#include <cstring>

#include "platform/dinput/input_source.h"
#include "platform/scripted_keyboard.h"

void InputSourceOpen() {}

bool InputSourceHasFocus(HWND) {
    return true;
}

DWORD InputSourceFocusLosses() {
    return 0;
}

void InputSourceReadKeys(BYTE keys[256]) {
    for (int code = 0; code < 256; ++code) {
        keys[code] = ScriptedKeyboardHeld(static_cast<BYTE>(code)) ? 0x80 : 0;
    }
}

void InputSourceTakeMouse(DIMOUSESTATE* state) {
    std::memset(state, 0, sizeof(*state));
}

void InputSourceHidePointer(bool) {}
