#include "tests/platform_input/scripted_input_source.h"

#include "platform/dinput/input_source.h"

ScriptedInput& ScriptedInput::Get() {
    static ScriptedInput input;
    return input;
}

void InputSourceOpen() {}

bool InputSourceHasFocus(HWND window) {
    return window != nullptr && window == ScriptedInput::Get().focusWindow;
}

DWORD InputSourceFocusLosses() {
    return ScriptedInput::Get().focusLosses;
}

void InputSourceReadKeys(BYTE keys[256]) {
    for (int code = 0; code < 256; ++code) {
        keys[code] = ScriptedInput::Get().held[code] ? 0x80 : 0;
    }
}

void InputSourceTakeMouse(DIMOUSESTATE* state) {
    DIMOUSESTATE& mouse = ScriptedInput::Get().mouse;
    *state = mouse;
    mouse.lX = 0;
    mouse.lY = 0;
    mouse.lZ = 0;
}

void InputSourceHidePointer(bool hidden) {
    ScriptedInput::Get().pointerHidden = hidden;
}
