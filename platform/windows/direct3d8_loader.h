// The system's Direct3DCreate8, found at run time: mingw-w64 ships the Direct3D 8 header but no
// import library for d3d8.dll. The game's Direct3DCreate8 calls it directly; the capture tool's
// wraps what it returns.
#pragma once

#include "platform/direct3d8.h"

// Null when the system has no d3d8.dll or it has no Direct3DCreate8.
IDirect3D8* SystemDirect3DCreate8(UINT sdkVersion);
