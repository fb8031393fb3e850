#include "input/input_devices.h"

#include <gtest/gtest.h>

namespace {

// Lets the system deliver what a change of foreground sends the windows.
void TakeMessages() {
    MSG message;
    for (int pass = 0; pass < 20; ++pass) {
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageA(&message);
        }
        Sleep(10);
    }
}

HWND OpenWindow(const char* title, DWORD style) {
    return CreateWindowExA(0, "STATIC", title, WS_OVERLAPPEDWINDOW | style, 0, 0, 320, 240, nullptr,
                           nullptr, GetModuleHandleA(nullptr), nullptr);
}

// On the real DirectInput 8 a foreground device cannot be acquired while another window is in
// the foreground. A game window that starts there (a desktop that hands the focus over late, or
// withholds it) is not a failed start: its keyboard and mouse are acquired once it comes forward.
TEST(InputDevicesOnDirectInput8, AWindowStartedBehindAnotherTakesItsDevicesOnceInFront) {
    const HWND other = OpenWindow("Elsewhere", WS_VISIBLE);
    const HWND game = OpenWindow("Skimlark", 0);
    ASSERT_NE(other, nullptr);
    ASSERT_NE(game, nullptr);
    ShowWindow(game, SW_SHOWNOACTIVATE);
    SetForegroundWindow(other);
    TakeMessages();
    ASSERT_EQ(GetForegroundWindow(), other);

    InputDevices devices;
    EXPECT_EQ(devices.Create(game), S_OK);
    BYTE keys[256];
    DIMOUSESTATE mouse;
    EXPECT_EQ(devices.Read(keys, &mouse), DIERR_OTHERAPPHASPRIO);

    SetForegroundWindow(game);
    TakeMessages();
    ASSERT_EQ(GetForegroundWindow(), game);
    EXPECT_EQ(devices.Read(keys, &mouse), S_OK);
    EXPECT_EQ(devices.Read(keys, &mouse), S_OK);
    EXPECT_EQ(devices.Release(), S_OK);
    DestroyWindow(game);
    DestroyWindow(other);
}

}  // namespace
