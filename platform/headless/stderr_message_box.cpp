// MessageBoxA in the headless build: nobody can press a button, so the message becomes one line
// on standard error.
#include <cstdio>

#include "platform/win32.h"

int WINAPI MessageBoxA(HWND, LPCSTR text, LPCSTR caption, UINT) {
    std::fprintf(stderr, "message box: %s: %s\n", caption != nullptr ? caption : "",
                 text != nullptr ? text : "");
    return IDOK;
}
