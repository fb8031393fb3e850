// The game as the Linux entry runs it (SDL2 window, event pump, the real keyboard through the
// DirectInput layer), with one addition for the display checks: after every drawn frame it
// appends the player's state and the camera's placement to a CSV file, so a check can tell how
// real key presses moved the view. Usage: traced_game TRACE.csv [--virtual-pad]
// With --virtual-pad a game pad is plugged in, as SDL's virtual joystick, holding A and the d-pad's
// right from the start: the player circles with no key held, so a trace shows the pad is read.
#include <SDL.h>

#include <cstdio>
#include <cstring>

#include "app/game_app.h"
#include "platform/posix/message_queue.h"
#include "platform/sdl/sdl_window.h"
#include "tests/support/player_trace.h"

namespace {

GameApp game;

bool PlugInAPadHoldingAAndRight() {
    if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) != 0) {
        return false;
    }
    const int index = SDL_JoystickAttachVirtual(
        SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX, SDL_CONTROLLER_BUTTON_MAX, 0);
    SDL_Joystick* pad = index >= 0 ? SDL_JoystickOpen(index) : nullptr;
    return pad != nullptr &&
           SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_A, SDL_PRESSED) == 0 &&
           SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_DPAD_RIGHT, SDL_PRESSED) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    const bool withPad = argc == 3 && std::strcmp(argv[2], "--virtual-pad") == 0;
    if (argc != 2 && !withPad) {
        std::fprintf(stderr, "usage: traced_game TRACE.csv [--virtual-pad]\n");
        return 2;
    }
    std::FILE* trace = std::fopen(argv[1], "w");
    if (trace == nullptr) {
        std::fprintf(stderr, "traced_game: cannot write %s\n", argv[1]);
        return 2;
    }
    WritePlayerTraceHeader(trace);

    const char* error = "";
    HWND window = SdlCreateGameWindow("Skimlark", 1024, 768, &error);
    if (window == nullptr || !game.Init(window)) {
        std::fprintf(stderr, "traced_game: start-up failed\n");
        return 1;
    }
    if (withPad && !PlugInAPadHoldingAAndRight()) {
        std::fprintf(stderr, "traced_game: cannot plug in a virtual pad: %s\n", SDL_GetError());
        return 1;
    }
    int exitCode = 0;
    int frame = 0;
    for (;;) {
        const SdlPumpResult pumped = SdlPumpOneEvent();
        if (pumped == SdlPumpResult::WindowClosed) {
            PostQuitMessage(0);
        } else if (pumped == SdlPumpResult::NoEvent && TakeQuitMessage(&exitCode)) {
            break;
        }
        // Only frames that were drawn: a skipped frame (no input) moved nothing.
        if (SUCCEEDED(game.Frame())) {
            WritePlayerTraceRow(trace, game, ++frame);
        } else {
            SdlWaitForEvent(window);
        }
    }
    game.Shutdown();
    SdlDestroyGameWindow(window);
    std::fclose(trace);
    return exitCode;
}
