// MessageBoxA in the browser: the page shows failures itself, in one line; a message box of the
// game's goes to the console.
#include <cstdio>

#include "platform/win32.h"

int WINAPI MessageBoxA(HWND, LPCSTR text, LPCSTR caption, UINT) {
    std::fprintf(stderr, "message box: %s: %s\n", caption != nullptr ? caption : "",
                 text != nullptr ? text : "");
    return IDOK;
}
