// skimlark-capture.exe: the capture tool of the Windows build. The same run as on Linux (options,
// outputs, exit codes, timing line, the game's own GameApp), drawing through the system's
// Direct3D 8 with the game's full-screen 1024 x 768 device in a window of its own. Keys come
// from the scripted keyboard through our own DirectInput 8, the pad from a scripted XInput source
// read by the game's own XInput pad, the clock can be fixed, and shots are read from the lockable
// back buffer just before the present (ShotTakingDevice).
#include <string>
#include <vector>

#include "app/game_app.h"
#include "app/game_window_win32.h"
#include "platform/win32.h"
#include "platform/windows/system_clock.h"
#include "tools/capture/capture_run.h"
#include "tools/capture/shot_taking_device.h"

namespace {

// The window is made as the game's entry makes its own, on first use.
class WindowsCaptureHost final : public CaptureHost {
public:
    HWND Window() override {
        if (window != nullptr) {
            return window;
        }
        WNDCLASSEXA windowClass = {};
        windowClass.cbSize = sizeof(WNDCLASSEXA);
        windowClass.style = CS_CLASSDC;
        windowClass.lpfnWndProc = GameWindowProcedure;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "SkimlarkCapture";
        RegisterClassExA(&windowClass);
        window = CreateWindowExA(0, "SkimlarkCapture", "Skimlark capture",
                                 WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 1024, 768, nullptr,
                                 nullptr, windowClass.hInstance, nullptr);
        return window;
    }
    void FixClock(uint32_t milliseconds) override { FixSystemClock(milliseconds); }
    void RequestShot() override {
        if (ShotTakingDevice* device = Device()) {
            device->RequestShot();
        }
    }
    bool TakeShot(std::vector<uint8_t>* rgba, int* width, int* height) override {
        ShotTakingDevice* device = Device();
        return device != nullptr && device->TakeShot(rgba, width, height);
    }
    double ShotMillisecondsInFrame() const override {
        const ShotTakingDevice* device = Device();
        return device != nullptr ? device->ShotMilliseconds() : 0.0;
    }
    // Every waiting message is handled; the quit message comes only once the queue is empty.
    bool TakeQuitMessage() override {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                return true;
            }
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        return false;
    }

private:
    static ShotTakingDevice* Device() {
        return dynamic_cast<ShotTakingDevice*>(gameApp.GetDevice());
    }

    HWND window = nullptr;
};

}  // namespace

int main(int argc, char** argv) {
    WindowsCaptureHost host;
    return RunCapture(std::vector<std::string>(argv + 1, argv + argc), &host);
}
