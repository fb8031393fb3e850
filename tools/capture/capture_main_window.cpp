// skimlark-capture-window: the capture tool's run in the game's own SDL2 window, full screen over
// the desktop as the game is, presenting every frame through the window system. Its presents are
// not held to the refresh (it asks for D3DPRESENT_INTERVAL_IMMEDIATE), so its frame times are what
// a frame costs the player's machine, presentation included, unless --paced keeps the game's own
// pace; keys and the clock are scripted as in skimlark-capture, and it takes the
// same options and gives the same outputs and exit codes.
#include <cstdio>
#include <string>
#include <vector>

#include "platform/posix/message_queue.h"
#include "platform/posix/system_clock.h"
#include "platform/sdl/sdl_window.h"
#include "tools/capture/capture_run.h"
#include "tools/capture/gl_capture_host.h"
#include "tools/capture/stage_timing_direct3d.h"

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
    bool CanPace() const override { return true; }
    void UseGamePacing() override { StageTimingDirect3D::KeepGamePacing(true); }
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
