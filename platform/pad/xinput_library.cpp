// The game's XInput: the newest of the system's XInput libraries, loaded when the game starts, so
// that the game still runs (keyboard only) on a system that has none of them.
#include "platform/pad/xinput_source.h"

namespace {

// Newest first: 1.4 ships with Windows 8 and later, 1.3 with the DirectX runtime, 9.1.0 with
// Windows Vista and 7.
const char* const kLibraries[] = {"xinput1_4.dll", "xinput1_3.dll", "xinput9_1_0.dll"};

HMODULE library = nullptr;

}  // namespace

XInputGetStateFunction XInputSourceOpen() {
    XInputSourceClose();
    for (const char* name : kLibraries) {
        library = LoadLibraryA(name);
        if (library == nullptr) {
            continue;
        }
        const auto getState = reinterpret_cast<XInputGetStateFunction>(
            reinterpret_cast<void*>(GetProcAddress(library, "XInputGetState")));
        if (getState != nullptr) {
            return getState;
        }
        FreeLibrary(library);
        library = nullptr;
    }
    return nullptr;
}

void XInputSourceClose() {
    if (library != nullptr) {
        FreeLibrary(library);
        library = nullptr;
    }
}
