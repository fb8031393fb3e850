// The DirectInput 8 object and the two devices the game opens, the system keyboard and mouse,
// both exclusive to the main window while it is in the foreground. Hands each frame the state of
// all 256 keys and of the mouse, and recovers from a lost keyboard by opening everything again.
// A window that starts without the focus is treated as one that lost it: the devices wait for it.
#pragma once

#include "platform/directinput8.h"
#include "platform/win32.h"

class InputDevices {
public:
    InputDevices();
    ~InputDevices();
    InputDevices(const InputDevices&) = delete;
    InputDevices& operator=(const InputDevices&) = delete;

    // Creates and acquires both devices for `window`; on failure nothing is left open. A window
    // that another one keeps from the focus (a desktop that hands it over late, or withholds it)
    // is no failure: S_OK with nothing open, and Read opens them once the focus comes, as after
    // a focus loss.
    HRESULT Create(HWND window);
    // Fills both buffers. After a recovery, or while the devices are absent, no device state is
    // delivered: both buffers are zeroed (no key held, the mouse still), so a caller never acts
    // on stale bytes.
    HRESULT Read(BYTE keys[256], DIMOUSESTATE* mouse);
    // Unacquires and releases whatever exists; S_OK when nothing does.
    HRESULT Release();

private:
    // Creates and acquires both devices; `atAcquire` tells whether a failure came from acquiring.
    HRESULT Open(bool* atAcquire);
    // Opens the devices again for the stored window; on success the frame has no device state.
    HRESULT Recover(BYTE keys[256], DIMOUSESTATE* mouse);

    IDirectInput8A* directInput;
    IDirectInputDevice8A* keyboard;
    IDirectInputDevice8A* mouse;
    HWND window;
    HRESULT lastResult;
};
