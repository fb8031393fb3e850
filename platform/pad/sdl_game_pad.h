// What the SDL2 game pad shares with the capture tool's virtual pad: a way to read that pad alone.
#pragma once

// When set, only virtual controllers are taken: a capture reads its script and never a pad that
// happens to be plugged into the machine it runs on.
void SdlGamePadTakeOnlyVirtual(bool only);
