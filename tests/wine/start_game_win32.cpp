// Starts a program as a player would on Windows and checks how its failed start-up is told.
//   start_game.exe detached LINE PROGRAM: as Explorer or a shortcut starts it, with no console and
//     no standard handles: a message box titled "Skimlark" must show LINE; its button is pressed.
//   start_game.exe console LINE PROGRAM: from a console of its own, with nothing redirected: LINE
//     must appear in that console, and no message box may show.
// (With standard error redirected, the --plain checks of run_under_wine.py see the line, and would
// wait in vain for the program's end behind a box.) Both modes also want exit code 1. Exits 0 when
// all holds, 1 otherwise, telling why on the standard output it was started with.
#include <windows.h>

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

// Starts the program and waits for it to end, pressing the button of any message box titled
// "Skimlark" that shows meanwhile. Returns the box's text ("" when none showed) and whether the
// program ended with exit code 1.
bool Run(const char* program, DWORD flags, std::string* boxText) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    std::string commandLine = std::string("\"") + program + "\"";
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, flags, nullptr,
                        nullptr, &startup, &process)) {
        Say("cannot start " + std::string(program) + ", error " + std::to_string(GetLastError()));
        return false;
    }
    CloseHandle(process.hThread);
    const DWORD start = GetTickCount();
    while (WaitForSingleObject(process.hProcess, 50) == WAIT_TIMEOUT) {
        if (GetTickCount() - start > kTimeoutMs) {
            Say("the program did not end");
            TerminateProcess(process.hProcess, 2);
        } else if (HWND box = FindWindowA("#32770", "Skimlark"); box && boxText->empty()) {
            char text[1024] = {};
            GetDlgItemTextA(box, kMessageBoxTextId, text, sizeof(text));
            *boxText = text;
            Say("a message box showed: " + *boxText);
            PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        }
    }
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hProcess);
    Say("exit code " + std::to_string(code));
    return code == 1;
}

// Everything the console shows, its rows end to end, so that a line wrapped at the console's
// width reads whole.
std::string ConsoleText() {
    const HANDLE screen =
        CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, 0, nullptr);
    CONSOLE_SCREEN_BUFFER_INFO info = {};
    std::string text;
    if (screen != INVALID_HANDLE_VALUE && GetConsoleScreenBufferInfo(screen, &info)) {
        const DWORD width = static_cast<DWORD>(info.dwSize.X);
        std::string row(width, ' ');
        for (SHORT y = 0; y < info.dwSize.Y; ++y) {
            DWORD read = 0;
            ReadConsoleOutputCharacterA(screen, row.data(), width, COORD{0, y}, &read);
            text.append(row, 0, read);
        }
        CloseHandle(screen);
    }
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    // Kept apart from the console handles that AllocConsole puts in its place.
    DuplicateHandle(GetCurrentProcess(), GetStdHandle(STD_OUTPUT_HANDLE), GetCurrentProcess(),
                    &report, 0, FALSE, DUPLICATE_SAME_ACCESS);
    const std::string mode = argc == 4 ? argv[1] : "";
    if (mode != "detached" && mode != "console") {
        Say("usage: start_game.exe detached|console LINE PROGRAM");
        return 2;
    }
    const std::string line = argv[2];
    // Explorer has no console the program could attach to; a console of our own stands for the
    // one a player types in.
    FreeConsole();
    if (mode == "console" && !AllocConsole()) {
        Say("cannot make a console");
        return 1;
    }
    std::string boxText;
    bool held = Run(argv[3], mode == "detached" ? DETACHED_PROCESS : 0, &boxText);
    if (mode == "detached") {
        held = held && boxText == line;
    } else {
        const bool shown = ConsoleText().find(line) != std::string::npos;
        Say(shown ? "the console shows the line" : "the console does not show the line");
        held = held && boxText.empty() && shown;
    }
    Say(held ? "as expected" : "not as expected");
    return held ? 0 : 1;
}
