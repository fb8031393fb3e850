// The game as the Windows entry runs it (window class, window procedure, message pump, real
// Direct3D 8 and DirectInput 8), with one addition for the checks under Wine: after every drawn
// frame it appends the player's state and the camera's placement to a CSV file, so that a check
// can tell how real key presses moved the view. Usage: traced_game.exe TRACE.csv
#include <cstdio>
#include <cstdlib>

#include "app/game_app.h"
#include "app/game_window_win32.h"
#include "platform/win32.h"
#include "tests/support/player_trace.h"

namespace {

GameApp game;

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    if (__argc != 2) {
        return 2;
    }
    std::FILE* trace = std::fopen(__argv[1], "w");
    if (trace == nullptr) {
        return 2;
    }
    WritePlayerTraceHeader(trace);

    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof(WNDCLASSEXA);
    windowClass.style = CS_CLASSDC;
    windowClass.lpfnWndProc = GameWindowProcedure;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = "Skimlark";
    RegisterClassExA(&windowClass);
    HWND window = CreateWindowExA(0, "Skimlark", "Skimlark", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                  1024, 768, nullptr, nullptr, instance, nullptr);
    if (window == nullptr || !game.Init(window)) {
        return 1;
    }
    MSG msg;
    int frame = 0;
    for (;;) {
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                break;
            }
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        // Only frames that were drawn: a skipped frame (no input) moved nothing.
        if (SUCCEEDED(game.Frame())) {
            WritePlayerTraceRow(trace, game, ++frame);
        } else {
            MsgWaitForMultipleObjectsEx(0, nullptr, 17, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        }
    }
    game.Shutdown();
    std::fclose(trace);
    return static_cast<int>(msg.wParam);
}
