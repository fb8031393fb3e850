#include "app/game_window_win32.h"

LRESULT CALLBACK GameWindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        case WM_PAINT: {
            PAINTSTRUCT paint;
            BeginPaint(hwnd, &paint);
            EndPaint(hwnd, &paint);
            break;  // and on to the default handling
        }
        default:
            break;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}
