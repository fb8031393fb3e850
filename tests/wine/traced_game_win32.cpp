// The game as the Windows entry runs it (window class, window procedure, message pump, real
// Direct3D 8 and DirectInput 8), with one addition for the checks under Wine: after every drawn
// frame it appends the player's state and the camera's placement to a CSV file, so that a check
// can tell how real key presses moved the view. Usage: traced_game.exe TRACE.csv
#include <cstdio>
#include <cstdlib>

#include "app/game_app.h"
#include "platform/win32.h"

namespace {

GameApp game;

LRESULT CALLBACK WindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    if (message == WM_PAINT) {
        PAINTSTRUCT paint;
        BeginPaint(hwnd, &paint);
        EndPaint(hwnd, &paint);
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

void WriteRow(std::FILE* trace, int frame) {
    D3DXVECTOR3 position;
    float yaw = 0.0f;
    int forward = 0;
    int left = 0;
    int right = 0;
    game.GetInput().GetState(&position, &yaw, &forward, &left, &right);
    const D3DXVECTOR3 camera = game.GetCamera().GetPosition();
    std::fprintf(trace, "%d,%.4f,%.4f,%.4f,%.4f,%.4f,%.4f,%.4f,%.5f\n", frame, position.x,
                 position.y, position.z, yaw, camera.x, camera.y, camera.z,
                 game.GetCamera().GetRotation().y);
    std::fflush(trace);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    if (__argc != 2) {
        return 2;
    }
    std::FILE* trace = std::fopen(__argv[1], "w");
    if (trace == nullptr) {
        return 2;
    }
    std::fprintf(trace, "frame,x,y,z,yaw,camera_x,camera_y,camera_z,camera_yaw\n");
    std::fflush(trace);

    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof(WNDCLASSEXA);
    windowClass.style = CS_CLASSDC;
    windowClass.lpfnWndProc = WindowProcedure;
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
            WriteRow(trace, ++frame);
        }
    }
    game.Shutdown();
    std::fclose(trace);
    return static_cast<int>(msg.wParam);
}
