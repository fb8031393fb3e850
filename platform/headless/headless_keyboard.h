// The scripted keyboard of the headless build: whoever drives the game (the capture tool, image
// tests) says which keys are held before each frame; DirectInput reads them as a foreground
// window's keyboard would.
#pragma once

#include "platform/win32.h"

void HeadlessSetKeyHeld(BYTE dikCode, bool held);
void HeadlessReleaseAllKeys();
bool HeadlessKeyHeld(BYTE dikCode);
