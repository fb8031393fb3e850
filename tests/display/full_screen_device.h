// The display checks' device: full screen on the game's window as the game makes it (the
// desktop's format, a copy swap, one present a refresh), with a 16-bit depth buffer or none.
#pragma once

#include "platform/direct3d8.h"

// Null, with *d3d null too, when either cannot be made.
IDirect3DDevice8* CreateFullScreenDevice(HWND window, int width, int height, bool withDepth,
                                         IDirect3D8** d3d);
