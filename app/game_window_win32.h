// The window procedure of the game's window on Windows, shared by the game's entry and the tools
// that open the same window: destroying the window posts the quit message, and paint requests are
// validated (the game loop draws the frames).
#pragma once

#include "platform/win32.h"

LRESULT CALLBACK GameWindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
