// The scripted keyboard of the builds that run the game without a player (the headless build, the
// capture tools on every platform, the page's capture mode): whoever drives the game says which
// keys are held before each frame; DirectInput reads them as a foreground window's keyboard would.
#pragma once

#include "platform/win32.h"

void ScriptedKeyboardSetHeld(BYTE dikCode, bool held);
void ScriptedKeyboardReleaseAll();
bool ScriptedKeyboardHeld(BYTE dikCode);
