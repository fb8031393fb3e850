#include "platform/windows/failure_report.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {

// A console, a file or a pipe; not the null handle a program of the Windows subsystem gets when
// nothing is set up for it.
bool StandardErrorLeadsSomewhere() {
    const HANDLE handle = GetStdHandle(STD_ERROR_HANDLE);
    return handle != nullptr && handle != INVALID_HANDLE_VALUE &&
           GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

// Started from a console without redirection, the program is not attached to that console:
// attach for as long as it takes to write the line there.
bool WriteToParentConsole(const char* line) {
    if (!AttachConsole(ATTACH_PARENT_PROCESS)) {
        return false;
    }
    const HANDLE console = CreateFileA("CONOUT$", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                       nullptr, OPEN_EXISTING, 0, nullptr);
    bool written = false;
    if (console != INVALID_HANDLE_VALUE) {
        DWORD count = 0;
        written =
            WriteFile(console, line, static_cast<DWORD>(std::strlen(line)), &count, nullptr) &&
            WriteFile(console, "\r\n", 2, &count, nullptr);
        CloseHandle(console);
    }
    FreeConsole();
    return written;
}

}  // namespace

void ReportFailureLine(const char* line) {
    if (StandardErrorLeadsSomewhere()) {
        std::fprintf(stderr, "%s\n", line);
        std::fflush(stderr);
        return;
    }
    if (WriteToParentConsole(line)) {
        return;
    }
    MessageBoxA(nullptr, line, "Skimlark", MB_OK | MB_ICONERROR);
}
