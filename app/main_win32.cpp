// The Windows entry point: finds the game's data, registers the window class, creates the one
// 1024 x 768 window, starts the game and runs a message pump, handling at most one message per
// pass and running one game frame on every pass until the quit message arrives. It blocks only
// while frames are skipped (the window minimised or in the background, or the device lost): then
// each pass first waits for the next message, a refresh period at most (minimised, however long
// it takes), rather than spin.
#include <string>

#include "app/game_app.h"
#include "app/game_window_win32.h"
#include "app/skimlark_resources.h"
#include "app/startup_failure.h"
#include "platform/data_directory.h"
#include "platform/win32.h"
#include "platform/windows/failure_report.h"

namespace {

HINSTANCE instance = nullptr;
HWND mainWindow = nullptr;

void ReportStartupFailure(const std::string& reason) {
    ReportFailureLine(("skimlark: " + reason).c_str());
}

// The display's refresh period in whole milliseconds, rounded up; 60 Hz where the system leaves
// the rate to the hardware (reported as 0 or 1).
DWORD RefreshPeriodMilliseconds() {
    DEVMODEA mode = {};
    mode.dmSize = sizeof(mode);
    DWORD hertz = 60;
    if (EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode) &&
        mode.dmDisplayFrequency > 1) {
        hertz = mode.dmDisplayFrequency;
    }
    return (1000 + hertz - 1) / hertz;
}

}  // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int) {
    instance = hInstance;
    // A shortcut or a console may start the game in any folder; its data\ sits beside it.
    if (!EnterDataDirectory()) {
        ReportStartupFailure(kNoDataDirectory);
        return 1;
    }

    WNDCLASSEXA windowClass;
    windowClass.cbSize = sizeof(WNDCLASSEXA);
    windowClass.style = CS_CLASSDC;
    windowClass.lpfnWndProc = GameWindowProcedure;
    windowClass.cbClsExtra = 0;
    windowClass.cbWndExtra = 0;
    windowClass.hInstance = instance;
    // The small icon of the title bar and taskbar comes from the same group, at its own size.
    windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(SKIMLARK_ICON_RESOURCE));
    windowClass.hCursor = nullptr;
    windowClass.hbrBackground = nullptr;
    windowClass.lpszMenuName = nullptr;
    windowClass.lpszClassName = "Skimlark";
    windowClass.hIconSm = nullptr;
    RegisterClassExA(&windowClass);

    // WS_VISIBLE shows the window: no ShowWindow or UpdateWindow follows.
    mainWindow = CreateWindowExA(0, "Skimlark", "Skimlark", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                 1024, 768, nullptr, nullptr, instance, nullptr);
    if (mainWindow == nullptr) {
        ReportStartupFailure("cannot create the window");
        return 1;
    }
    if (!gameApp.Init(mainWindow)) {
        ReportStartupFailure(DescribeStartupFailure(gameApp.FailedStep(), LastContentFailure()));
        return 1;
    }
    const DWORD refreshPeriodMs = RefreshPeriodMilliseconds();

    MSG msg;
    for (;;) {
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                break;
            }
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        // In the foreground presentation paces the loop. A skipped frame draws nothing: rest
        // until a message comes or the next refresh, when the game tries again; minimised,
        // until a message comes (restoring the window sends several).
        if (FAILED(gameApp.Frame())) {
            MsgWaitForMultipleObjectsEx(0, nullptr,
                                        IsIconic(mainWindow) ? INFINITE : refreshPeriodMs,
                                        QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        }
    }
    gameApp.Shutdown();
    return static_cast<int>(msg.wParam);
}
