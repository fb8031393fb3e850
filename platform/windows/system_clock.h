// The millisecond clock behind timeGetTime in the Windows capture tool, with the interface of the
// other builds' clock: fixed for captures, otherwise winmm's own. Linking system_clock.cpp
// replaces winmm's import of timeGetTime for the whole program, so the game needs no change.
#pragma once

#include <cstdint>

void FixSystemClock(uint32_t milliseconds);
void ReleaseSystemClock();
