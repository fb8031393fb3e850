#include "platform/sdl/sdl_window.h"

#include <SDL.h>

#include <cmath>
#include <cstring>
#include <string>

#include "platform/pace/present_pace.h"
#include "platform/sdl/display_rate.h"

namespace {

// Long enough for a window manager to map and focus a new window, short enough not to be felt
// when it never does.
const Uint32 kFocusWaitMs = 2000;

// On Windows a newly shown top-level window is the foreground window at once, and the game
// acquires its keyboard in exclusive foreground mode right after start-up. Here the window
// manager hands the focus over a moment later: wait for it, leaving every event in the queue.
void WaitForKeyboardFocus(SDL_Window* window) {
    SDL_RaiseWindow(window);
    const Uint32 start = SDL_GetTicks();
    while (SDL_GetKeyboardFocus() != window && SDL_GetTicks() - start < kFocusWaitMs) {
        SDL_PumpEvents();
        SDL_Delay(5);
    }
}

// While SDL updates the pads on its own (whenever any of their events is on; the game keeps them
// off) and one is plugged in, its wait polls them every millisecond. Nothing reads them while the
// window is minimised: they are left alone until the wait ends, and the next frame's read
// catches up.
void WaitWithoutPollingPads() {
    const char* setting = SDL_GetHint(SDL_HINT_AUTO_UPDATE_JOYSTICKS);
    const std::string before = setting != nullptr ? setting : "1";
    SDL_SetHintWithPriority(SDL_HINT_AUTO_UPDATE_JOYSTICKS, "0", SDL_HINT_OVERRIDE);
    SDL_WaitEvent(nullptr);
    SDL_SetHintWithPriority(SDL_HINT_AUTO_UPDATE_JOYSTICKS, before.c_str(), SDL_HINT_OVERRIDE);
}

}  // namespace

HWND SdlCreateGameWindow(const char* title, int width, int height, const char** error) {
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        *error = SDL_GetError();
        return nullptr;
    }
    // With no display SDL falls back to drivers that show nothing: a game nobody could see or
    // steer, so it is a failure to open the window.
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver != nullptr &&
        (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0)) {
        *error = "no display (DISPLAY and WAYLAND_DISPLAY name none that can be opened)";
        SDL_Quit();
        return nullptr;
    }
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    // The device draws into its own back buffer; the window only receives the finished frame.
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0);
    StartDisplayRateWatch();
    SDL_Window* window =
        SDL_CreateWindow(title, SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, width, height,
                         SDL_WINDOW_OPENGL | SDL_WINDOW_SHOWN | SDL_WINDOW_RESIZABLE);
    if (window == nullptr) {
        *error = SDL_GetError();
        SDL_Quit();
        return nullptr;
    }
    WatchDisplayRate(window);
    WaitForKeyboardFocus(window);
    return reinterpret_cast<HWND>(window);
}

void SdlDestroyGameWindow(HWND window) {
    if (window != nullptr) {
        StopWatchingDisplayRate();
        SDL_DestroyWindow(reinterpret_cast<SDL_Window*>(window));
    }
    SDL_Quit();
}

SdlPumpResult SdlPumpOneEvent() {
    SDL_Event event;
    if (SDL_PollEvent(&event) == 0) {
        return SdlPumpResult::NoEvent;
    }
    if (event.type == SDL_QUIT ||
        (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_CLOSE)) {
        return SdlPumpResult::WindowClosed;
    }
    return SdlPumpResult::Event;
}

void SdlWaitForEvent(HWND window) {
    SDL_Window* sdlWindow = reinterpret_cast<SDL_Window*>(window);
    // Minimised, nothing can be drawn until the window is back, and restoring it is an event.
    if ((SDL_GetWindowFlags(sdlWindow) & SDL_WINDOW_MINIMIZED) != 0) {
        WaitWithoutPollingPads();
        return;
    }
    // One slot of the game's pace, rounded up: at least a millisecond, so never a poll.
    const double perSecond = ChoosePresentPace(DisplayRefreshHertz(sdlWindow)).presentsPerSecond;
    SDL_WaitEventTimeout(nullptr, static_cast<int>(std::ceil(1000.0 / perSecond)));
}
