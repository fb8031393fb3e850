// The input source behind the platform's own DirectInput objects in these tests: which window has
// the focus, which keys are held and how the mouse moved are set by the test.
#pragma once

#include <array>

#include "platform/directinput8.h"

struct ScriptedInput {
    HWND focusWindow = nullptr;
    DWORD focusLosses = 0;
    std::array<bool, 256> held{};
    DIMOUSESTATE mouse{};  // motion waiting to be taken, and the buttons
    bool pointerHidden = false;

    static ScriptedInput& Get();
    void Reset() { *this = ScriptedInput(); }
    void Focus(HWND window) { focusWindow = window; }
    void Unfocus() {
        focusWindow = nullptr;
        ++focusLosses;
    }
};
