#include "platform/windows/system_clock.h"

#include "platform/win32.h"

namespace {

bool clockFixed = false;
uint32_t fixedMilliseconds = 0;

typedef DWORD(WINAPI* TimeGetTimeFunction)();

// winmm's own timeGetTime, found at run time since its import is the one replaced below.
TimeGetTimeFunction FindSystemTimeGetTime() {
    HMODULE library = LoadLibraryA("winmm.dll");
    if (library == nullptr) {
        return nullptr;
    }
    return reinterpret_cast<TimeGetTimeFunction>(
        reinterpret_cast<void*>(GetProcAddress(library, "timeGetTime")));
}

DWORD WINAPI ScriptableTimeGetTime() {
    if (clockFixed) {
        return fixedMilliseconds;
    }
    static const TimeGetTimeFunction system = FindSystemTimeGetTime();
    return system != nullptr ? system() : GetTickCount();
}

}  // namespace

// The SDK declares timeGetTime as imported from a DLL, so every call reads this pointer, which
// winmm's import library would otherwise define. Programs that link this file do not link winmm.
extern "C" {
TimeGetTimeFunction __imp_timeGetTime = ScriptableTimeGetTime;
}

void FixSystemClock(uint32_t milliseconds) {
    clockFixed = true;
    fixedMilliseconds = milliseconds;
}

void ReleaseSystemClock() {
    clockFixed = false;
}
