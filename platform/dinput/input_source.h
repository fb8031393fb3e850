// Where the DirectInput objects of the builds without Windows get their input: one implementation
// per build, chosen at link time (SDL2 for the game, the scripted table for the headless build,
// a scripted double for the platform's own tests).
#pragma once

#include "platform/directinput8.h"

// Called when a DirectInput object is created, so that the source can start watching its events.
void InputSourceOpen();

// Whether `window` has the keyboard focus now: the foreground window of exclusive foreground mode.
bool InputSourceHasFocus(HWND window);

// How many times any window has lost the keyboard focus so far. A device acquired in foreground
// mode is lost when this changes, even if the focus came back before the next read, as Windows
// unacquires it on deactivation.
DWORD InputSourceFocusLosses();

// The 256 key bytes indexed by DIK_ code: 0x80 for a held key, 0 otherwise.
void InputSourceReadKeys(BYTE keys[256]);

// The mouse: motion since the previous call (x, y, wheel in DirectInput's units of 120 per notch)
// and the buttons, 0x80 when held.
void InputSourceTakeMouse(DIMOUSESTATE* state);

// Exclusive use of the mouse hides the pointer over the window while the device is acquired.
void InputSourceHidePointer(bool hidden);
