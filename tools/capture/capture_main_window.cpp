// skimlark-capture-window: the capture tool's run in the game's own SDL2 window, full screen over
// the desktop as the game is, presenting every frame through the window system. Its presents are
// not held to the refresh, so its frame times are what a frame costs the player's machine,
// presentation included; keys and the clock are scripted as in skimlark-capture, and it takes the
// same options and gives the same outputs and exit codes.
#include <cstdio>
#include <string>
#include <vector>

#include "platform/posix/message_queue.h"
#include "platform/posix/system_clock.h"
#include "platform/sdl/sdl_window.h"
#include "tools/capture/capture_run.h"
#include "tools/capture/gl_capture_host.h"

namespace {

class WindowCaptureHost final : public GlCaptureHost {
public:
    ~WindowCaptureHost() override { SdlDestroyGameWindow(window); }

    HWND Window() override {
        if (window == nullptr) {
            const char* error = "";
            window = SdlCreateGameWindow("Skimlark", 1024, 768, &error);
            if (window == nullptr) {
                std::fprintf(stderr, "skimlark-capture-window: cannot open a window: %s\n", error);
            }
        }
        return window;
    }
    void FixClock(uint32_t milliseconds) override { FixSystemClock(milliseconds); }
    void GameStarted() override {
        if (GlDevice* device = Device()) {
            device->SetPresentPacing(false);
        }
    }
    bool TakeQuitMessage() override {
        // As the game's own loop: one event a pass, and closing the window quits.
        if (SdlPumpOneEvent() == SdlPumpResult::WindowClosed) {
            PostQuitMessage(0);
        }
        return ::TakeQuitMessage(nullptr);
    }

private:
    HWND window = nullptr;
};

}  // namespace

int main(int argc, char** argv) {
    WindowCaptureHost host;
    return RunCapture(std::vector<std::string>(argv + 1, argv + argc), &host);
}
