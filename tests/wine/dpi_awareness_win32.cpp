// Tells how Windows (here Wine) runs this process with regard to the display's scale: one line,
//   dpi_aware=0|1 awareness=unaware|system|per-monitor|unknown
// from IsProcessDPIAware and the thread's DPI awareness context. Built twice by the Wine checks:
// with the game's application manifest, and without one as the control. The newer calls
// (Windows 10 1607) are looked up at run time, so that the program starts anywhere; without them
// the awareness is "unknown". Exit code 0.
#include <windows.h>

#include <cstdio>

namespace {

using GetContextFunction = DPI_AWARENESS_CONTEXT(WINAPI*)();
using GetAwarenessFunction = DPI_AWARENESS(WINAPI*)(DPI_AWARENESS_CONTEXT);

template <typename Function>
Function Find(HMODULE module, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

const char* AwarenessName(DPI_AWARENESS awareness) {
    switch (awareness) {
        case DPI_AWARENESS_UNAWARE:
            return "unaware";
        case DPI_AWARENESS_SYSTEM_AWARE:
            return "system";
        case DPI_AWARENESS_PER_MONITOR_AWARE:
            return "per-monitor";
        default:
            return "unknown";
    }
}

}  // namespace

int main() {
    HMODULE user32 = GetModuleHandleA("user32.dll");
    auto getContext = Find<GetContextFunction>(user32, "GetThreadDpiAwarenessContext");
    auto getAwareness = Find<GetAwarenessFunction>(user32, "GetAwarenessFromDpiAwarenessContext");

    const char* awareness = "unknown";
    if (getContext != nullptr && getAwareness != nullptr) {
        awareness = AwarenessName(getAwareness(getContext()));
    }
    std::printf("dpi_aware=%d awareness=%s\n", IsProcessDPIAware() ? 1 : 0, awareness);
    return 0;
}
