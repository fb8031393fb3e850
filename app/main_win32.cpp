// The Windows entry point: registers the window class, creates the one 1024 x 768 window, starts
// the game and runs a message pump that never blocks, handling at most one message per pass and
// running one game frame on every pass until the quit message arrives.
#include "app/game_app.h"
#include "platform/win32.h"

namespace {

HINSTANCE instance = nullptr;
HWND mainWindow = nullptr;

LRESULT CALLBACK WindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        case WM_PAINT: {
            // The frames are drawn by the game loop; the paint request only needs validating.
            PAINTSTRUCT paint;
            BeginPaint(hwnd, &paint);
            EndPaint(hwnd, &paint);
            break;
        }
        default:
            break;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int) {
    instance = hInstance;

    WNDCLASSEXA windowClass;
    windowClass.cbSize = sizeof(WNDCLASSEXA);
    windowClass.style = CS_CLASSDC;
    windowClass.lpfnWndProc = WindowProcedure;
    windowClass.cbClsExtra = 0;
    windowClass.cbWndExtra = 0;
    windowClass.hInstance = instance;
    windowClass.hIcon = nullptr;
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
        return 0;
    }
    if (!gameApp.Init(mainWindow)) {
        return 0;
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
