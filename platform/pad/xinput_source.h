// Where the Windows pad reads XInput from, chosen at link time: the system's XInput library,
// loaded when the game starts, or the capture tool's scripted source.
#pragma once

#include "platform/win32.h"

// After windows.h, which it needs.
#include <xinput.h>

// XInputGetState's signature.
typedef DWORD(WINAPI* XInputGetStateFunction)(DWORD userIndex, XINPUT_STATE* state);

// The XInputGetState to read pads with; null when there is none (the keyboard alone steers).
XInputGetStateFunction XInputSourceOpen();
void XInputSourceClose();
