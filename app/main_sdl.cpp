// The Linux entry point: finds the game's data, opens an SDL2 window and runs a non-blocking event
// pump that runs one game frame per pass, handling at most one event per pass, until the quit
// message arrives. While frames are skipped (the window minimised or in the background) each pass
// first waits for the next event rather than spin: in the background a slot of the game's pace at
// most, minimised for as long as it takes. A start-up that
// fails says why in one line and ends with exit code 1.
#include <cstdio>

#include "app/game_app.h"
#include "app/startup_failure.h"
#include "platform/data_directory.h"
#include "platform/posix/message_queue.h"
#include "platform/sdl/sdl_window.h"

int main(int, char**) {
    if (!EnterDataDirectory()) {
        std::fprintf(stderr, "skimlark: %s\n", kNoDataDirectory);
        return 1;
    }
    const char* error = "";
    HWND window = SdlCreateGameWindow("Skimlark", 1024, 768, &error);
    if (window == nullptr) {
        std::fprintf(stderr, "skimlark: cannot open a window: %s\n", error);
        return 1;
    }
    if (!gameApp.Init(window)) {
        std::fprintf(stderr, "skimlark: %s\n",
                     DescribeStartupFailure(gameApp.FailedStep(), LastContentFailure()).c_str());
        // What Init made is released by the members' destructors at exit, as on Windows.
        return 1;
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
        // A skipped frame (no input in the background) draws nothing: rest until something
        // happens or, unless minimised, the next slot, when the game tries again.
        if (FAILED(gameApp.Frame())) {
            SdlWaitForEvent(window);
        }
    }
    gameApp.Shutdown();
    SdlDestroyGameWindow(window);
    return exitCode;
}
