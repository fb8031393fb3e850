// The Win32 subset the game calls: basic types and results, the quit message, the message box,
// the module handle and the millisecond clock. Windows builds take the SDK's own declarations;
// the other builds take ours, with the same names and values.
#pragma once

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

// mmsystem.h needs windows.h first.
#include <mmsystem.h>
#else
#include "platform/decl/win32_decl.h"
#endif
