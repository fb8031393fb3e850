// Direct3D 8 as the game sees it: the SDK's header on Windows, our declarations elsewhere.
#pragma once

#include "platform/win32.h"

#ifdef _WIN32
#include <d3d8.h>
#else
#include "platform/decl/d3d8_decl.h"
#endif
