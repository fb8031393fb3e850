// MessageBoxA in the Windows capture tool: nobody can press a button there, so, as in the headless
// build, the message becomes one line on standard error instead of a window that waits for ever.
// Like the clock, it replaces the import (user32's other functions stay imported).
#include <cstdio>

#include "platform/win32.h"

namespace {

int WINAPI StderrMessageBox(HWND, LPCSTR text, LPCSTR caption, UINT) {
    std::fprintf(stderr, "message box: %s: %s\n", caption != nullptr ? caption : "",
                 text != nullptr ? text : "");
    return IDOK;
}

}  // namespace

extern "C" {
decltype(&StderrMessageBox) __imp_MessageBoxA = StderrMessageBox;
}
