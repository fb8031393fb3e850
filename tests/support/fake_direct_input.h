// The fake DirectInput 8 for unit tests: DirectInput8Create hands out a keyboard and a mouse whose
// state the test sets, every call is logged in the shared CallLog (names "DirectInput8Create",
// "IDirectInput8A::CreateDevice", "IDirectInputDevice8A::Acquire", ... with the device's name,
// "keyboard#1", as first argument) and can be made to fail with CallLog::FailNth. The window's
// focus can be taken away: acquired foreground devices are then lost, as on Windows.
#pragma once

#include <array>

#include "platform/directinput8.h"
#include "tests/support/call_log.h"

struct FakeInput {
    std::array<BYTE, 256> keys;
    DIMOUSESTATE mouse;
    bool focused;

    static FakeInput& Get();
    // No key held, the mouse still, the window in the foreground.
    void Restore();
    // The window goes to the background: every acquired foreground device is lost, and no
    // foreground device can be acquired until FocusWindow.
    void LoseFocus();
    void FocusWindow() { focused = true; }
    // Sets one key's byte (0x80 held, 0 not; any other value as given).
    void SetKey(BYTE code, BYTE value) { keys[code] = value; }
};

// DirectInput objects and devices created by the fake and not yet destroyed.
int FakeInputLiveObjects();
