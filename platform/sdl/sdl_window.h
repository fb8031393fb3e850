// The game window and its event pump on SDL2, for the Linux entry point.
#pragma once

#include "platform/win32.h"

// Initialises SDL's video and creates a visible window for an OpenGL 3.3 core context, waiting
// briefly for the keyboard focus as a new Windows window is in the foreground at once.
// Returns null (with SDL's reason in *error) when no window can be made.
HWND SdlCreateGameWindow(const char* title, int width, int height, const char** error);
void SdlDestroyGameWindow(HWND window);

enum class SdlPumpResult {
    NoEvent,       // the queue was empty
    Event,         // one event was taken and handled
    WindowClosed,  // one event was taken: the window was closed
};

// Takes at most one pending event without blocking.
SdlPumpResult SdlPumpOneEvent();

// What the loop does, rather than spin, while it has no frame to draw: waits until the process
// has an event, leaving it in the queue; in the background for one slot of the game's pace at
// most, when the game tries again; minimised for as long as it takes.
void SdlWaitForEvent(HWND window);
