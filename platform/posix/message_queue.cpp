// PostQuitMessage and GetModuleHandleA for the builds without Win32.
#include "platform/posix/message_queue.h"

#include "platform/win32.h"

namespace {

bool quitPending = false;
int quitCode = 0;

// Any distinct non-null value serves: DirectInput only passes it back to us.
char moduleTag;

}  // namespace

void WINAPI PostQuitMessage(int exitCode) {
    quitPending = true;
    quitCode = exitCode;
}

bool TakeQuitMessage(int* exitCode) {
    if (!quitPending) {
        return false;
    }
    quitPending = false;
    if (exitCode != nullptr) {
        *exitCode = quitCode;
    }
    return true;
}

HMODULE WINAPI GetModuleHandleA(LPCSTR moduleName) {
    if (moduleName != nullptr) {
        return nullptr;
    }
    return reinterpret_cast<HMODULE>(&moduleTag);
}
