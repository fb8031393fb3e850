#include "platform/posix/system_clock.h"

#include <time.h>

#include "platform/win32.h"

namespace {

bool clockFixed = false;
uint32_t fixedMilliseconds = 0;

}  // namespace

void FixSystemClock(uint32_t milliseconds) {
    clockFixed = true;
    fixedMilliseconds = milliseconds;
}

void ReleaseSystemClock() {
    clockFixed = false;
}

DWORD WINAPI timeGetTime() {
    if (clockFixed) {
        return fixedMilliseconds;
    }
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    // Truncation to 32 bits makes it wrap after about 49.7 days, as timeGetTime does.
    const uint64_t milliseconds =
        static_cast<uint64_t>(now.tv_sec) * 1000u + static_cast<uint64_t>(now.tv_nsec) / 1000000u;
    return static_cast<DWORD>(milliseconds);
}
