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

// Waits until the process has an event, leaving it in the queue, or until about one refresh
// period of the window's display has passed: what the loop does, rather than spin, while it has
// no frame to draw (the window minimised or in the background).
void SdlWaitForEvent(HWND window);
