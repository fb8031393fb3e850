// The millisecond clock behind timeGetTime on the builds without Win32: monotonic milliseconds
// since boot as an unsigned 32-bit value that wraps, or a fixed value for captures and tests.
#pragma once

#include <cstdint>

void FixSystemClock(uint32_t milliseconds);
void ReleaseSystemClock();
