// The Windows entry point: finds the game's data, registers the window class, creates the one
// 1024 x 768 window, starts the game and runs a message pump that never blocks, handling at most
// one message per pass and running one game frame on every pass until the quit message arrives.
#include <cstdio>

#include "app/game_app.h"
#include "app/game_window_win32.h"
#include "app/skimlark_resources.h"
#include "app/startup_failure.h"
#include "platform/data_directory.h"
#include "platform/win32.h"

namespace {

HINSTANCE instance = nullptr;
HWND mainWindow = nullptr;

}  // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int) {
    instance = hInstance;
    // A shortcut or a console may start the game in any folder; its data\ sits beside it.
    if (!EnterDataDirectory()) {
        std::fprintf(stderr, "skimlark: %s\n", kNoDataDirectory);
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
    // Failures are told on the standard error stream (seen when started from a console), never
    // in a message box: the level's own box is the only one the game shows.
    if (mainWindow == nullptr) {
        std::fprintf(stderr, "skimlark: cannot create the window\n");
        return 1;
    }
    if (!gameApp.Init(mainWindow)) {
        std::fprintf(stderr, "skimlark: %s\n",
                     DescribeStartupFailure(gameApp.FailedStep(), LastContentFailure()).c_str());
        return 1;
    }

    MSG msg;
    for (;;) {
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                break;
            }
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        // No sleep or wait: presentation paces the loop.
        gameApp.Frame();
    }
    gameApp.Shutdown();
    return static_cast<int>(msg.wParam);
}
