// DirectInput 8 as the game sees it: the SDK's header on Windows, our declarations elsewhere.
#pragma once

#include "platform/win32.h"

#ifndef DIRECTINPUT_VERSION
#define DIRECTINPUT_VERSION 0x0800
#endif

#ifdef _WIN32
#include <dinput.h>
#else
#include "platform/decl/dinput8_decl.h"
#endif
