// Starts a program as a player would on Windows and checks how its failed start-up is told.
//   start_game.exe detached LINE PROGRAM: as Explorer or a shortcut starts it, with no console and
//     no standard handles: a message box titled "Skimlark" must show LINE; its button is pressed.
//   start_game.exe redirected LINE PROGRAM: standard error into a pipe: LINE must be the last line
//     written there, and no message box may show.
//   start_game.exe console LINE PROGRAM: from a console of its own, with nothing redirected: LINE
//     must appear in that console, and no message box may show.
// Every mode also wants exit code 1. Exits 0 when all holds, 1 otherwise, telling why on the
// standard output it was started with.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

const DWORD kTimeoutMs = 60000;
// The static text of a message box.
const int kMessageBoxTextId = 0xFFFF;

HANDLE report = INVALID_HANDLE_VALUE;

void Say(const std::string& text) {
    const std::string line = "start_game: " + text + "\n";
    DWORD written = 0;
    WriteFile(report, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

HWND FindBox() {
    return FindWindowA("#32770", "Skimlark");
}

bool Start(const char* program, DWORD flags, STARTUPINFOA* startup, bool inherit,
           PROCESS_INFORMATION* process) {
    std::string commandLine = std::string("\"") + program + "\"";
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, inherit, flags, nullptr,
                        nullptr, startup, process)) {
        Say("cannot start " + std::string(program) + ", error " + std::to_string(GetLastError()));
        return false;
    }
    CloseHandle(process->hThread);
    return true;
}

// Waits for the program to end without a message box ever showing.
bool EndsWithoutBox(HANDLE process) {
    const DWORD start = GetTickCount();
    while (WaitForSingleObject(process, 50) == WAIT_TIMEOUT) {
        if (HWND box = FindBox()) {
            Say("a message box showed");
            PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            WaitForSingleObject(process, kTimeoutMs);
            return false;
        }
        if (GetTickCount() - start > kTimeoutMs) {
            Say("the program did not end");
            TerminateProcess(process, 2);
            return false;
        }
    }
    return true;
}

bool ExitedWithOne(HANDLE process) {
    DWORD code = 0;
    GetExitCodeProcess(process, &code);
    Say("exit code " + std::to_string(code));
    return code == 1;
}

bool Detached(const char* line, const char* program) {
    // Explorer has no console the program could attach to.
    FreeConsole();
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!Start(program, DETACHED_PROCESS, &startup, false, &process)) {
        return false;
    }
    HWND box = nullptr;
    const DWORD start = GetTickCount();
    while (box == nullptr && GetTickCount() - start < kTimeoutMs &&
           WaitForSingleObject(process.hProcess, 50) == WAIT_TIMEOUT) {
        box = FindBox();
    }
    bool held = box != nullptr;
    if (box == nullptr) {
        Say("no message box titled Skimlark showed");
    } else {
        char text[1024] = {};
        GetDlgItemTextA(box, kMessageBoxTextId, text, sizeof(text));
        Say(std::string("the box says: ") + text);
        held = std::strcmp(text, line) == 0;
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    }
    if (WaitForSingleObject(process.hProcess, kTimeoutMs) != WAIT_OBJECT_0) {
        Say("the program did not end");
        TerminateProcess(process.hProcess, 2);
        held = false;
    }
    held = ExitedWithOne(process.hProcess) && held;
    CloseHandle(process.hProcess);
    return held;
}

bool Redirected(const char* line, const char* program) {
    SECURITY_ATTRIBUTES inheritable = {sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inheritable, 0)) {
        return false;
    }
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nullptr;
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    PROCESS_INFORMATION process = {};
    const bool started = Start(program, 0, &startup, true, &process);
    CloseHandle(writeEnd);
    if (!started) {
        CloseHandle(readEnd);
        return false;
    }
    // The one line fits in the pipe, so the program never waits on it.
    bool held = EndsWithoutBox(process.hProcess);
    std::string written;
    char buffer[512];
    DWORD count = 0;
    while (ReadFile(readEnd, buffer, sizeof(buffer), &count, nullptr) && count > 0) {
        written.append(buffer, count);
    }
    CloseHandle(readEnd);
    while (!written.empty() && (written.back() == '\n' || written.back() == '\r')) {
        written.pop_back();
    }
    const std::string last = written.substr(written.find_last_of('\n') + 1);
    Say("last line on standard error: " + last);
    held = ExitedWithOne(process.hProcess) && held && last == line;
    CloseHandle(process.hProcess);
    return held;
}

bool FromConsole(const char* line, const char* program) {
    FreeConsole();
    if (!AllocConsole()) {
        Say("cannot make a console");
        return false;
    }
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!Start(program, 0, &startup, false, &process)) {
        return false;
    }
    bool held = EndsWithoutBox(process.hProcess);
    held = ExitedWithOne(process.hProcess) && held;
    CloseHandle(process.hProcess);

    // Everything the console shows, its rows end to end, so that a line wrapped at the console's
    // width reads whole.
    const HANDLE screen =
        CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, 0, nullptr);
    CONSOLE_SCREEN_BUFFER_INFO info = {};
    std::string shownText;
    if (screen != INVALID_HANDLE_VALUE && GetConsoleScreenBufferInfo(screen, &info)) {
        const DWORD width = static_cast<DWORD>(info.dwSize.X);
        std::string row(width, ' ');
        for (SHORT y = 0; y < info.dwSize.Y; ++y) {
            DWORD read = 0;
            ReadConsoleOutputCharacterA(screen, row.data(), width, COORD{0, y}, &read);
            shownText.append(row, 0, read);
        }
        CloseHandle(screen);
    }
    const bool shown = shownText.find(line) != std::string::npos;
    Say(shown ? "the console shows the line" : "the console does not show the line");
    return held && shown;
}

}  // namespace

int main(int argc, char** argv) {
    // Kept apart from the console handles that AllocConsole puts in its place.
    DuplicateHandle(GetCurrentProcess(), GetStdHandle(STD_OUTPUT_HANDLE), GetCurrentProcess(),
                    &report, 0, FALSE, DUPLICATE_SAME_ACCESS);
    if (argc != 4) {
        Say("usage: start_game.exe detached|redirected|console LINE PROGRAM");
        return 2;
    }
    const std::string mode = argv[1];
    bool held = false;
    if (mode == "detached") {
        held = Detached(argv[2], argv[3]);
    } else if (mode == "redirected") {
        held = Redirected(argv[2], argv[3]);
    } else if (mode == "console") {
        held = FromConsole(argv[2], argv[3]);
    } else {
        Say("unknown mode " + mode);
        return 2;
    }
    Say(held ? "as expected" : "not as expected");
    return held ? 0 : 1;
}
