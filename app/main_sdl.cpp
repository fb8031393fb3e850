// The Linux entry point: an SDL2 window and a non-blocking event pump that runs one game frame
// per pass, handling at most one event per pass, until the quit message arrives.
#include <cstdio>

#include "app/game_app.h"
#include "platform/posix/message_queue.h"
#include "platform/sdl/sdl_window.h"

int main(int, char**) {
    const char* error = "";
    HWND window = SdlCreateGameWindow("Skimlark", 1024, 768, &error);
    if (window == nullptr) {
        std::fprintf(stderr, "skimlark: cannot open a window: %s\n", error);
        return 0;
    }
    if (!gameApp.Init(window)) {
        return 0;
    }

    int exitCode = 0;
    for (;;) {
        const SdlPumpResult pumped = SdlPumpOneEvent();
        if (pumped == SdlPumpResult::WindowClosed) {
            // What the window procedure does on WM_DESTROY.
            PostQuitMessage(0);
        } else if (pumped == SdlPumpResult::NoEvent && TakeQuitMessage(&exitCode)) {
            break;  // the pass that takes the quit message runs no frame
        }
        gameApp.Frame();
    }
    gameApp.Shutdown();
    SdlDestroyGameWindow(window);
    return exitCode;
}
