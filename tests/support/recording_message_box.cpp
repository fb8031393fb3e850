// MessageBoxA for unit tests: the call is logged, nothing is shown.
#include "platform/win32.h"
#include "tests/support/call_log.h"

int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    CallLog::Get().Record("MessageBoxA", {owner == nullptr ? "null" : "window", ArgOf(text),
                                          ArgOf(caption), ArgOf(type)});
    return IDOK;
}
